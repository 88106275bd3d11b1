#include "ddutil.h"

#include "BitmapFile.h"
#include "Dpi.h"
#include "SafeFile.h"

#include <cstdio>
#include <cstring>

namespace {

// Style bits the display sets on the main window: a caption, a sizing frame (kept at a fixed
// size by the window procedure) and a minimise box; a popup style is cleared.
constexpr LONG kStyleKeepMask = 0x7F39FFFF;
constexpr LONG kStyleSet = 0x00C60000;

// DirectDrawCreateEx came with DirectX 7, which Windows 95 and 98 may lack: it is looked up in
// the ddraw.dll that the system loads for the program, once, and the library stays loaded for
// the life of the process. Null when there is no such library or function.
decltype(&DirectDrawCreateEx) FindDirectDrawCreateEx() {
    static const HMODULE hDirectDraw = LoadLibraryA("ddraw.dll");
    return hDirectDraw ? reinterpret_cast<decltype(&DirectDrawCreateEx)>(reinterpret_cast<void*>(
                             GetProcAddress(hDirectDraw, "DirectDrawCreateEx")))
                       : nullptr;
}

template <typename T> void Release(T*& p) {
    if (p) {
        p->Release();
        p = nullptr;
    }
}

DDSURFACEDESC2 SurfaceDesc(DWORD flags, DWORD caps, DWORD width, DWORD height) {
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = flags;
    desc.ddsCaps.dwCaps = caps;
    desc.dwWidth = width;
    desc.dwHeight = height;
    return desc;
}

// Asks for video memory first, so that copies run in hardware, then settles for any memory.
HRESULT CreateOffscreenSurface(IDirectDraw7* pDirectDraw, DWORD width, DWORD height,
                               CSurface** ppSurface) {
    const DWORD flags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    DDSURFACEDESC2 desc =
        SurfaceDesc(flags, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, width, height);
    *ppSurface = new CSurface;
    HRESULT hr = (*ppSurface)->Create(pDirectDraw, &desc);
    if (FAILED(hr)) {
        delete *ppSurface;
        *ppSurface = new CSurface;
        desc = SurfaceDesc(flags, DDSCAPS_OFFSCREENPLAIN, width, height);
        hr = (*ppSurface)->Create(pDirectDraw, &desc);
    }
    if (FAILED(hr)) {
        delete *ppSurface;
        *ppSurface = nullptr;
    }
    return hr;
}

// Reads the file's start and size for the header check; an unreadable file fails it.
bool IsWholeBitmapFileAt(LPCSTR path) {
    uint64_t fileSize = 0;
    if (!QueryFileSize(path, &fileSize)) {
        return false;
    }
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        return false;
    }
    uint8_t head[kBitmapHeadBytes];
    const size_t headSize = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    return IsWholeBitmapFile(head, headSize, fileSize);
}

// A damaged image file is treated as a missing one: the loader would read past its end.
HBITMAP LoadBitmapSection(LPCSTR name, DWORD width, DWORD height) {
    const int cx = static_cast<int>(width);
    const int cy = static_cast<int>(height);
    auto hBitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, cx, cy, LR_CREATEDIBSECTION));
    if (!hBitmap && !IS_INTRESOURCE(name) && IsWholeBitmapFileAt(name)) {
        hBitmap = static_cast<HBITMAP>(
            LoadImageA(nullptr, name, IMAGE_BITMAP, cx, cy, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    }
    return hBitmap;
}

SIZE MeasureDemoModeText() {
    SIZE size = {};
    HDC hdc = GetDC(nullptr);
    GetTextExtentPoint32A(hdc, kDemoModeText, static_cast<int>(sizeof kDemoModeText - 1), &size);
    ReleaseDC(nullptr, hdc);
    return size;
}

// One row of the back buffer with every pixel (of `Bytes` bytes) repeated `scale` times.
template <size_t Bytes> void ScaleRow(const BYTE* in, BYTE* out, int scale) {
    for (int x = 0; x < WINDOW_WIDTH; ++x, in += Bytes) {
        for (int k = 0; k < scale; ++k, out += Bytes) {
            std::memcpy(out, in, Bytes);
        }
    }
}

// Every pixel of the locked back buffer `from` becomes a block of scale x scale pixels of the
// locked surface `to`.
void ScalePixels(const DDSURFACEDESC2& from, const DDSURFACEDESC2& to, int scale) {
    const DWORD bytes = from.ddpfPixelFormat.dwRGBBitCount / 8;
    const size_t scaledRow = bytes * WINDOW_WIDTH * static_cast<size_t>(scale);
    for (int y = 0; y < WINDOW_HEIGHT; ++y) {
        const auto* in = static_cast<const BYTE*>(from.lpSurface) + y * from.lPitch;
        auto* out = static_cast<BYTE*>(to.lpSurface) + y * scale * to.lPitch;
        switch (bytes) {
        case 1:
            ScaleRow<1>(in, out, scale);
            break;
        case 2:
            ScaleRow<2>(in, out, scale);
            break;
        case 3:
            ScaleRow<3>(in, out, scale);
            break;
        default:
            ScaleRow<4>(in, out, scale);
            break;
        }
        for (int k = 1; k < scale; ++k) {
            std::memcpy(out + k * to.lPitch, out, scaledRow);
        }
    }
}

} // namespace

// --- CSurface

CSurface::CSurface() : m_pddsSurface(nullptr), m_surfaceDesc() {
    m_surfaceDesc.dwSize = sizeof m_surfaceDesc;
}

CSurface::~CSurface() {
    Release(m_pddsSurface);
}

HRESULT CSurface::Create(IDirectDraw7* pDirectDraw, DDSURFACEDESC2* pDesc) {
    HRESULT hr = pDirectDraw->CreateSurface(pDesc, &m_pddsSurface, nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    m_surfaceDesc = {};
    m_surfaceDesc.dwSize = sizeof m_surfaceDesc;
    m_pddsSurface->GetSurfaceDesc(&m_surfaceDesc);
    return S_OK;
}

HRESULT CSurface::CopyBitmap(HBITMAP hBitmap) {
    if (!hBitmap || !m_pddsSurface) {
        return E_INVALIDARG;
    }
    HRESULT hr = m_pddsSurface->Restore();
    if (FAILED(hr)) {
        return hr;
    }
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    m_pddsSurface->GetSurfaceDesc(&desc);
    if (desc.ddpfPixelFormat.dwFlags & DDPF_FOURCC) {
        return E_NOTIMPL;
    }
    HDC hdcImage = CreateCompatibleDC(nullptr);
    if (!hdcImage) {
        return E_FAIL;
    }
    HGDIOBJ oldBitmap = SelectObject(hdcImage, hBitmap);
    BITMAP bitmap = {};
    GetObjectA(hBitmap, sizeof bitmap, &bitmap);
    HDC hdc = nullptr;
    hr = m_pddsSurface->GetDC(&hdc);
    if (SUCCEEDED(hr)) {
        StretchBlt(hdc, 0, 0, static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight),
                   hdcImage, 0, 0, bitmap.bmWidth, bitmap.bmHeight, SRCCOPY);
        m_pddsSurface->ReleaseDC(hdc);
    }
    SelectObject(hdcImage, oldBitmap);
    DeleteDC(hdcImage);
    return SUCCEEDED(hr) ? S_OK : hr;
}

HRESULT CSurface::RenderText() {
    if (!m_pddsSurface) {
        return E_INVALIDARG;
    }
    HRESULT hr = m_pddsSurface->Restore();
    if (FAILED(hr)) {
        return hr;
    }
    HDC hdc = nullptr;
    hr = m_pddsSurface->GetDC(&hdc);
    if (FAILED(hr)) {
        return hr;
    }
    SetBkColor(hdc, RGB(0, 0, 0));
    SetTextColor(hdc, RGB(255, 255, 0));
    TextOutA(hdc, 0, 0, kDemoModeText, static_cast<int>(sizeof kDemoModeText - 1));
    m_pddsSurface->ReleaseDC(hdc);
    return S_OK;
}

// GDI writes the colour into the top-left pixel and the surface's memory tells how the display
// stores it; the pixel is put back afterwards.
DWORD CSurface::ColorToPixel(COLORREF color) {
    if (!m_pddsSurface) {
        return 0;
    }
    COLORREF saved = 0;
    HDC hdc = nullptr;
    if (SUCCEEDED(m_pddsSurface->GetDC(&hdc))) {
        saved = GetPixel(hdc, 0, 0);
        SetPixel(hdc, 0, 0, color);
        m_pddsSurface->ReleaseDC(hdc);
    }
    DDSURFACEDESC2 desc = {};
    desc.dwSize = sizeof desc;
    DWORD pixel = CLR_INVALID;
    if (SUCCEEDED(m_pddsSurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) {
        pixel = *static_cast<const DWORD*>(desc.lpSurface);
        const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
        if (bits < 32) {
            pixel &= (DWORD(1) << bits) - 1;
        }
        m_pddsSurface->Unlock(nullptr);
    }
    if (SUCCEEDED(m_pddsSurface->GetDC(&hdc))) {
        SetPixel(hdc, 0, 0, saved);
        m_pddsSurface->ReleaseDC(hdc);
    }
    return pixel;
}

HRESULT CSurface::SetSourceColorKey() {
    DDCOLORKEY key;
    key.dwColorSpaceLowValue = ColorToPixel(kColorKey);
    key.dwColorSpaceHighValue = ColorToPixel(kColorKey);
    return m_pddsSurface->SetColorKey(DDCKEY_SRCBLT, &key);
}

// --- CDisplay

CDisplay::CDisplay()
    : m_pDirectDraw(nullptr), m_pddsPrimary(nullptr), m_pddsBackBuffer(nullptr), m_hWindow(nullptr),
      m_windowRect(), m_windowed(FALSE), m_testLoss(kTestNoLoss), m_testPresentsBeforeLoss(0),
      m_scale(1), m_pddsScaled(nullptr) {}

CDisplay::~CDisplay() {
    CDisplay::ReleaseObjects();
}

HRESULT CDisplay::ReleaseObjects() {
    Release(m_pddsScaled);
    Release(m_pddsBackBuffer);
    Release(m_pddsPrimary);
    if (m_pDirectDraw) {
        m_pDirectDraw->SetCooperativeLevel(m_hWindow, DDSCL_NORMAL);
    }
    Release(m_pDirectDraw);
    return S_OK;
}

HRESULT CDisplay::CreateWindowedDisplay(HWND hWnd) {
    ReleaseObjects();
    auto* createDirectDraw = FindDirectDrawCreateEx();
    if (!createDirectDraw) {
        return kNoDirectDraw7;
    }
    const HRESULT hr = createDirectDraw(nullptr, reinterpret_cast<void**>(&m_pDirectDraw),
                                        IID_IDirectDraw7, nullptr);
    if (hr == E_NOINTERFACE) {
        return kNoDirectDraw7;
    }
    if (FAILED(hr)) {
        return E_FAIL;
    }
    if (FAILED(m_pDirectDraw->SetCooperativeLevel(hWnd, DDSCL_NORMAL))) {
        return E_FAIL;
    }
    FitWindowToBackBuffer(hWnd);
    if (FAILED(CreatePrimaryWithClipper(hWnd)) || FAILED(CreateBackBuffer())) {
        return E_FAIL;
    }
    m_hWindow = hWnd;
    m_windowed = TRUE;
    RefreshWindowRect();
    return S_OK;
}

// Gives the window a client area of exactly the back buffer's size times the scale and keeps
// its top-left corner inside the work area of its monitor. A minimised window stays where the
// system parked it: only the place it comes back to is fitted.
void CDisplay::FitWindowToBackBuffer(HWND hWnd) {
    LONG style = GetWindowLongA(hWnd, GWL_STYLE);
    style = (style & kStyleKeepMask) | kStyleSet;
    SetWindowLongA(hWnd, GWL_STYLE, style);
    if (IsIconic(hWnd)) {
        FitRestoredPlacement(hWnd);
        return;
    }

    RECT rect = {};
    GetWindowRect(hWnd, &rect);
    const SIZE size = ApplyScale(hWnd, WindowDpi(hWnd), rect);
    SetWindowPos(hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);

    GetWindowRect(hWnd, &rect);
    const RECT work = WorkAreaNear(rect);
    if (rect.left < work.left) {
        rect.left = work.left;
    }
    if (rect.top < work.top) {
        rect.top = work.top;
    }
    SetWindowPos(hWnd, nullptr, rect.left, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The restored rectangle takes the size of the scale on its monitor; its top-left corner stays.
// The window stays minimised and is not activated.
void CDisplay::FitRestoredPlacement(HWND hWnd) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(hWnd, &placement)) {
        return;
    }
    RECT& normal = placement.rcNormalPosition;
    const SIZE size = ApplyScale(hWnd, WindowDpi(hWnd), normal);
    normal.right = normal.left + size.cx;
    normal.bottom = normal.top + size.cy;
    placement.showCmd = SW_SHOWMINNOACTIVE;
    SetWindowPlacement(hWnd, &placement);
}

// Chooses the scale for `dpi` on the monitor nearest to `area`; the window's size for it.
SIZE CDisplay::ApplyScale(HWND hWnd, UINT dpi, const RECT& area) {
    const int scale = ChooseFrameScale(hWnd, dpi, area);
    if (scale != m_scale) {
        Release(m_pddsScaled);
        m_scale = scale;
    }
    return FrameWindowSize(hWnd, m_scale, dpi);
}

void CDisplay::FitWindowToDpi(UINT dpi, const RECT& area) {
    if (!m_hWindow) {
        return;
    }
    const SIZE size = ApplyScale(m_hWindow, dpi, area);
    const RECT window = KeptInside({area.left, area.top, area.left + size.cx, area.top + size.cy},
                                   WorkAreaNear(area));
    SetWindowPos(m_hWindow, nullptr, window.left, window.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HRESULT CDisplay::CreatePrimaryWithClipper(HWND hWnd) {
    DDSURFACEDESC2 desc = SurfaceDesc(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE, 0, 0);
    if (FAILED(m_pDirectDraw->CreateSurface(&desc, &m_pddsPrimary, nullptr))) {
        return E_FAIL;
    }
    // The clipper keeps every copy onto the screen inside the window's visible parts.
    IDirectDrawClipper* pClipper = nullptr;
    if (FAILED(m_pDirectDraw->CreateClipper(0, &pClipper, nullptr))) {
        return E_FAIL;
    }
    HRESULT hr = pClipper->SetHWnd(0, hWnd);
    if (SUCCEEDED(hr)) {
        hr = m_pddsPrimary->SetClipper(pClipper);
    }
    pClipper->Release();
    return SUCCEEDED(hr) ? S_OK : E_FAIL;
}

HRESULT CDisplay::CreateBackBuffer() {
    DDSURFACEDESC2 desc = SurfaceDesc(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN,
                                      WINDOW_WIDTH, WINDOW_HEIGHT);
    return SUCCEEDED(m_pDirectDraw->CreateSurface(&desc, &m_pddsBackBuffer, nullptr)) ? S_OK
                                                                                      : E_FAIL;
}

HRESULT CDisplay::RefreshWindowRect() {
    if (!m_windowed) {
        m_windowRect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return S_OK;
    }
    GetClientRect(m_hWindow, &m_windowRect);
    ClientToScreen(m_hWindow, reinterpret_cast<POINT*>(&m_windowRect.left));
    ClientToScreen(m_hWindow, reinterpret_cast<POINT*>(&m_windowRect.right));
    return S_OK;
}

HRESULT CDisplay::CreateSurface(CSurface** ppSurface) {
    if (!m_pDirectDraw) {
        return E_POINTER;
    }
    if (!ppSurface) {
        return E_INVALIDARG;
    }
    return CreateOffscreenSurface(m_pDirectDraw, WINDOW_WIDTH, WINDOW_HEIGHT, ppSurface);
}

HRESULT CDisplay::CreateSurfaceFromImage(CSurface** ppSurface, LPCSTR name, DWORD width,
                                         DWORD height) {
    if (!m_pDirectDraw || !name || !ppSurface) {
        return E_INVALIDARG;
    }
    *ppSurface = nullptr;
    HBITMAP hBitmap = LoadBitmapSection(name, width, height);
    if (!hBitmap) {
        return IS_INTRESOURCE(name) || IsWholeBitmapFileAt(name) ? E_FAIL : kPictureMissing;
    }
    BITMAP bitmap = {};
    GetObjectA(hBitmap, sizeof bitmap, &bitmap);
    HRESULT hr = CreateOffscreenSurface(m_pDirectDraw, static_cast<DWORD>(bitmap.bmWidth),
                                        static_cast<DWORD>(bitmap.bmHeight), ppSurface);
    if (SUCCEEDED(hr)) {
        hr = (*ppSurface)->CopyBitmap(hBitmap);
        if (FAILED(hr)) {
            delete *ppSurface;
            *ppSurface = nullptr;
        }
    }
    DeleteObject(hBitmap);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT CDisplay::CreateSurfaceFromText(CSurface** ppSurface) {
    if (!m_pDirectDraw || !ppSurface) {
        return E_INVALIDARG;
    }
    const SIZE size = MeasureDemoModeText();
    DDSURFACEDESC2 desc = SurfaceDesc(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN,
                                      static_cast<DWORD>(size.cx), static_cast<DWORD>(size.cy));
    auto* pSurface = new CSurface;
    HRESULT hr = pSurface->Create(m_pDirectDraw, &desc);
    if (FAILED(hr)) {
        delete pSurface;
        *ppSurface = nullptr;
        return hr;
    }
    *ppSurface = pSurface;
    return pSurface->RenderText();
}

HRESULT CDisplay::PresentBackBuffer() {
    if (!m_pddsPrimary || !m_pddsBackBuffer) {
        return E_POINTER;
    }
    for (;;) {
        HRESULT hr = TestLossDue() ? DDERR_SURFACELOST : CopyBackBufferToWindow();
        if (m_testLoss == kTestSurfacesLost) {
            m_testLoss = kTestNoLoss;
        }
        if (hr == DDERR_SURFACELOST) {
            m_pddsPrimary->Restore();
            m_pddsBackBuffer->Restore();
            return hr;
        }
        if (hr != DDERR_WASSTILLDRAWING) {
            return hr;
        }
    }
}

bool CDisplay::TestLossDue() {
    if (m_testLoss == kTestNoLoss) {
        return false;
    }
    if (m_testPresentsBeforeLoss > 0) {
        --m_testPresentsBeforeLoss;
        return false;
    }
    return true;
}

HRESULT CDisplay::TestCooperativeLevel() {
    if (!m_pDirectDraw) {
        return E_POINTER;
    }
    return m_testLoss == kTestModeChangedAtTest ? DDERR_WRONGMODE
                                                : m_pDirectDraw->TestCooperativeLevel();
}

HRESULT CDisplay::RestoreAllSurfaces() {
    if (!m_pDirectDraw) {
        return E_POINTER;
    }
    return m_testLoss == kTestNoLoss ? m_pDirectDraw->RestoreAllSurfaces() : DDERR_WRONGMODE;
}

// The frame goes to the client area's top-left corner at its own size, never stretched into a
// client area of another size.
HRESULT CDisplay::CopyBackBufferToWindow() {
    RECT frame = {m_windowRect.left, m_windowRect.top, m_windowRect.left + WINDOW_WIDTH * m_scale,
                  m_windowRect.top + WINDOW_HEIGHT * m_scale};
    if (m_scale == 1) {
        return m_pddsPrimary->Blt(&frame, m_pddsBackBuffer, nullptr, DDBLT_WAIT, nullptr);
    }
    // A stretching copy may blend neighbouring pixels or make blocks of unequal size: the
    // blocks are made here, and the copy onto the screen is one to one.
    HRESULT hr = ScaleBackBuffer();
    if (FAILED(hr)) {
        return hr;
    }
    return m_pddsPrimary->Blt(&frame, m_pddsScaled, nullptr, DDBLT_WAIT, nullptr);
}

// The scaled surface is made at the first present after the scale changed.
HRESULT CDisplay::ScaleBackBuffer() {
    if (!m_pddsScaled) {
        DDSURFACEDESC2 desc = SurfaceDesc(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT,
                                          DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY,
                                          WINDOW_WIDTH * m_scale, WINDOW_HEIGHT * m_scale);
        HRESULT hr = m_pDirectDraw->CreateSurface(&desc, &m_pddsScaled, nullptr);
        if (FAILED(hr)) {
            return hr;
        }
    }
    DDSURFACEDESC2 from = {};
    from.dwSize = sizeof from;
    HRESULT hr = m_pddsBackBuffer->Lock(nullptr, &from, DDLOCK_WAIT | DDLOCK_READONLY, nullptr);
    if (FAILED(hr)) {
        return hr;
    }
    DDSURFACEDESC2 to = {};
    to.dwSize = sizeof to;
    hr = m_pddsScaled->Lock(nullptr, &to, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr);
    if (SUCCEEDED(hr)) {
        ScalePixels(from, to, m_scale);
        m_pddsScaled->Unlock(nullptr);
    }
    m_pddsBackBuffer->Unlock(nullptr);
    return hr;
}

HRESULT CDisplay::BlitToBackBuffer(LONG x, LONG y, CSurface* pSource, const RECT* pSourceRect,
                                   DWORD flags) {
    if (!m_pddsBackBuffer || !pSource || !pSource->GetDDrawSurface()) {
        return E_POINTER;
    }
    if (!pSourceRect) {
        return m_pddsBackBuffer->Blt(nullptr, pSource->GetDDrawSurface(), nullptr,
                                     DDBLT_WAIT | flags, nullptr);
    }
    RECT dest = {x, y, x + pSourceRect->right - pSourceRect->left,
                 y + pSourceRect->bottom - pSourceRect->top};
    return m_pddsBackBuffer->Blt(&dest, pSource->GetDDrawSurface(), const_cast<RECT*>(pSourceRect),
                                 DDBLT_WAIT | flags, nullptr);
}

// --- CSurfaceDC

CSurfaceDC::CSurfaceDC(IDirectDrawSurface7* pddsTarget)
    : m_hDC(nullptr), m_hr(E_INVALIDARG), m_pddsTarget(pddsTarget) {
    if (m_pddsTarget) {
        m_hr = m_pddsTarget->GetDC(&m_hDC);
        if (FAILED(m_hr)) {
            m_hDC = nullptr;
        }
    }
}

CSurfaceDC::~CSurfaceDC() {
    if (m_hDC) {
        m_pddsTarget->ReleaseDC(m_hDC);
    }
    m_hDC = nullptr;
    m_hr = S_OK;
    m_pddsTarget = nullptr;
}

void ShowErrorMessage(const char* text, HRESULT hr) {
    char message[256] = {};
    std::snprintf(message, sizeof message, "%s (Error 0x%08lX).", text,
                  static_cast<unsigned long>(hr));
    MessageBoxA(nullptr, message, "Message", MB_ICONINFORMATION | MB_OK);
}
