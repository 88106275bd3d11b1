#include "Automation.h"

POINT HighScoresRowBackground(int index) {
    return {500, 70 + 20 * index + 10};
}

HWND WaitForHighScoresList(int scale, const std::string& when, std::optional<LONG> clientLeft) {
    const HWND list = WaitForHighScoresWindow(when);
    CheckClientSize(list, kHighScoresWidth * scale, kHighScoresHeight * scale,
                    Format("%s the High Scores window at %dx:", when.c_str(), scale));
    if (clientLeft) {
        MoveClientLeftTo(list, *clientLeft);
    }
    const POINT rowEnd = HighScoresRowBackground(0);
    if (!WaitUntil([&] {
            return CaptureClient(list).At(rowEnd.x * scale, rowEnd.y * scale) ==
                   kHighScoresBackground;
        })) {
        Fail("%s the High Scores window shows no list", when.c_str());
    }
    return list;
}

Picture EnterOfferedName(Game& game, char move) {
    EnsureNumLockOn();
    game.Press(NumericPadKey(move));
    const MessageBoxSeen dialog = game.WaitForMessageBox("after the fatal wait");
    BringToFront(dialog.window, "the name dialog");
    PressKey(VK_RETURN);
    PostMessageA(WaitForHighScoresWindow("after the name was entered"), WM_CLOSE, 0, 0);
    return WaitForSteadyPicture(game.FindMainWindow());
}

uint32_t RankTenBand(HWND list) {
    return CaptureClient(list).At(75, 60 + 20 * 10);
}

HWND WatchRankTen(Game& game, bool byKeys, char stepDuring) {
    game.SendPromptly(WM_COMMAND, IDM_SHOW_HIGH_SCORES, 0);
    const HWND list = WaitForHighScoresWindow("before watching");
    const RECT main = WindowRect(game.FindMainWindow());
    SetWindowPos(list, nullptr, main.right + 8, main.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    BringToFront(list, "the High Scores window");
    if (byKeys) {
        // Up to the top whichever row was chosen, then down to rank 10.
        for (const WORD key : {VK_UP, VK_DOWN}) {
            for (int press = 0; press < 9; ++press) {
                PressKey(key);
            }
        }
        PressKey(VK_RETURN);
    } else {
        if (stepDuring) {
            game.Press(NumericPadKey(stepDuring));
        }
        DoubleClickAt(HighScoresRowPoint(list, 10));
    }
    const char* how = byKeys       ? "the arrow keys and Enter"
                      : stepDuring ? "a double-click during a step"
                                   : "a double-click";
    game.WaitForStatusLine(kWatchingRankTen, Format("after %s on rank 10", how));
    if (!WaitUntil([&] { return RankTenBand(list) == kWatchedRowColor; })) {
        Fail("while rank 10 is watched after %s its row is %s", how,
             DescribeColor(RankTenBand(list)).c_str());
    }
    return list;
}
