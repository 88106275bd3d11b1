// Watching a listed game: it plays as its record says under the standard settings, leaves no
// trace, and the game put aside comes back as it stood.
#include "WatchSession.h"

#include "CommandIds.h"
#include "GameFixture.h"
#include "Hindsight.h"

namespace {

// A listed game whose screwdriver and teleport were taken where no step or wait was safe.
constexpr int64_t kListedStart = 1700000000;
constexpr const char* kListedMoves = "777778855555S55T7777777778 5";

uint32_t g_tick = 0;
uint32_t TestClock() {
    return g_tick;
}

// What the board shows and the records hold of a game.
std::string Position(const CGame& game) {
    return std::string(reinterpret_cast<const char*>(game.m_grid), sizeof game.m_grid) + " score " +
           std::to_string(game.m_score) + " level " + std::to_string(game.m_level) + " start " +
           std::to_string(game.m_startTime) + " end " + std::to_string(game.m_endTime) +
           (game.m_gameOver ? " over " : " ") + (game.m_moveLog ? game.m_moveLog : "");
}

class WatchSessionTest : public GameTest {
protected:
    WatchSessionTest() : watch(game, TestClock) { g_tick = 0; }

    bool Watch(const char* moves = kListedMoves) {
        return watch.Start(CPreferences2(), kListedStart, moves, "Fenwright", 40, g_tick);
    }
    // Plays due actions, a second apart, until the watched game ends.
    void WatchToTheEnd() {
        for (int second = 0; second < 100 && !watch.HasEnded(); ++second) {
            g_tick += 1000;
            watch.PlayDueAction(g_tick);
        }
    }
    Calls Traces() const {
        return host.Only({"Sound", "AskPlayerName", "LastGameRecord", "HighScoreRecord",
                          "InsertHighScore", "SaveGameInProgress", "AdvancedOptions"});
    }

    CWatchSession watch;
};

TEST_F(WatchSessionTest, AListedGamePlaysToItsEndUnderTheStandardSettingsMarkingCorneredTurns) {
    CNullGameHost nullHost;
    CGame replayed(nullHost, nullptr);
    ReplayStoredGame(replayed, kListedStart, kListedMoves);
    CGame explained(nullHost, nullptr);
    const std::vector<Judgement> judgements = ExplainGame(explained, kListedStart, kListedMoves);
    // Live settings that would play the record otherwise.
    game.m_prefs.m_robotsBase = 3;
    host.qualifies = true;
    StartGame();
    ASSERT_TRUE(Watch());
    EXPECT_EQ(watch.StatusText(), "Watching Fenwright: 40");
    for (const Judgement& judgement : judgements) {
        g_tick += 1000;
        watch.PlayDueAction(g_tick);
        EXPECT_EQ(watch.LastActionWasCornered(), judgement.SafeMoveCount() == 0);
    }
    ASSERT_TRUE(watch.HasEnded());
    game.m_endTime = replayed.m_endTime;
    EXPECT_EQ(Position(game), Position(replayed));
    EXPECT_EQ(watch.StatusText().rfind("Watching Fenwright: 40 - the game has ended", 0), 0u);
    EXPECT_EQ(Traces(), Calls{}) << "no sound, record, list entry or name";
    EXPECT_EQ(watch.WaitBeforeNextAction(g_tick), std::nullopt);
}

TEST_F(WatchSessionTest, TheGamePutAsideComesBackAsItStoodUnheardAndUnrecorded) {
    const struct {
        const char* what;
        const char* moves; // played before watching, "*" waits until the end; null for the demo
        bool ended;
        const char* cameBack; // the log afterwards
    } cases[] = {
        {"a game under way", "5566", false, "5566"},
        {"a fresh game", "", false, ""},
        {"an ended game", "*", true, nullptr},
        {"the demo, whose place a fresh game takes", nullptr, false, ""},
    };
    for (const auto& row : cases) {
        game.m_prefs.m_robotsBase = 7;
        if (row.moves) {
            StartGame(4000);
            for (const char* c = row.moves; *c && !game.m_gameOver; ++c) {
                PlayMove(game, *c);
            }
            while (*row.moves == '*' && !game.m_gameOver) {
                PlayMove(game, '5');
            }
        } else {
            NewGame(game, kDemoSeed, kDemoMoves, false);
            ReplayNextMove(game);
        }
        ASSERT_EQ(game.m_gameOver, row.ended) << row.what;
        const std::string before = Position(game);
        host.qualifies = true;
        host.Clear();
        ASSERT_TRUE(Watch()) << row.what;
        WatchToTheEnd();
        watch.Stop();
        EXPECT_EQ(game.m_prefs.m_robotsBase, 7) << row.what;
        if (row.moves) {
            EXPECT_EQ(Position(game), before) << row.what;
        } else {
            EXPECT_TRUE(!game.m_gameOver && !game.m_demoMode && game.m_level == 1) << row.what;
        }
        EXPECT_EQ(Log().empty(), row.cameBack && !*row.cameBack) << row.what;
        EXPECT_EQ(Traces(), Calls{}) << row.what;
        game.m_prefs.m_robotsBase = 0;
    }
}

TEST_F(WatchSessionTest, OnlyARecordOfActionsIsWatchedAndTheKeysPauseStepAndChangeTheSpeed) {
    StartGame();
    for (const char* moves : {"", ". ", "55X5"}) {
        EXPECT_FALSE(Watch(moves) || watch.IsWatching() || game.m_demoMode) << moves;
    }
    ASSERT_TRUE(Watch());
    const struct {
        int command; // 0 for none
        size_t logged;
        std::optional<uint32_t> wait; // before the next action, at tick 0
    } steps[] = {
        {0, 0, 1000},
        {IDM_WATCH_FASTER, 0, 500},
        {IDM_WATCH_FASTER, 0, 250},
        {IDM_WATCH_FASTER, 0, 0},
        {IDM_WATCH_FASTER, 0, 0},
        {IDM_STEP_EAST, 0, 0}, // one action only while paused
        {IDM_WATCH_SLOWER, 0, 250},
        {IDM_WATCH_SLOWER, 0, 500},
        {IDM_WATCH_SLOWER, 0, 1000},
        {IDM_WATCH_SLOWER, 0, 1000},
        {IDM_WAIT, 0, std::nullopt},
        {IDM_STEP_EAST, 1, std::nullopt},
        {IDM_STEP_EAST, 2, std::nullopt},
        {IDM_TELEPORT, 2, std::nullopt}, // the player's actions are swallowed
        {IDM_WAIT, 2, 1000},
    };
    for (const auto& step : steps) {
        if (step.command) {
            EXPECT_TRUE(watch.HandleCommand(step.command, 0)) << step.command;
        }
        EXPECT_EQ(game.m_moveLogLength, step.logged) << step.command;
        EXPECT_EQ(watch.WaitBeforeNextAction(0), step.wait) << step.command;
    }
    EXPECT_EQ(watch.WaitBeforeNextAction(600), 400u) << "the wait counts from the last action";
    EXPECT_FALSE(watch.HandleCommand(IDM_SHOW_HIGH_SCORES, 0));
    EXPECT_TRUE(watch.HandleCommand(IDM_QUIT_OR_STOP_WATCHING, 0));
    EXPECT_FALSE(watch.IsWatching());
    EXPECT_EQ(Log(), "") << "Esc brought back the fresh game";
    EXPECT_FALSE(watch.HandleCommand(IDM_WAIT, 0)) << "nothing is watched any more";
}

TEST_F(WatchSessionTest, AQuitWhileWatchingSavesTheGamePutAsideOnce) {
    for (const bool ended : {false, true}) {
        game.m_closing = false;
        StartGame(4000);
        PlayMove(game, '5');
        game.m_gameOver = ended;
        const std::string log = Log();
        ASSERT_TRUE(Watch());
        watch.PlayDueAction(g_tick += 1000);
        host.Clear();
        EXPECT_FALSE(watch.HandleCommand(IDM_QUIT, 0)) << "the quit goes its usual way";
        QuitGame(game, SettingsAtQuit::kStore);
        const Calls saved = ended ? Calls{} : Calls{"SaveGameInProgress(4000,0," + log + ")"};
        EXPECT_EQ(host.Only({"SaveGameInProgress"}), saved) << ended;
        EXPECT_FALSE(watch.IsWatching());
    }
}

} // namespace
