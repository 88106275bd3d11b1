// Images, surfaces, the background canvas, the fonts and the sprite sets.
#include "GameGraphics.h"

#include "TextUtil.h"
#include "resource.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace {

constexpr LONG kSpriteImageWidth = 160;
constexpr LONG kSpriteImageHeight = 120;
constexpr LONG kBoardHeight = kGridHeight * kCellPixels + 4;
constexpr COLORREF kBackgroundColor = RGB(220, 255, 220);
constexpr COLORREF kPlainBackgroundColor = RGB(255, 255, 255);
constexpr char kGridImagePath[] = "Graphics\\GridIcons.bmp";
constexpr char kWallpaperPath[] = "Graphics\\Wallpaper.bmp";
constexpr char kFontFace[] = "Calibri";
constexpr char kFallbackFontFace[] = "Arial";
// How long a display that could not be recovered waits before the next try.
constexpr UINT kRecoveryRetryMs = 500;

RECT IconRect(LONG left, LONG top, LONG width, LONG height) {
    return {left, top, left + width, top + height};
}

void DeleteSurface(CSurface*& pSurface) {
    delete pSurface;
    pSurface = nullptr;
}

// What a lost surface holds once it is restored: nothing useful.
void BlankSurface(CSurface* pSurface) {
    if (pSurface) {
        DDBLTFX fx = {};
        fx.dwSize = sizeof fx;
        pSurface->GetDDrawSurface()->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT,
                                         &fx);
    }
}

void DeleteFont(HFONT& hFont) {
    if (hFont) {
        DeleteObject(hFont);
        hFont = nullptr;
    }
}

HRESULT ReportFailure(const char* text, HRESULT hr) {
    MessageBoxA(nullptr, text, "Message", MB_ICONINFORMATION | MB_OK);
    return hr;
}

LOGFONTA FontDescription(LONG height, LONG weight, bool underline, const char* face) {
    LOGFONTA description = {};
    description.lfHeight = height;
    description.lfWeight = weight;
    description.lfUnderline = underline ? TRUE : FALSE;
    CopyBounded(description.lfFaceName, sizeof description.lfFaceName, face);
    return description;
}

// The face falls back only when making the font fails, not when the face is merely absent:
// the system then substitutes one by itself.
HFONT CreateFontWithFallback(LONG height, LONG weight, LOGFONTA& description) {
    description = FontDescription(height, weight, false, kFontFace);
    HFONT hFont = CreateFontIndirectA(&description);
    if (!hFont) {
        CopyBounded(description.lfFaceName, sizeof description.lfFaceName, kFallbackFontFace);
        hFont = CreateFontIndirectA(&description);
    }
    return hFont;
}

} // namespace

RECT CellRect(int x, int y) {
    return IconRect(x * kCellPixels, y * kCellPixels, kCellPixels, kCellPixels);
}

RECT TallCellRect(int x, int y) {
    return IconRect(x * kCellPixels, y * kCellPixels, kCellPixels, 20);
}

CGameGraphics::CGameGraphics(CGame& game, CGameUI& ui)
    : m_game(game), m_ui(ui), m_spriteImageBoundsRect{0, 0, kSpriteImageWidth, kSpriteImageHeight},
      m_gameBoardRect{0, 0, kGridWidth * kCellPixels, kBoardHeight},
      m_robotRect(IconRect(128, 0, 16, 16)), m_heapRect(IconRect(96, 33, 16, 16)),
      m_playerRect(IconRect(144, 0, 16, 16)) {
    for (int k = 0; k < kNumArrows; ++k) {
        m_arrowRects[k] = IconRect(16 * k, 0, 16, 16);
    }
    // Explosion frame 6 is the finished scrap heap; death frame 7 is what is left of the player.
    for (int k = 0; k < kNumExplosionFrames; ++k) {
        m_robotExplosionRects[k] = IconRect(16 * k, 32, 16, 20);
    }
    for (int k = 0; k < kNumDeathFrames; ++k) {
        m_playerDeathRects[k] = IconRect(16 * k, 72, 16, 20);
    }
    // The smoldering frames sit one pixel higher than the explosion band they belong to.
    for (int k = 0; k < kNumSmolderFrames; ++k) {
        m_smolderingHeapRects[k] = IconRect(112 + 16 * k, 31, 16, 16);
    }
}

CGameGraphics::~CGameGraphics() {
    DestroyGraphics();
}

HRESULT CGameGraphics::InitGraphics(HWND hWnd) {
    m_pDisplay = new CDisplay;
    HRESULT hr = m_pDisplay->CreateWindowedDisplay(hWnd);
    if (hr == kNoDirectDraw7) {
        return hr;
    }
    if (FAILED(hr)) {
        return ReportFailure("Failed: CreateWindowedDisplay", hr);
    }
    m_hWindow = hWnd;
    const char* failedStep = nullptr;
    hr = CreateSurfaces(failedStep);
    return FAILED(hr) ? ReportFailure(failedStep, hr) : S_OK;
}

// Every surface of a new display: the images, the demo text and the background canvas, made
// last, so that a display with a canvas has every other surface too.
HRESULT CGameGraphics::CreateSurfaces(const char*& failedStep) {
    failedStep = "Failed: LoadSpriteImages";
    HRESULT hr = LoadSpriteImages();
    if (FAILED(hr)) {
        return hr;
    }
    failedStep = "Failed: LoadGridImages";
    hr = LoadGridImages();
    if (FAILED(hr)) {
        return hr;
    }
    m_pDisplay->GetPrimarySurface()->SetPalette(nullptr);
    failedStep = "Failed: CreateSurfaceFromText";
    hr = m_pDisplay->CreateSurfaceFromText(&m_pTextSurface);
    if (FAILED(hr)) {
        return hr;
    }
    failedStep = "Failed: LoadBackground";
    hr = m_pDisplay->CreateSurface(&m_pBackgroundSurface);
    if (FAILED(hr)) {
        // Start-up tells which surface; a recovery tries again later.
        if (!m_recovering) {
            ShowErrorMessage("CreateSurface, bg", hr);
        }
        return hr;
    }
    return LoadBackground();
}

void CGameGraphics::ReleaseSpriteImages() {
    for (CSurface*& pSurface : m_pSpriteImageSurface) {
        DeleteSurface(pSurface);
    }
}

// Up to ten sets, "Graphics\GameIcons 1.bmp" onward; the first missing file ends the list,
// and a missing first file is replaced by the program's own picture.
HRESULT CGameGraphics::LoadSpriteImages() {
    ReleaseSpriteImages();
    int loaded = 0;
    while (loaded < kMaxGameIconSets) {
        HRESULT hr = LoadSpriteSet(loaded);
        if (FAILED(hr)) {
            if (loaded == 0 || !IsTakenAsMissing(hr)) {
                return hr;
            }
            break;
        }
        ++loaded;
    }
    m_numGameIconSets = loaded;
    if (m_currentGameIconSet >= m_numGameIconSets) {
        m_currentGameIconSet = 0;
    }
    return S_OK;
}

HRESULT CGameGraphics::LoadSpriteSet(int slot) {
    char path[32] = {};
    std::snprintf(path, sizeof path, "%s %d.bmp", "Graphics\\GameIcons", slot + 1);
    const auto width = static_cast<DWORD>(m_spriteImageBoundsRect.right);
    const auto height = static_cast<DWORD>(m_spriteImageBoundsRect.bottom);
    CSurface*& pSurface = m_pSpriteImageSurface[slot];
    HRESULT hr = TakeTestFault(kTestPictureFails + slot)
                     ? E_FAIL
                     : m_pDisplay->CreateSurfaceFromImage(&pSurface, path, width, height);
    if (FAILED(hr) && slot == 0 && IsTakenAsMissing(hr)) {
        hr = m_pDisplay->CreateSurfaceFromImage(&pSurface, MAKEINTRESOURCEA(IDB_GAME_ICONS), width,
                                                height);
    }
    return FAILED(hr) ? hr : pSurface->SetSourceColorKey();
}

HRESULT CGameGraphics::LoadGridImages() {
    DeleteSurface(m_pGridImageSurface);
    const DWORD width = kNumGridImages * kGridIconWidth;
    HRESULT hr = TakeTestFault(kTestPictureFails + kTestGridPicture)
                     ? E_FAIL
                     : m_pDisplay->CreateSurfaceFromImage(&m_pGridImageSurface, kGridImagePath,
                                                          width, kGridIconHeight);
    if (FAILED(hr) && IsTakenAsMissing(hr)) {
        hr = m_pDisplay->CreateSurfaceFromImage(
            &m_pGridImageSurface, MAKEINTRESOURCEA(IDB_GRID_ICONS), width, kGridIconHeight);
    }
    return FAILED(hr) ? hr : m_pGridImageSurface->SetSourceColorKey();
}

// No wallpaper is fine; the file is looked for again at the next full redraw.
HRESULT CGameGraphics::LoadWallpaper() {
    if (TakeTestFault(kTestPictureFails + kTestWallpaperPicture)) {
        return E_FAIL;
    }
    const HRESULT hr =
        m_pDisplay->CreateSurfaceFromImage(&m_pWallpaperSurface, kWallpaperPath, 0, 0);
    return IsTakenAsMissing(hr) ? S_OK : hr;
}

// The canvas holds what does not move: the fill colour, the wallpaper and the grid; the full
// redraw and the explosions add the heaps.
HRESULT CGameGraphics::LoadBackground() {
    if (!m_pBackgroundSurface) {
        return E_POINTER;
    }
    if (!m_pWallpaperSurface) {
        const HRESULT hr = LoadWallpaper();
        if (FAILED(hr)) {
            return hr;
        }
    }
    FillBackground();
    if (m_pWallpaperSurface && !IsPlainScheme()) {
        DrawWallpaper();
    }
    if (m_pGridImageSurface && m_game.m_prefs.m_gridStyle != 0) {
        DrawGrid();
    }
    return S_OK;
}

// The fill takes a pixel value: at 16 bits per pixel the colour is packed otherwise than at 24
// or 32, and it must match the status strip, which GDI fills with the same colour.
void CGameGraphics::FillBackground() {
    DDBLTFX fx = {};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = m_pBackgroundSurface->ColorToPixel(IsPlainScheme() ? kPlainBackgroundColor
                                                                        : kBackgroundColor);
    m_pBackgroundSurface->GetDDrawSurface()->Blt(nullptr, nullptr, nullptr,
                                                 DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

// A wallpaper as large as the board is copied once; a smaller one is tiled, the last tiles
// cut at the board's right and bottom edges. The status strip never shows it.
void CGameGraphics::DrawWallpaper() {
    IDirectDrawSurface7* pCanvas = m_pBackgroundSurface->GetDDrawSurface();
    IDirectDrawSurface7* pWallpaper = m_pWallpaperSurface->GetDDrawSurface();
    const LONG boardWidth = m_gameBoardRect.right;
    const LONG boardHeight = m_gameBoardRect.bottom;
    const LONG w = m_pWallpaperSurface->Width();
    const LONG h = m_pWallpaperSurface->Height();
    for (LONG y = 0; y < boardHeight; y += h) {
        for (LONG x = 0; x < boardWidth; x += w) {
            RECT src = {0, 0, std::min(w, boardWidth - x), std::min(h, boardHeight - y)};
            RECT dst = {x, y, x + src.right, y + src.bottom};
            pCanvas->Blt(&dst, pWallpaper, &src, DDBLT_WAIT, nullptr);
        }
    }
}

// The grid icon draws a dotted line along its top row and its right column; the board's top
// row and right column leave those out so that only the lines between cells show.
void CGameGraphics::DrawGrid() {
    IDirectDrawSurface7* pCanvas = m_pBackgroundSurface->GetDDrawSurface();
    IDirectDrawSurface7* pGrid = m_pGridImageSurface->GetDDrawSurface();
    const LONG iconLeft = (m_game.m_prefs.m_gridStyle - 1) * kGridIconWidth;
    const LONG lastColumn = (kGridWidth - 1) * kCellPixels;
    for (LONG y = 0; y < m_gameBoardRect.bottom - 4; y += kCellPixels) {
        for (LONG x = 0; x <= lastColumn; x += kCellPixels) {
            RECT src = IconRect(iconLeft, 0, kGridIconWidth, kGridIconHeight);
            if (y == 0) {
                src.top += 1;
            }
            if (x == lastColumn) {
                src.right -= 1;
            }
            RECT dst = {x, y + src.top, x + src.right - src.left, y + src.bottom};
            pCanvas->Blt(&dst, pGrid, &src, DDBLT_WAIT | DDBLT_KEYSRC, nullptr);
        }
    }
}

void CGameGraphics::CreateFonts() {
    LOGFONTA description;
    m_hFontNormal = CreateFontWithFallback(20, 0, description);
    const LOGFONTA bold = FontDescription(20, FW_BOLD, false, description.lfFaceName);
    m_hFontBold = CreateFontIndirectA(&bold);
    const LOGFONTA boldUnderline = FontDescription(20, FW_BOLD, true, description.lfFaceName);
    m_hFontBoldUnderline = CreateFontIndirectA(&boldUnderline);
    m_hFontLarge = CreateFontWithFallback(28, FW_BOLD, description);
}

void CGameGraphics::ReleaseSurfaces() {
    ReleaseFinalPicture();
    DeleteSurface(m_pBackgroundSurface);
    ReleaseSpriteImages();
    DeleteSurface(m_pGridImageSurface);
    DeleteSurface(m_pTextSurface);
    DeleteSurface(m_pWallpaperSurface);
}

void CGameGraphics::DestroyGraphics() {
    ReleaseSurfaces();
    if (m_pDisplay) {
        m_pDisplay->ReleaseObjects();
        delete m_pDisplay;
        m_pDisplay = nullptr;
    }
    DeleteFont(m_hFontNormal);
    DeleteFont(m_hFontBold);
    DeleteFont(m_hFontBoldUnderline);
    DeleteFont(m_hFontLarge);
}

void CGameGraphics::RefreshWindowRect() {
    if (m_pDisplay) {
        m_pDisplay->RefreshWindowRect();
    }
}

void CGameGraphics::FitWindowToDpi(UINT dpi, const RECT& area) {
    if (m_pDisplay) {
        m_pDisplay->FitWindowToDpi(dpi, area);
    }
}

// At start-up a picture that cannot be loaded counts as a missing one. While a lost display is
// recovered only a missing or damaged file does: a picture that was there fails the recovery,
// which is tried again, rather than leave the board without it.
bool CGameGraphics::IsTakenAsMissing(HRESULT hr) const {
    return FAILED(hr) && (!m_recovering || hr == kPictureMissing);
}

void CGameGraphics::NoteLoss(HRESULT presented) {
    m_finalPictureKept = false;
    const Recovery needed = presented == DDERR_WRONGMODE ? kRebuild : kRestore;
    if (needed > m_recovery) {
        m_recovery = needed;
    }
}

// Nothing is done while another program holds the display: the timer tries again. A display
// mode change, told by the cooperative-level test or by the restore, leaves only a display made
// again from nothing; otherwise lost surfaces are restored and refilled. Either way the back
// buffer and the canvas hold nothing useful any more, so the whole board is drawn again before
// the next frame is shown. Any step that fails, and a loss during the redraw, leave the display
// to be recovered at the timer's next tick or the next full redraw.
void CGameGraphics::RecoverLostDisplay() {
    if (m_recovering || m_suppressDrawing || !m_pDisplay) {
        return;
    }
    m_recovering = true;
    HRESULT hr = m_recovery == kRebuild ? DDERR_WRONGMODE : m_pDisplay->TestCooperativeLevel();
    if (hr == DD_OK) {
        hr = RestoreSurfaces();
    }
    if (hr == DDERR_WRONGMODE) {
        m_recovery = kRebuild;
        hr = RebuildDisplay();
    }
    if (SUCCEEDED(hr)) {
        m_recovery = kRecovered;
        if (TakeTestFault(kTestLostAgainInRedraw)) {
            BlankSurfacesForTest();
            m_pDisplay->LoseSurfacesAtPresent(kTestSurfacesLost, 0);
        }
        hr = DrawWholeBoard();
    }
    if (FAILED(hr)) {
        NoteLoss(hr);
    }
    m_recovering = false;
    ScheduleRecovery();
}

void CGameGraphics::ScheduleRecovery() {
    if (m_recovery == kRecovered) {
        KillTimer(m_hWindow, kRecoveryTimer);
    } else {
        // Without a timer the next full redraw tries again.
        SetTimer(m_hWindow, kRecoveryTimer, kRecoveryRetryMs, nullptr);
    }
}

void CGameGraphics::RetryRecovery() {
    if (m_recovery == kRecovered) {
        KillTimer(m_hWindow, kRecoveryTimer);
        return;
    }
    RecoverLostDisplay();
}

// The wallpaper is loaded again by the full redraw that follows.
HRESULT CGameGraphics::RestoreSurfaces() {
    HRESULT hr = m_pDisplay->RestoreAllSurfaces();
    if (FAILED(hr)) {
        return hr;
    }
    hr = m_pTextSurface->RenderText();
    if (FAILED(hr)) {
        return hr;
    }
    // A primary without a palette refuses to drop one; that is no reason to stop here.
    m_pDisplay->GetPrimarySurface()->SetPalette(nullptr);
    DeleteSurface(m_pWallpaperSurface);
    hr = LoadSpriteImages();
    if (FAILED(hr)) {
        return hr;
    }
    return LoadGridImages();
}

// Surfaces belong to the DirectDraw object that made them, so all go with the old display,
// once a new one exists, whether or not it could be made whole: the old one never gets over
// the change. The new display is in place while it sizes the window: the window procedure
// holds the window at the size of the new display's scale, which a screen of another size may
// have changed.
HRESULT CGameGraphics::RebuildDisplay() {
    CDisplay* pOld = m_pDisplay;
    m_pDisplay = new CDisplay;
    const HRESULT hr = m_pDisplay->CreateWindowedDisplay(m_hWindow);
    ReleaseSurfaces();
    delete pOld;
    if (FAILED(hr)) {
        return hr;
    }
    if (TakeTestFault(kTestRebuildFails)) {
        return DDERR_OUTOFVIDEOMEMORY;
    }
    const char* failedStep = nullptr;
    return CreateSurfaces(failedStep);
}

bool CGameGraphics::TakeTestFault(int fault) {
    if (m_testFault != fault || !m_recovering) {
        return false;
    }
    m_testFault = kTestNoFault;
    return true;
}

void CGameGraphics::BlankSurfacesForTest() {
    for (CSurface* pSurface : m_pSpriteImageSurface) {
        BlankSurface(pSurface);
    }
    for (CSurface* pSurface :
         {m_pGridImageSurface, m_pTextSurface, m_pBackgroundSurface, m_pWallpaperSurface}) {
        BlankSurface(pSurface);
    }
}

void CGameGraphics::LoseSurfacesForTest(TestSurfaceLoss loss, int presentsBefore, int fault) {
    if (!m_pDisplay) {
        return;
    }
    BlankSurfacesForTest();
    m_testFault = fault;
    m_pDisplay->LoseSurfacesAtPresent(loss, presentsBefore);
}

void CGameGraphics::RefreshPalette() {
    if (!m_pDisplay || !m_pDisplay->GetPrimarySurface()) {
        return;
    }
    IDirectDrawPalette* pPalette = nullptr;
    IDirectDrawSurface7* pPrimary = m_pDisplay->GetPrimarySurface();
    if (SUCCEEDED(pPrimary->GetPalette(&pPalette))) {
        pPrimary->SetPalette(pPalette);
        pPalette->Release();
    }
}

void CGameGraphics::ApplyIconSet(int32_t index) {
    if (index >= 0 && index < m_numGameIconSets) {
        m_currentGameIconSet = index;
    }
}

int32_t CGameGraphics::NextIconSet() {
    ++m_currentGameIconSet;
    if (m_currentGameIconSet >= m_numGameIconSets) {
        m_currentGameIconSet = 0;
    }
    return m_currentGameIconSet;
}
