// The animations: the player's and the robots' steps, explosions, the player's death, the
// teleport rings and the screwdriver. Frames are paced by absolute deadlines on the tick count,
// so that slow drawing never stretches an animation; waits keep the window responsive, except
// in the teleport and the screwdriver, which hold the picture still while they wait. An
// animation whose display has gone keeps its time without drawing.
#include "GameGraphics.h"

#include "GameUI.h"

namespace {

constexpr int kStepFrames = 16;
constexpr DWORD kPlayerStepDelay = 16;
constexpr DWORD kRobotStepDelay = 32;
constexpr DWORD kFastLastStandDelay = 8;
constexpr DWORD kExplosionDelay = 128;
constexpr DWORD kDeathDelay = 128;
constexpr int kTeleportRings = 18;
constexpr int kTeleportRingGrowth = 4;
constexpr DWORD kTeleportRingDelay = 32;
constexpr DWORD kTeleportHalfwayPause = 287;
constexpr DWORD kScrewdriverShown = 320;
constexpr DWORD kScrewdriverAfter = 480;
constexpr COLORREF kTeleportRingColor = RGB(63, 63, 255);
constexpr COLORREF kScrewdriverColor = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Waits for each frame's deadline, dispatching messages meanwhile. A synchronised animation
// first waits for a fresh tick so that its frames start on one.
class CFramePacer {
public:
    CFramePacer(CGameUI& ui, DWORD delay, bool synchronise) : m_ui(ui), m_delay(delay) {
        const DWORD start = TickCount();
        if (synchronise) {
            m_ui.WaitPastTick(start);
        }
        m_deadline = start + delay;
    }

    void WaitForNextFrame() {
        m_ui.WaitPastTick(m_deadline);
        m_deadline += m_delay;
    }

private:
    CGameUI& m_ui;
    DWORD m_delay;
    DWORD m_deadline;
};

RECT ToRECT(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

void OffsetBy(Rect& r, int dx, int dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
}

void SleepFor(DWORD milliseconds) {
    SleepPastTick(TickCount() + milliseconds);
}

DWORD AnimationDelay(const CGame& game, DWORD delay) {
    return game.m_prefs.m_untimedAnimation ? 0 : delay;
}

DWORD RobotStepDelay(const CGame& game) {
    if (game.m_lastStandMode == 0) {
        return AnimationDelay(game, kRobotStepDelay);
    }
    if (game.m_prefs.m_lastStandFast) {
        return AnimationDelay(game, kFastLastStandDelay);
    }
    return AnimationDelay(game, game.m_prefs.m_lastStandUntimed ? 0 : kRobotStepDelay);
}

} // namespace

void CGameGraphics::AnimatePlayerStep(int dx, int dy) {
    if (!Animates()) {
        return;
    }
    CFramePacer pacer(m_ui, AnimationDelay(m_game, kPlayerStepDelay), true);
    const RECT cell = CellRect(m_game.m_playerX, m_game.m_playerY);
    RECT sprite = cell;
    OffsetRect(&sprite, dx, dy);
    RECT erase;
    UnionRect(&erase, &cell, &sprite);
    for (int frame = 0; frame < kStepFrames; ++frame) {
        // Dispatched messages may have closed the program and taken the display with it.
        if (!Animates() || m_game.m_closing) {
            return;
        }
        if (CanDraw()) {
            EraseRect(erase);
            DrawSprite(sprite.left, sprite.top, m_playerRect);
            Present();
        }
        OffsetRect(&sprite, dx, dy);
        OffsetRect(&erase, dx, dy);
        pacer.WaitForNextFrame();
    }
}

// Every frame erases all moving robots before drawing any, so that robots passing each other
// never wipe one another out.
void CGameGraphics::AnimateRobotSteps() {
    if (!Animates()) {
        return;
    }
    // A Last Stand runs turn after turn; waiting for a fresh tick would slow it down.
    CFramePacer pacer(m_ui, RobotStepDelay(m_game), m_game.m_lastStandMode == 0);
    for (int frame = 0; frame < kStepFrames; ++frame) {
        if (!Animates() || m_game.m_closing) {
            return;
        }
        if (CanDraw()) {
            DrawRobotStepFrame();
        }
        for (Robot* r = m_game.m_records; r->isAlive != kEndOfList; ++r) {
            if (r->isAlive != kRobotIsDead) {
                OffsetBy(r->rect, r->dx, r->dy);
                OffsetBy(r->moveRect, r->dx, r->dy);
            }
        }
        pacer.WaitForNextFrame();
    }
}

void CGameGraphics::DrawRobotStepFrame() {
    for (const Robot* r = m_game.m_records; r->isAlive != kEndOfList; ++r) {
        if (r->isAlive != kRobotIsDead) {
            EraseRect(ToRECT(r->rect));
        }
    }
    for (const Robot* r = m_game.m_records; r->isAlive != kEndOfList; ++r) {
        if (r->isAlive != kRobotIsDead) {
            DrawSprite(r->moveRect.left, r->moveRect.top, m_robotRect);
        }
    }
    Present();
}

// The last frame is the finished heap; it also goes onto the canvas, where it stays. Each
// explosion's frame is presented alone: the display may go at any of them.
void CGameGraphics::AnimateExplosions() {
    if (!Animates()) {
        return;
    }
    CFramePacer pacer(m_ui, AnimationDelay(m_game, kExplosionDelay), false);
    for (int frame = 0; frame < kNumExplosionFrames; ++frame) {
        if (!Animates() || m_game.m_closing) {
            return;
        }
        for (const Rect* e = m_game.m_explosionRects; e->right > 0 && CanDraw(); ++e) {
            const RECT rect = ToRECT(*e);
            EraseRect(rect);
            DrawSprite(rect.left, rect.top, m_robotExplosionRects[frame]);
            Present();
            if (frame == kNumExplosionFrames - 1) {
                DrawSpriteToBackground(m_robotExplosionRects[frame], rect);
            }
        }
        pacer.WaitForNextFrame();
    }
}

// Plays to the end even while the program closes, as long as there is a display to draw on.
void CGameGraphics::AnimatePlayerDeath(int x, int y, bool leaveHeap) {
    if (!Animates()) {
        return;
    }
    const RECT rect = TallCellRect(x, y);
    CFramePacer pacer(m_ui, AnimationDelay(m_game, kDeathDelay), true);
    for (int frame = 0; frame < kNumDeathFrames; ++frame) {
        if (!Animates()) {
            return;
        }
        if (CanDraw()) {
            EraseRect(rect);
            DrawSprite(rect.left, rect.top, m_playerDeathRects[frame]);
            Present();
        }
        if (frame == kNumDeathFrames - 1 && leaveHeap) {
            DrawSpriteToBackground(m_playerDeathRects[frame], rect);
        }
        pacer.WaitForNextFrame();
    }
    if (!leaveHeap) {
        EraseCellRect(rect);
    }
}

// A dotted ring drawn twice in the same place leaves no trace.
void CGameGraphics::DrawTeleportRing(const RECT& cell, int growth) {
    if (!CanDraw()) {
        return;
    }
    RECT ring = cell;
    InflateRect(&ring, growth, growth);
    DrawShape(ring, 'e', R2_NOTXORPEN, IsPlainScheme() ? kBlack : kTeleportRingColor, PS_DOT,
              HOLLOW_BRUSH);
    Present();
}

void CGameGraphics::DrawTeleportRings(const RECT& cell, int firstGrowth, int growthStep,
                                      DWORD& tick) {
    for (int i = 0; i < kTeleportRings; ++i) {
        const int growth = firstGrowth + growthStep * i;
        DrawTeleportRing(cell, growth);
        SleepPastTick(tick);
        DrawTeleportRing(cell, growth);
        tick += kTeleportRingDelay;
    }
}

// Rings spread out from the old cell, then close in on the new one. The timing is the same
// with untimed animation, and no message is dispatched meanwhile.
void CGameGraphics::AnimateTeleport(int fromX, int fromY, int toX, int toY) {
    if (!Animates()) {
        return;
    }
    DWORD tick = TickCount();
    DrawTeleportRings(CellRect(fromX, fromY), 0, kTeleportRingGrowth, tick);
    SleepFor(kTeleportHalfwayPause);
    tick = TickCount();
    DrawTeleportRings(CellRect(toX, toY), kTeleportRingGrowth * kTeleportRings,
                      -kTeleportRingGrowth, tick);
}

// Nested outlines inside the square of the screwdriver's range: circles for radius 1,
// squares for larger ranges.
void CGameGraphics::DrawScrewdriverOutlines(const RECT& square, int radius) {
    RECT outline = square;
    InflateRect(&outline, -2, -2);
    const bool circles = radius == 1;
    const COLORREF color = circles && !IsPlainScheme() ? kScrewdriverColor : kBlack;
    const int half = (outline.right - outline.left) / 2 - 2;
    const int extra = half >= 16 ? (half - 12) / 4 : 0;
    for (int i = 0; i <= extra; ++i) {
        DrawShape(outline, circles ? 'e' : 'r', R2_NOTXORPEN, color, PS_SOLID, HOLLOW_BRUSH);
        InflateRect(&outline, -4, -4);
    }
}

void CGameGraphics::InvertScrewdriverEllipse(const RECT& square) {
    if (!CanDraw()) {
        return;
    }
    DrawShape(square, 'e', R2_NOT, kBlack, PS_NULL, BLACK_BRUSH);
    Present();
}

// The square's part on the board is erased and the player drawn again.
void CGameGraphics::EraseScrewdriverSquare(const RECT& square) {
    if (!CanDraw()) {
        return;
    }
    RECT onBoard;
    if (IntersectRect(&onBoard, &square, &m_gameBoardRect)) {
        EraseRect(onBoard);
    }
    RedrawCell(m_playerDstRect, m_playerRect);
    Present();
    Present();
}

void CGameGraphics::AnimateScrewdriver(int effect, int x, int y, int radius) {
    if (!Animates()) {
        return;
    }
    const DWORD start = TickCount();
    const RECT square = {kCellPixels * (x - radius), kCellPixels * (y - radius),
                         kCellPixels * (x + radius) + kCellPixels,
                         kCellPixels * (y + radius) + kCellPixels};
    if (effect == 1) {
        if (CanDraw()) {
            DrawScrewdriverOutlines(square, radius);
            Present();
        }
        SleepFor(kScrewdriverShown);
        EraseScrewdriverSquare(square);
    } else if (effect == 2) {
        InvertScrewdriverEllipse(square);
        SleepPastTick(start + kScrewdriverShown);
        InvertScrewdriverEllipse(square);
    }
    SleepFor(kScrewdriverAfter);
}

bool CGameGraphics::HeapsSmolder() const {
    return m_game.m_prefs.m_smolderingHeaps != 0 && m_game.m_heapListEnd && !m_game.m_busy &&
           !m_game.m_closing && !m_pLostMoment && CanDraw() && !IsIconic(m_hWindow);
}

// A heap's frame is drawn where the canvas holds its plain picture, two pixels below the cell's
// top, and cut at the cell's bottom: only the heap's own cell changes.
void CGameGraphics::DrawSmolderingHeaps(uint32_t tickMs) {
    if (!CanDraw() || !m_game.m_heapListEnd) {
        return;
    }
    // A heap that the full record array left without a record has variant 0.
    uint8_t variants[kNumCells] = {};
    for (const Robot* h = m_game.m_lastRecord; h > m_game.m_heapListEnd; --h) {
        if (h->isAlive != kRobotIsDead) {
            variants[h->x * kGridHeight + h->y] = h->variant;
        }
    }
    for (int x = 0; x < kGridWidth; ++x) {
        for (int y = 0; y < kGridHeight; ++y) {
            if (m_game.Cell(x, y) != kCellHeap) {
                continue;
            }
            RECT frame = m_smolderingHeapRects[SmolderFrame(variants[x * kGridHeight + y], tickMs)];
            frame.bottom -= 2;
            EraseRect(CellRect(x, y));
            DrawSprite(x * kCellPixels, y * kCellPixels + 2, frame);
        }
    }
    Present();
}
