#include "MouseInput.h"

#include "DisplayScale.h"

#include <windowsx.h>

namespace {

// The ninth target of a press: the player's own cell, which waits a turn.
constexpr int kPlayerTarget = kNumArrows;
constexpr int kNoTarget = -1;
// The last of the mouse messages that the tracking takes from the queue.
constexpr UINT kLastMouseMessage = 0x20E;
constexpr DWORD kRepresentMs = 10;

// `windowPoint` is in window pixels; the frame is shown at the graphics' scale.
int HitTest(const CGameGraphics& graphics, POINT windowPoint) {
    const POINT point = {ToFramePixel(windowPoint.x, graphics.Scale()),
                         ToFramePixel(windowPoint.y, graphics.Scale())};
    for (int k = 0; k < kNumArrows; ++k) {
        const RECT& arrow = graphics.m_arrowDstRects[k];
        if (arrow.right != 0 && PtInRect(&arrow, point)) {
            return k;
        }
    }
    return PtInRect(&graphics.m_playerDstRect, point) ? kPlayerTarget : kNoTarget;
}

const RECT& TargetRect(const CGameGraphics& graphics, int target) {
    return target == kPlayerTarget ? graphics.m_playerDstRect : graphics.m_arrowDstRects[target];
}

void MoveHighlight(CGameGraphics& graphics, int& highlighted, int target) {
    if (target == highlighted) {
        return;
    }
    if (highlighted != kNoTarget) {
        graphics.InvertTarget(TargetRect(graphics, highlighted));
    }
    if (target != kNoTarget) {
        graphics.InvertTarget(TargetRect(graphics, target));
    }
    highlighted = target;
}

// Wheel messages carry screen coordinates; every other mouse message client coordinates.
POINT MessagePoint(HWND hWnd, const MSG& msg) {
    POINT point = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    if (msg.message == WM_MOUSEWHEEL || msg.message == WM_MOUSEHWHEEL) {
        ScreenToClient(hWnd, &point);
    }
    return point;
}

// Follows the pointer until the button is released; true when it was, false when the press
// was cancelled by another window taking the mouse. Keyboard and other messages stay queued.
bool FollowPointer(CGameGraphics& graphics, HWND hWnd, POINT point, int& highlighted) {
    for (;;) {
        MoveHighlight(graphics, highlighted, HitTest(graphics, point));
        graphics.Present();
        if (GetCapture() != hWnd) {
            return false;
        }
        MSG msg;
        if (!PeekMessageA(&msg, hWnd, WM_MOUSEFIRST, kLastMouseMessage, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, kRepresentMs, QS_MOUSE);
            continue;
        }
        point = MessagePoint(hWnd, msg);
        if (msg.message == WM_LBUTTONUP) {
            // Where the button comes up decides, also when no move there was reported first.
            MoveHighlight(graphics, highlighted, HitTest(graphics, point));
            return true;
        }
    }
}

} // namespace

bool CanTrackMouse(const CGame& game) {
    // A move never starts inside another action, whose waits dispatch this click.
    return !game.m_gameOver && game.m_prefs.m_showMovementArrows && !game.m_demoMode &&
           !game.m_busy;
}

void TrackMouseMove(CGame& game, CGameGraphics& graphics, HWND hWnd, POINT point) {
    // The capture brings the release here also when it happens outside the window.
    SetCapture(hWnd);
    int highlighted = kNoTarget;
    const bool released = FollowPointer(graphics, hWnd, point, highlighted);
    ReleaseCapture();
    const int target = highlighted;
    MoveHighlight(graphics, highlighted, kNoTarget);
    graphics.Present();
    if (released && target != kNoTarget) {
        const bool stay = target == kPlayerTarget;
        MovePlayer(game, static_cast<int16_t>(stay ? 0 : kArrowSteps[target].dx),
                   static_cast<int16_t>(stay ? 0 : kArrowSteps[target].dy));
    }
}
