// The display: a windowed DirectDraw 7 screen whose every frame is composed in a 496 x 322
// off-screen back buffer and then copied onto the window's client area; off-screen surfaces
// made from bitmaps, from the demo text or blank; copies with and without the key colour; and
// recovery when the platform takes the surfaces away.
#pragma once

#include <windows.h>

#include <ddraw.h>

#include "DisplayScale.h" // the frame of the client area, the back buffer and the canvas

// Every sprite image and the grid image mark their transparent pixels in pure yellow.
constexpr COLORREF kColorKey = RGB(255, 255, 0);

// What CreateSurfaceFromImage answers for a picture file that is missing or damaged, as opposed
// to one that could not be loaded.
constexpr HRESULT kPictureMissing =
    static_cast<HRESULT>(MAKE_HRESULT(SEVERITY_ERROR, FACILITY_WIN32, ERROR_FILE_NOT_FOUND));

// The only text surface the program makes.
constexpr char kDemoModeText[] = "<Demo Mode>";

// What the test-only fault switch makes the display report, as a real desktop does: surfaces
// lost once, or lost to a change of the display mode, which the DirectDraw object that made
// them never gets over; the restore notices it, or already the cooperative-level test.
enum TestSurfaceLoss : int {
    kTestNoLoss = -1,
    kTestSurfacesLost = 0,
    kTestModeChangedAtRestore = 1,
    kTestModeChangedAtTest = 2,
};

class CSurface {
public:
    CSurface();
    ~CSurface();
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;

    HRESULT Create(IDirectDraw7* pDirectDraw, DDSURFACEDESC2* pDesc);
    HRESULT CopyBitmap(HBITMAP hBitmap);
    HRESULT RenderText();
    // `color` in this surface's pixel format, as GDI stores it there.
    DWORD ColorToPixel(COLORREF color);
    HRESULT SetSourceColorKey();

    IDirectDrawSurface7* GetDDrawSurface() const { return m_pddsSurface; }
    LONG Width() const { return static_cast<LONG>(m_surfaceDesc.dwWidth); }
    LONG Height() const { return static_cast<LONG>(m_surfaceDesc.dwHeight); }

private:
    IDirectDrawSurface7* m_pddsSurface;
    DDSURFACEDESC2 m_surfaceDesc;
};

// The system has no DirectDraw 7: DirectX 7 or later is missing.
constexpr HRESULT kNoDirectDraw7 = E_NOINTERFACE;

class CDisplay {
public:
    CDisplay();
    virtual ~CDisplay();
    CDisplay(const CDisplay&) = delete;
    CDisplay& operator=(const CDisplay&) = delete;

    virtual HRESULT ReleaseObjects();

    // kNoDirectDraw7 when the system has no DirectDraw 7.
    HRESULT CreateWindowedDisplay(HWND hWnd);
    // Shows the frame at the scale for `dpi` on the monitor nearest to `area` and gives the
    // window its size for that scale at the top-left corner of `area`, moved as far as needed
    // to lie inside that monitor's work area.
    void FitWindowToDpi(UINT dpi, const RECT& area);
    HRESULT RefreshWindowRect();
    // A blank surface the size of the back buffer.
    HRESULT CreateSurface(CSurface** ppSurface);
    // `name` is a path or a numeric resource identifier; a width and height of 0 keep the
    // bitmap's own size, other values stretch it. kPictureMissing for a missing or damaged file.
    HRESULT CreateSurfaceFromImage(CSurface** ppSurface, LPCSTR name, DWORD width, DWORD height);
    HRESULT CreateSurfaceFromText(CSurface** ppSurface);
    HRESULT PresentBackBuffer();
    // DD_OK when lost surfaces can be restored; DDERR_EXCLUSIVEMODEALREADYSET while another
    // program holds the display; DDERR_WRONGMODE once the display mode has changed, when only
    // a new display helps.
    HRESULT TestCooperativeLevel();
    HRESULT RestoreAllSurfaces();
    // Test-only fault switch: the present after the next `presentsBefore` reports the surfaces
    // lost, in the way `loss` says.
    void LoseSurfacesAtPresent(TestSurfaceLoss loss, int presentsBefore) {
        m_testLoss = loss;
        m_testPresentsBeforeLoss = presentsBefore;
    }
    // Copies `pSource` (or its `pSourceRect` part) onto the back buffer with its top-left
    // corner at (x, y); without a source rectangle the whole source covers the whole buffer.
    HRESULT BlitToBackBuffer(LONG x, LONG y, CSurface* pSource, const RECT* pSourceRect,
                             DWORD flags);

    // Every pixel of the back buffer is shown as a block of Scale() x Scale() pixels.
    int Scale() const { return m_scale; }
    IDirectDrawSurface7* GetPrimarySurface() const { return m_pddsPrimary; }
    IDirectDrawSurface7* GetBackBuffer() const { return m_pddsBackBuffer; }

private:
    void FitWindowToBackBuffer(HWND hWnd);
    void FitRestoredPlacement(HWND hWnd);
    SIZE ApplyScale(HWND hWnd, UINT dpi, const RECT& area);
    HRESULT CreatePrimaryWithClipper(HWND hWnd);
    HRESULT CreateBackBuffer();
    HRESULT CopyBackBufferToWindow();
    HRESULT ScaleBackBuffer();
    bool TestLossDue();

    IDirectDraw7* m_pDirectDraw;
    IDirectDrawSurface7* m_pddsPrimary;
    IDirectDrawSurface7* m_pddsBackBuffer;
    HWND m_hWindow;
    RECT m_windowRect;
    BOOL m_windowed;
    TestSurfaceLoss m_testLoss;
    int m_testPresentsBeforeLoss;
    int m_scale;
    // The back buffer with every pixel made a block of m_scale x m_scale; none at scale 1.
    IDirectDrawSurface7* m_pddsScaled;
};

// Holds a surface's GDI device context for one scope. While it is held the surface must not
// be copied to or from.
class CSurfaceDC {
public:
    explicit CSurfaceDC(IDirectDrawSurface7* pddsTarget);
    ~CSurfaceDC();
    CSurfaceDC(const CSurfaceDC&) = delete;
    CSurfaceDC& operator=(const CSurfaceDC&) = delete;

    HDC Get() const { return m_hDC; }
    HRESULT Result() const { return m_hr; }

private:
    HDC m_hDC;
    HRESULT m_hr;
    IDirectDrawSurface7* m_pddsTarget;
};

// "%s (Error 0x%08lX)." in a box without owner, caption "Message".
void ShowErrorMessage(const char* text, HRESULT hr);
