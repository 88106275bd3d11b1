// Watching a listed game from the High Scores list: it plays on the board from its first
// position to the one the game showed when it ended, the keys pause, step, hurry and stop it,
// and the game under way before comes back as it stood, also after a quit while watching.
#include "Scenario.h"

namespace {

constexpr char kWatching[] = "centre Watching Blimpers: 40";

// Opens the list beside the main window, where the board stays in sight, and double-clicks the
// row of rank 10.
void WatchRankTen(Game& game) {
    game.SendPromptly(WM_COMMAND, IDM_SHOW_HIGH_SCORES, 0);
    const HWND list = WaitForHighScoresWindow("before watching");
    const RECT main = WindowRect(game.FindMainWindow());
    SetWindowPos(list, nullptr, main.right + 8, main.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    BringToFront(list, "the High Scores window");
    DoubleClickAt(HighScoresRowPoint(list, 10));
    game.WaitForStatusLine(kWatching, "after a double-click on rank 10");
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
    const Position underWay = resumed.recorded.PositionAfter(resumed.resumed);
    const Picture before = WaitForSteadyPicture(game.FindMainWindow());
    WatchRankTen(game);
    game.Press(VK_SPACE);
    game.WaitForStatusLineStarting(std::string(kWatching) + " - paused", "after Space");
    const size_t paused = game.WaitForBoardOf(listed, resumed.sheet, "after Space");
    for (size_t action = 1; action <= 2; ++action) {
        game.Press(VK_RIGHT);
        game.WaitForBoard(listed.PositionAfter(paused + action), resumed.sheet,
                          Format("after %zu presses of the right arrow while paused", action));
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
    game.Press(VK_ESCAPE);
    game.WaitForBoard(underWay, resumed.sheet, "after Esc stopped watching");
    game.WaitForStatusLine(StatusLineOf(underWay), "after Esc stopped watching");
    // A quit while watching saves the game put aside, and the next start resumes it.
    WatchRankTen(game);
    QuitWithQ(game);
    Game restarted(context);
    restarted.WaitForBoard(underWay, resumed.sheet, "at the start after a quit while watching");
    E2E_CHECK(WaitForSteadyPicture(restarted.WaitForMainWindow()).pixels == before.pixels,
              "at the start after a quit while watching the window shows another board or status "
              "line than before watching");
    QuitWithQ(restarted);
}
