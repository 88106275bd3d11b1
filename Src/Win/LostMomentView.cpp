#include "LostMomentView.h"

#include "CommandIds.h"
#include "GameUI.h"
#include "LostMoment.h"

namespace {

constexpr WORD kFromAccelerator = 1;

bool ActsAfterTheMoment(int id) {
    return id == IDM_NEW_GAME || id == IDM_EXIT || id == IDM_QUIT ||
           id == IDM_QUIT_KEEPING_SETTINGS;
}

} // namespace

void ShowLostMoment() {
    // Made at the first use: it holds a game of its own.
    static CLostMoment moment;
    CGameGraphics& graphics = g_host.Graphics();
    if (!graphics.ShowsLostMoment() && HasLostMoment(g_game) && moment.Find(g_game)) {
        graphics.ShowLostMoment(moment);
    }
}

bool LostMomentTakesMessage(UINT message, WPARAM wParam) {
    CGameGraphics& graphics = g_host.Graphics();
    if (!graphics.ShowsLostMoment()) {
        return false;
    }
    switch (message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        graphics.HideLostMoment();
        return true;
    case WM_SYSKEYDOWN:
        // Alt still opens the menus.
        graphics.HideLostMoment();
        return false;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_LOST_MOMENT) {
            return true;
        }
        graphics.HideLostMoment();
        return HIWORD(wParam) == kFromAccelerator && !ActsAfterTheMoment(LOWORD(wParam));
    default:
        return false;
    }
}
