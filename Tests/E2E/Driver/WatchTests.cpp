// Watching a listed game from the High Scores list: it plays on the board from its first
// position to the one the game showed when it ended, with its row on a pale blue band and each
// turn where no step or wait was safe marked in red; the keys pause, step, hurry and stop it,
// and the game under way before comes back as it stood, also after a quit while watching.
#include "Scenario.h"

#include <algorithm>
#include <functional>

E2E_TEST(watching_a_listed_game_plays_it_and_brings_back_the_game_put_aside) {
    // The actions of the listed game taken where no step or wait was safe.
    constexpr size_t kCorneredActions[] = {13, 16};
    const RecordedGame listed(context, "high-score");
    Picture ended;
    {
        // The qualifying game ends and enters the list at rank 10 under the offered name.
        ResumedGame resumed(context, "high-score");
        ended = EnterOfferedName(resumed.game, resumed.moves[resumed.resumed]);
        QuitWithQ(resumed.game);
    }
    ResumedGame resumed(context, "resume");
    Game& game = resumed.game;
    // The row is chosen while the game under way animates its next step: watching starts once
    // the step is over.
    const Position underWay = resumed.recorded.PositionAfter(resumed.resumed + 1);
    const HWND list = WatchRankTen(game, false, resumed.moves[resumed.resumed]);
    game.Press(VK_SPACE);
    game.WaitForStatusLineStarting(std::string(kWatchingRankTen) + " - paused", "after Space");
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
        game.WaitForStatusLine(std::string(kWatchingRankTen) + " - paused" +
                                   (cornered ? " - no safe step or wait" : ""),
                               when);
        E2E_CHECK(WaitUntil([&] { return redInStatusLine() == cornered; }),
                  "%s the status line is %sred", when.c_str(), cornered ? "not " : "");
    }
    TypeText("+++");
    game.WaitForStatusLineStarting(std::string(kWatchingRankTen) + " - fastest - paused",
                                   "after + + +");
    game.Press(VK_SPACE);
    // Some twenty actions with their animations, on a machine that may be busy.
    game.WaitForStatusLineStarting(std::string(kWatchingRankTen) +
                                       " - fastest - the game has ended",
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
        game.WaitForStatusLineStarting(std::string(kWatchingRankTen) + " - paused", row.how);
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
