// Watching a listed game from the High Scores list: it plays on the board from its first
// position to the one the game showed when it ended, with its row on a pale blue band and each
// turn where no step or wait was safe marked in red; the keys pause, step, hurry and stop it,
// and the game under way before comes back as it stood, also after a quit while watching.
#include "Scenario.h"

#include <algorithm>
#include <functional>

namespace {

constexpr char kWatching[] = "centre Watching Blimpers: 40";
constexpr uint32_t kWatchedRowColor = Rgb(204, 232, 255);
// The actions of the listed game taken where no step or wait was safe.
constexpr size_t kCorneredActions[] = {13, 16};

// The colour between the score and the name of the row of rank 10.
uint32_t RankTenBand(HWND list) {
    return CaptureClient(list).At(75, 60 + 20 * 10);
}

// Opens the list beside the main window, where the board stays in sight, and chooses the row of
// rank 10 with the arrow keys and Enter or with a double-click, during the step `stepDuring` of
// the game under way if given.
HWND WatchRankTen(Game& game, bool byKeys, char stepDuring = 0) {
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
    game.WaitForStatusLine(kWatching, Format("after %s on rank 10", how));
    E2E_CHECK(WaitUntil([&] { return RankTenBand(list) == kWatchedRowColor; }),
              "while rank 10 is watched after %s its row is %s", how,
              DescribeColor(RankTenBand(list)).c_str());
    return list;
}

} // namespace

E2E_TEST(watching_a_listed_game_plays_it_and_brings_back_the_game_put_aside) {
    const RecordedGame listed(context, "high-score");
    Picture ended;
    {
        // The qualifying game ends and enters the list at rank 10 under the offered name.
        ResumedGame resumed(context, "high-score");
        EnsureNumLockOn();
        resumed.game.Press(NumericPadKey(resumed.moves[resumed.resumed]));
        const MessageBoxSeen dialog = resumed.game.WaitForMessageBox("after the fatal wait");
        BringToFront(dialog.window, "the name dialog");
        PressKey(VK_RETURN);
        PostMessageA(WaitForHighScoresWindow("after the name was entered"), WM_CLOSE, 0, 0);
        ended = WaitForSteadyPicture(resumed.game.FindMainWindow());
        QuitWithQ(resumed.game);
    }
    ResumedGame resumed(context, "resume");
    Game& game = resumed.game;
    // The row is chosen while the game under way animates its next step: watching starts once
    // the step is over.
    const Position underWay = resumed.recorded.PositionAfter(resumed.resumed + 1);
    const HWND list = WatchRankTen(game, false, resumed.moves[resumed.resumed]);
    game.Press(VK_SPACE);
    game.WaitForStatusLineStarting(std::string(kWatching) + " - paused", "after Space");
    const size_t paused = game.WaitForBoardOf(listed, resumed.sheet, "after Space");
    E2E_CHECK(paused < kCorneredActions[0], "watching was paused only after action %zu", paused);
    const auto redInStatusLine = [&] {
        return HasPixelOf(game.Capture(), {0, kBoardHeight + 1, kClientWidth, kClientHeight},
                          Rgb(255, 0, 0));
    };
    for (size_t action = paused + 1; action <= kCorneredActions[1]; ++action) {
        game.Press(VK_RIGHT);
        const std::string when = Format("after the right arrow played action %zu", action);
        game.WaitForBoard(listed.PositionAfter(action), resumed.sheet, when);
        const bool cornered =
            std::count(std::begin(kCorneredActions), std::end(kCorneredActions), action) != 0;
        game.WaitForStatusLine(std::string(kWatching) + " - paused" +
                                   (cornered ? " - no safe step or wait" : ""),
                               when);
        E2E_CHECK(WaitUntil([&] { return redInStatusLine() == cornered; }),
                  "%s the status line is %sred", when.c_str(), cornered ? "not " : "");
    }
    TypeText("+++");
    game.WaitForStatusLineStarting(std::string(kWatching) + " - fastest - paused", "after + + +");
    game.Press(VK_SPACE);
    // Some twenty actions with their animations, on a machine that may be busy.
    game.WaitForStatusLineStarting(std::string(kWatching) + " - fastest - the game has ended",
                                   "once the watched game has played on", 3 * kPatienceMs);
    const std::string difference =
        FirstBoardDifference(ended, WaitForSteadyPicture(game.FindMainWindow()));
    E2E_CHECK(difference.empty(), "the watched game ends on another board than the game did: %s",
              difference.c_str());
    const auto checkStopped = [&](const char* how) {
        const std::string when = Format("after %s stopped watching", how);
        game.WaitForBoard(underWay, resumed.sheet, when);
        game.WaitForStatusLine(StatusLineOf(underWay), when);
        E2E_CHECK(WaitUntil([&] { return RankTenBand(list) != kWatchedRowColor; }),
                  "%s rank 10 is still marked as watched", when.c_str());
    };
    game.Press(VK_ESCAPE);
    checkStopped("Esc");
    const Picture restored = WaitForSteadyPicture(game.FindMainWindow());
    // Paused, so that the stop is not put off until an action has ended.
    const struct {
        const char* how;
        std::function<void()> stop;
    } stops[] = {
        {"Ctrl+N", [&] { game.Press('N', kCtrl); }},
        {"a click on the board",
         [&] {
             ClickAt(game.CellOnScreen({kColumns / 2, kRows / 2}));
         }},
    };
    for (const auto& row : stops) {
        WatchRankTen(game, false);
        game.Press(VK_SPACE);
        game.WaitForStatusLineStarting(std::string(kWatching) + " - paused", row.how);
        row.stop();
        checkStopped(row.how);
    }
    // A quit while watching saves the game put aside, and the next start resumes it.
    WatchRankTen(game, true);
    QuitWithQ(game);
    Game restarted(context);
    restarted.WaitForBoard(underWay, resumed.sheet, "at the start after a quit while watching");
    E2E_CHECK(WaitForSteadyPicture(restarted.WaitForMainWindow()).pixels == restored.pixels,
              "at the start after a quit while watching the window shows another board or status "
              "line than when watching had stopped");
    QuitWithQ(restarted);
}
