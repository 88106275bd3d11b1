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
    for (const int command : {IDM_WATCH_SLOWER, IDM_STEP_EAST, IDM_TELEPORT}) {
        EXPECT_TRUE(watch.HandleCommand(command, 0)) << command;
    }
    EXPECT_EQ(game.m_moveLogLength, 0u) << "a step only while paused, the player's actions never";
    EXPECT_EQ(watch.WaitBeforeNextAction(0), 1000u) << "no slower than the normal speed";
    for (int faster = 0; faster < 4; ++faster) {
        watch.HandleCommand(IDM_WATCH_FASTER, 0);
    }
    EXPECT_EQ(watch.WaitBeforeNextAction(0), 0u) << "no faster than as fast as possible";
    watch.HandleCommand(IDM_WATCH_SLOWER, g_tick = 100);
    EXPECT_EQ(watch.WaitBeforeNextAction(100), 150u) << "a new speed counts from the last action";
    EXPECT_FALSE(watch.HandleCommand(IDM_SHOW_HIGH_SCORES, 0));
    EXPECT_TRUE(watch.HandleCommand(IDM_QUIT_OR_STOP_WATCHING, 0));
    EXPECT_FALSE(watch.IsWatching());
    EXPECT_EQ(Log(), "") << "Esc brought back the fresh game";
    EXPECT_FALSE(watch.HandleCommand(IDM_WAIT, 0)) << "nothing is watched any more";
}

// The next action is due a whole interval of the speed after the end of the last one, the start
// of watching or the end of a pause, whichever came last; nothing plays before or while paused.
TEST_F(WatchSessionTest, EachActionIsDueAWholeIntervalAfterTheLastActionTheStartOrTheResume) {
    constexpr int kLook = 0;   // nothing happens
    constexpr int kPlay = 1;   // the main loop plays what is due
    constexpr int kWhole = -1; // a whole interval
    constexpr int kNone = -2;  // none: paused
    const struct {
        const char* what;
        int intervals, ms; // after the start
        int command;       // kLook, kPlay or a key's
        size_t played;
        int wait; // before the next action: kWhole, kNone or milliseconds
    } steps[] = {
        {"the start", 0, 0, kLook, 0, kWhole},
        {"just before the first is due", 1, -1, kPlay, 0, 1},
        {"the first due", 1, 0, kPlay, 1, kWhole},
        {"a pause during the wait", 1, 100, IDM_WAIT, 1, kNone},
        {"a long pause", 1, 5100, kPlay, 1, kNone},
        {"a step while paused", 1, 5100, IDM_STEP_EAST, 2, kNone},
        {"the resume", 1, 7100, IDM_WAIT, 2, kWhole},
        {"just before the next is due", 2, 7099, kPlay, 2, 1},
        {"the next due", 2, 7100, kPlay, 3, kWhole},
    };
    // From the second start the tick count wraps around.
    for (const uint32_t start : {50000u, 0xFFFFF000u}) {
        for (int speed = 0; speed < 4; ++speed) {
            const uint32_t interval = kWatchActionIntervalsMs[speed];
            g_tick = start;
            StartGame();
            ASSERT_TRUE(Watch());
            for (int faster = 0; faster < speed; ++faster) {
                watch.HandleCommand(IDM_WATCH_FASTER, g_tick);
            }
            for (const auto& step : steps) {
                const std::string where = std::string(step.what) + " at speed " +
                                          std::to_string(speed) + " from " + std::to_string(start);
                g_tick = start + interval * step.intervals + step.ms;
                if (step.command == kPlay) {
                    watch.PlayDueAction(g_tick);
                } else if (step.command != kLook) {
                    watch.HandleCommand(step.command, g_tick);
                }
                EXPECT_EQ(game.m_moveLogLength, step.played) << where;
                const std::optional<uint32_t> wait =
                    step.wait == kNone
                        ? std::nullopt
                        : std::optional<uint32_t>(step.wait == kWhole ? interval : step.wait);
                EXPECT_EQ(watch.WaitBeforeNextAction(g_tick), wait) << where;
            }
            watch.Stop();
        }
    }
}

// The Sound switch and the windows' places are the player's; the other settings are those of
// the game put aside, which the commands of the watched game do not change.
TEST_F(WatchSessionTest, OnlyWhatThePlayerChangesWhileWatchingOutlastsIt) {
    const struct {
        const char* what;
        int command;     // the menu's; 0 for none
        uint8_t soundOn; // before watching
        // What the program does when watching passes the command on; null when watching takes it.
        void (*done)(CPreferences2&);
    } changes[] = {
        {"Sound turned off", IDM_SOUND, 1, [](CPreferences2& p) { p.m_soundOn = 0; }},
        {"Sound turned on", IDM_SOUND, 0, [](CPreferences2& p) { p.m_soundOn = 1; }},
        {"the High Scores window closed elsewhere", 0, 1,
         [](CPreferences2& p) { p.m_highScoresWindowPlacement.normalLeft += 40; }},
        {"Toggle Grid", IDM_TOGGLE_GRID, 1, nullptr},
        {"Toggle Color", IDM_TOGGLE_COLOR, 1, nullptr},
        {"Advanced Options", IDM_ADVANCED_OPTIONS, 1, nullptr},
    };
    const std::pair<const char*, int> ends[] = {{"Esc", IDM_QUIT_OR_STOP_WATCHING},
                                                {"New Game", IDM_NEW_GAME},
                                                {"Q", IDM_QUIT},
                                                {"Alt+X", IDM_QUIT_KEEPING_SETTINGS}};
    for (const auto& change : changes) {
        for (const auto& [end, endCommand] : ends) {
            const std::string where = std::string(change.what) + ", then " + end;
            game.m_prefs.SetDefaults();
            game.m_prefs.m_robotsBase = 7;
            game.m_prefs.m_gridStyle = 2;
            game.m_prefs.m_soundOn = change.soundOn;
            StartGame();
            CPreferences2 expected = game.m_prefs;
            ASSERT_TRUE(Watch()) << where;
            if (change.command) {
                EXPECT_EQ(watch.HandleCommand(change.command, 0), !change.done) << where;
            }
            if (change.done) {
                change.done(game.m_prefs);
                change.done(expected);
            }
            watch.HandleCommand(endCommand, 0);
            EXPECT_FALSE(watch.IsWatching()) << where;
            EXPECT_FALSE(game.m_prefs.Differs(&expected)) << where;
        }
    }
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
