// The main window: its fixed client area, and the board it shows for a resumed game.
#include "Game.h"

namespace {

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

bool InMoveOrSize(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
           (info.flags & GUI_INMOVESIZE) != 0;
}

// Drags with the left button through the window's sizing or moving loop, waiting for the loop
// to start before moving and to end after releasing, as the hand of a person would: mouse
// input that reaches the loop before it has started is lost to it.
void DragFrame(HWND window, POINT from, POINT to, const char* what) {
    MouseMoveTo(from);
    MouseDown(from);
    if (!WaitUntil([&] { return InMoveOrSize(window); })) {
        Fail("pressing the %s started no sizing or moving", what);
    }
    for (int step = 1; step <= 4; ++step) {
        MouseMoveTo({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    }
    MouseUp(to);
    if (!WaitUntil([&] { return !InMoveOrSize(window); })) {
        Fail("releasing the %s did not end the sizing or moving", what);
    }
}

} // namespace

E2E_TEST(client_area_stays_496_by_322) {
    StoreDefaultPreferences();
    Game game(context);
    const HWND window = game.WaitForMainWindow();
    CheckClientSize(window, "at start-up");
    if (GetWindowLongA(window, GWL_STYLE) & WS_MAXIMIZEBOX) {
        Fail("the window offers to be maximised");
    }
    const RECT before = WindowRect(window);
    const LONG width = before.right - before.left;
    const LONG height = before.bottom - before.top;

    SetWindowPos(window, nullptr, 0, 0, width + 120, height + 90,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CheckClientSize(window, "after SetWindowPos asked for a larger window");

    const POINT corner = game.FindFramePoint(HTBOTTOMRIGHT, "bottom-right sizing corner");
    DragFrame(window, corner, {corner.x + 60, corner.y + 40}, "bottom-right corner");
    const RECT after = WindowRect(window);
    if (after.right - after.left != width || after.bottom - after.top != height) {
        Fail("dragging the corner resized the window from %ld x %ld to %ld x %ld", width, height,
             after.right - after.left, after.bottom - after.top);
    }
    CheckClientSize(window, "after dragging the corner");
}

E2E_TEST(board_shows_resumed_game) {
    const RecordedGame recorded(context, "resume");
    const size_t length = recorded.Record().moves.size();
    PrepareResume(context, recorded, length);
    Game game(context);
    game.WaitForMainWindow();
    game.WaitForBoard(recorded.PositionAfter(length),
                      LoadSpriteSheet(context.installDir, context.gamePath),
                      "the resumed game of resume.txt");
    if (FileExists(DataFilePath("Saved Game.txt"))) {
        Fail("\"Saved Game.txt\" is still there after it was resumed");
    }
}
