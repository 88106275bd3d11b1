// Frame drawing: the full redraw, the small steps the rules ask for during a game, the status
// line under the board and the movement arrows around the player.
#include "GameGraphics.h"

#include "GameUI.h"
#include "LostMoment.h"
#include "Watching.h"

#include <cstdio>

namespace {

constexpr RECT kStatusStripRect = {0, kStatusStripTop, WINDOW_WIDTH, WINDOW_HEIGHT};
constexpr RECT kStatusTextRect = {10, kStatusStripTop, WINDOW_WIDTH - 10, WINDOW_HEIGHT};
constexpr COLORREF kStatusStripColor = RGB(220, 255, 220);
constexpr COLORREF kPlainStatusStripColor = RGB(255, 255, 255);
constexpr COLORREF kDemoInvitationColor = RGB(255, 0, 0);
constexpr COLORREF kWatchingColor = RGB(0, 0, 128);
constexpr char kDemoInvitation[] = "Select \"New Game\" from the File menu to begin.";
constexpr UINT kLineFormat = DT_VCENTER | DT_SINGLELINE;

bool IsOnBoard(int x, int y) {
    return x >= 0 && x < kGridWidth && y >= 0 && y < kGridHeight;
}

void DrawStatusText(HDC hdc, const char* text, UINT alignment) {
    RECT rect = kStatusTextRect;
    DrawTextA(hdc, text, -1, &rect, alignment | kLineFormat);
}

void DrawStatusText(HDC hdc, const char* format, long value, UINT alignment) {
    char text[80] = {};
    std::snprintf(text, sizeof text, format, value);
    DrawStatusText(hdc, text, alignment);
}

// The whole of `from` onto the whole of `to`, both the size of the back buffer.
bool CopySurface(IDirectDrawSurface7* to, IDirectDrawSurface7* from) {
    return to && from && SUCCEEDED(to->Blt(nullptr, from, nullptr, DDBLT_WAIT, nullptr));
}

} // namespace

void CGameGraphics::Present() {
    if (m_suppressDrawing || !m_pDisplay || m_recovery != kRecovered) {
        return;
    }
    const HRESULT hr = m_pDisplay->PresentBackBuffer();
    if (hr == DDERR_SURFACELOST || hr == DDERR_WRONGMODE) {
        NoteLoss(hr);
        RecoverLostDisplay();
    }
}

void CGameGraphics::DrawSprite(LONG x, LONG y, const RECT& src) {
    if (Sprites()) {
        m_pDisplay->BlitToBackBuffer(x, y, Sprites(), &src, DDBLT_KEYSRC);
    }
}

void CGameGraphics::DrawSpriteToBackground(const RECT& src, const RECT& dst) {
    if (Sprites() && m_pBackgroundSurface) {
        RECT source = src;
        RECT dest = dst;
        m_pBackgroundSurface->GetDDrawSurface()->Blt(&dest, Sprites()->GetDDrawSurface(), &source,
                                                     DDBLT_WAIT | DDBLT_KEYSRC, nullptr);
    }
}

// Erasing copies the same rectangle from the canvas, which holds everything that does not move.
void CGameGraphics::EraseRect(const RECT& rect) {
    m_pDisplay->BlitToBackBuffer(rect.left, rect.top, m_pBackgroundSurface, &rect, 0);
}

void CGameGraphics::RedrawCell(const RECT& dst, const RECT& src) {
    if (!CanDraw()) {
        return;
    }
    EraseRect(dst);
    DrawSprite(dst.left, dst.top, src);
    Present();
}

void CGameGraphics::EraseCellRect(const RECT& rect) {
    if (!CanDraw()) {
        return;
    }
    EraseRect(rect);
    Present();
}

void CGameGraphics::EraseCell(int x, int y) {
    EraseCellRect(CellRect(x, y));
}

void CGameGraphics::SetPlayerCell(int x, int y) {
    m_playerDstRect = CellRect(x, y);
}

void CGameGraphics::DrawPlayer() {
    SetPlayerCell(Board().m_playerX, Board().m_playerY);
    DrawSprite(m_playerDstRect.left, m_playerDstRect.top, m_playerRect);
}

void CGameGraphics::RedrawPlayer() {
    RedrawCell(m_playerDstRect, m_playerRect);
}

void CGameGraphics::HighlightKiller(int x, int y, KillerKind kind) {
    RedrawCell(TallCellRect(x, y),
               kind == kKillerRobot ? m_robotExplosionRects[0] : m_robotExplosionRects[5]);
}

void CGameGraphics::RestoreKiller(int x, int y, KillerKind kind) {
    RedrawCell(CellRect(x, y), kind == kKillerRobot ? m_robotRect : m_heapRect);
}

void CGameGraphics::DrawShape(const RECT& rect, char shape, int mixMode, COLORREF color,
                              int penStyle, int stockBrush) {
    CSurfaceDC dc(m_pDisplay->GetBackBuffer());
    HDC hdc = dc.Get();
    if (!hdc) {
        return;
    }
    HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(stockBrush));
    HPEN hPen = CreatePen(penStyle, 1, color);
    HGDIOBJ oldPen = hPen ? SelectObject(hdc, hPen) : nullptr;
    const int oldMix = SetROP2(hdc, mixMode);
    if (shape == 'e') {
        Ellipse(hdc, rect.left, rect.top, rect.right, rect.bottom);
    } else {
        Rectangle(hdc, rect.left, rect.top, rect.right, rect.bottom);
    }
    SetROP2(hdc, oldMix);
    if (hPen) {
        SelectObject(hdc, oldPen);
        DeleteObject(hPen);
    }
    SelectObject(hdc, oldBrush);
}

// Every heap cell of the board gets its picture, also a heap that the full record array left
// without a record.
void CGameGraphics::DrawHeapsOnBackground() {
    for (int x = 0; x < kGridWidth; ++x) {
        for (int y = 0; y < kGridHeight; ++y) {
            if (Board().Cell(x, y) == kCellHeap) {
                const RECT dst = {x * kCellPixels, y * kCellPixels + 2,
                                  x * kCellPixels + kCellPixels, y * kCellPixels + 18};
                DrawSpriteToBackground(m_heapRect, dst);
            }
        }
    }
}

// Robots that are exploding stand on their heaps already: a redraw during the explosions, as a
// display recovered then makes, shows the heaps, not the robots over them.
void CGameGraphics::DrawRobots() {
    for (const Robot* r = Board().m_records; r->isAlive != kEndOfList; ++r) {
        if (r->isAlive == kRobotIsAlive) {
            DrawSprite(r->x * kCellPixels, r->y * kCellPixels, m_robotRect);
        }
    }
}

void CGameGraphics::DrawArrowIcons() {
    ComputeArrows();
    for (int k = 0; k < kNumArrows; ++k) {
        if (m_arrowDstRects[k].right != 0) {
            DrawSprite(m_arrowDstRects[k].left, m_arrowDstRects[k].top, m_arrowRects[k]);
        }
    }
}

// A stored game replayed at full speed crosses its levels without a word to the window or the
// files: its board is drawn once, when the replay ends. A display that needs recovering is
// recovered, which draws the whole board.
void CGameGraphics::RedrawBoard() {
    if (m_suppressDrawing) {
        return;
    }
    if (m_recovery != kRecovered) {
        RecoverLostDisplay();
    } else if (m_pDisplay) {
        DrawWholeBoard();
    }
}

// Fails only when the wallpaper could not be loaded again while a lost display is recovered.
HRESULT CGameGraphics::DrawWholeBoard() {
    if (m_pLostMoment && !ShowsLostMoment()) {
        // Another game is on the board now: the moment and the picture kept are gone with it.
        m_pLostMoment = nullptr;
        ReleaseFinalPicture();
    }
    const HRESULT hr = LoadBackground();
    if (FAILED(hr)) {
        return hr;
    }
    DrawHeapsOnBackground();
    m_pDisplay->BlitToBackBuffer(0, 0, m_pBackgroundSurface, nullptr, 0);
    DrawRobots();
    DrawPlayer();
    // Drawn also after the game ended, around the player's last cell; a display recovered
    // while an action has them hidden leaves them hidden.
    if (!m_recovering) {
        m_arrowsHidden = false;
    }
    if (m_pLostMoment) {
        DrawSurvivingMoves();
    } else if (m_game.m_prefs.m_showMovementArrows && !m_arrowsHidden) {
        DrawArrowIcons();
    }
    Present();
    ValidateRect(m_hWindow, &m_gameBoardRect);
    DrawStatusLine();
    return S_OK;
}

void CGameGraphics::DrawStatusLine() {
    if (!CanDraw()) {
        return;
    }
    UpdateMenus(m_hWindow, m_game);
    {
        CSurfaceDC dc(m_pDisplay->GetBackBuffer());
        if (HDC hdc = dc.Get()) {
            HBRUSH hBrush =
                CreateSolidBrush(IsPlainScheme() ? kPlainStatusStripColor : kStatusStripColor);
            FillRect(hdc, &kStatusStripRect, hBrush);
            DeleteObject(hBrush);
            MoveToEx(hdc, 0, kStatusStripRect.top, nullptr);
            LineTo(hdc, WINDOW_WIDTH, kStatusStripRect.top);
            SetBkMode(hdc, TRANSPARENT);
            DrawStatusTexts(hdc);
        }
    }
    Present();
}

void CGameGraphics::DrawStatusTexts(HDC hdc) {
    if (ShowsLostMoment()) {
        DrawLostMomentTexts(hdc);
        return;
    }
    if (g_watch.IsWatching()) {
        // Red on a turn where no step or wait was safe.
        HGDIOBJ oldFont = SelectObject(hdc, m_hFontBold);
        SetTextColor(hdc, g_watch.LastActionWasCornered() ? kDemoInvitationColor : kWatchingColor);
        RECT rect = kStatusTextRect;
        DrawTextA(hdc, g_watch.StatusText().c_str(), -1, &rect, DT_CENTER | kLineFormat);
        SelectObject(hdc, oldFont);
        return;
    }
    if (m_game.m_demoMode) {
        HGDIOBJ oldFont = SelectObject(hdc, m_hFontBold);
        SetTextColor(hdc, kDemoInvitationColor);
        RECT rect = kStatusTextRect;
        DrawTextA(hdc, kDemoInvitation, -1, &rect, DT_CENTER | kLineFormat);
        SelectObject(hdc, oldFont);
        return;
    }
    HGDIOBJ oldFont = SelectObject(hdc, m_hFontNormal);
    SetTextColor(hdc, RGB(0, 0, 0));
    DrawStatusText(hdc, "Score: %ld", m_game.m_score, DT_LEFT);
    DrawStatusText(hdc, "Screwdrivers: %ld", m_game.m_screwdrivers, DT_RIGHT);
    DrawStatusText(hdc, "Level: %ld", m_game.m_level, DT_CENTER);
    SelectObject(hdc, oldFont);
}

void CGameGraphics::DrawLostMomentTexts(HDC hdc) {
    HGDIOBJ oldFont = SelectObject(hdc, m_hFontNormal);
    SetTextColor(hdc, RGB(0, 0, 0));
    DrawStatusText(hdc, m_pLostMoment->TeleportText().c_str(), DT_LEFT);
    DrawStatusText(hdc, m_pLostMoment->ScrewdriverText().c_str(), DT_CENTER);
    DrawStatusText(hdc, m_pLostMoment->LastStandText().c_str(), DT_RIGHT);
    SelectObject(hdc, oldFont);
}

const CGame& CGameGraphics::Board() const {
    return m_pLostMoment ? m_pLostMoment->Board() : m_game;
}

bool CGameGraphics::ShowsLostMoment() const {
    return m_pLostMoment && m_game.m_gameOver &&
           m_pLostMoment->Board().m_startTime == m_game.m_startTime;
}

// The arrows of the steps that would have survived; a wait that would have is the player shown
// inverted, as a press on the player chooses it.
void CGameGraphics::DrawSurvivingMoves() {
    const CGame& board = m_pLostMoment->Board();
    for (int k = 0; k < kNumArrows; ++k) {
        if (m_pLostMoment->WouldSurvive(kArrowSteps[k].dx, kArrowSteps[k].dy)) {
            DrawSprite((board.m_playerX + kArrowSteps[k].dx) * kCellPixels,
                       (board.m_playerY + kArrowSteps[k].dy) * kCellPixels, m_arrowRects[k]);
        }
    }
    if (m_pLostMoment->WouldSurvive(0, 0)) {
        InvertTarget(m_playerDstRect);
    }
}

void CGameGraphics::KeepFinalPicture() {
    ReleaseFinalPicture();
    m_finalPictureKept =
        SUCCEEDED(m_pDisplay->CreateSurface(&m_pKeptFrame)) &&
        SUCCEEDED(m_pDisplay->CreateSurface(&m_pKeptCanvas)) &&
        CopySurface(m_pKeptFrame->GetDDrawSurface(), m_pDisplay->GetBackBuffer()) &&
        CopySurface(m_pKeptCanvas->GetDDrawSurface(), m_pBackgroundSurface->GetDDrawSurface());
}

void CGameGraphics::ReleaseFinalPicture() {
    delete m_pKeptFrame;
    m_pKeptFrame = nullptr;
    delete m_pKeptCanvas;
    m_pKeptCanvas = nullptr;
    m_finalPictureKept = false;
}

void CGameGraphics::ShowLostMoment(const CLostMoment& moment) {
    if (!CanDraw() || m_recovery != kRecovered) {
        return;
    }
    KeepFinalPicture();
    m_keptPlayerDstRect = m_playerDstRect;
    m_pLostMoment = &moment;
    RedrawBoard();
}

// The final position's death frame and the killer's picture are on no game record: the frame
// and the canvas kept bring them back. Without them the board is drawn anew.
void CGameGraphics::HideLostMoment() {
    if (!m_pLostMoment) {
        return;
    }
    m_pLostMoment = nullptr;
    m_playerDstRect = m_keptPlayerDstRect;
    if (m_finalPictureKept && m_recovery == kRecovered &&
        CopySurface(m_pBackgroundSurface->GetDDrawSurface(), m_pKeptCanvas->GetDDrawSurface()) &&
        CopySurface(m_pDisplay->GetBackBuffer(), m_pKeptFrame->GetDDrawSurface())) {
        Present();
    } else {
        RedrawBoard();
    }
    ReleaseFinalPicture();
}

// An arrow stands on every free neighbouring cell; robots and heaps get none.
void CGameGraphics::ComputeArrows() {
    for (int k = 0; k < kNumArrows; ++k) {
        m_arrowDstRects[k] = {};
        const int x = m_game.m_playerX + kArrowSteps[k].dx;
        const int y = m_game.m_playerY + kArrowSteps[k].dy;
        if (IsOnBoard(x, y) && m_game.Cell(x, y) == kCellEmpty) {
            m_arrowDstRects[k] = CellRect(x, y);
        }
    }
}

void CGameGraphics::DrawArrows() {
    m_arrowsHidden = false;
    if (!CanDraw() || m_game.m_gameOver || !m_game.m_prefs.m_showMovementArrows) {
        return;
    }
    ComputeArrows();
    for (int k = 0; k < kNumArrows; ++k) {
        if (m_arrowDstRects[k].right != 0) {
            RedrawCell(m_arrowDstRects[k], m_arrowRects[k]);
        }
    }
}

void CGameGraphics::HideArrows() {
    if (!CanDraw() || m_game.m_gameOver || !m_game.m_prefs.m_showMovementArrows) {
        return;
    }
    m_arrowsHidden = true;
    for (const RECT& arrow : m_arrowDstRects) {
        if (arrow.right != 0) {
            EraseCellRect(arrow);
        }
    }
}

void CGameGraphics::InvertTarget(const RECT& rect) {
    if (!CanDraw()) {
        return;
    }
    CSurfaceDC dc(m_pDisplay->GetBackBuffer());
    if (HDC hdc = dc.Get()) {
        InvertRect(hdc, &rect);
    }
}
