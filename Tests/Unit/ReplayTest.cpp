// The move log, replays of stored games and the demo, and the command entry.
#include "CommandIds.h"
#include "GameFixture.h"

namespace {

class ReplayTest : public GameTest {
protected:
    // The score, level, screwdrivers, end and log of the stored game `moves`, as the replay tool
    // replays it.
    std::string Replayed(int64_t startTime, const char* moves) {
        ReplayStoredGame(game, startTime, moves);
        return "score " + std::to_string(game.m_score) + " level " + std::to_string(game.m_level) +
               " screwdrivers " + std::to_string(game.m_screwdrivers) +
               (game.m_gameOver ? " over: " : ": ") + Log();
    }
};

TEST_F(ReplayTest, TheLogGrowsPastItsFirstBlockAndOneThatCannotGrowIsDropped) {
    StartGame();
    std::string moves;
    for (int i = 0; i < 3000; ++i) {
        moves += static_cast<char>('1' + i % 9);
        AppendMove(game, moves.back());
    }
    EXPECT_EQ(Log(), moves);
    EXPECT_EQ(game.m_moveLogLength, 3000u);
    EXPECT_EQ(game.m_moveLogCapacity, 3125u) << "1024, 1280, 1600, 2000, 2500, 3125";
    // A log that cannot grow is dropped, and the game goes on.
    host.qualifies = true;
    Start(WithFarRobot({"A"}));
    // The next block of a log this long would pass 4 GiB.
    game.m_moveLogCapacity = 0xF0000000u;
    game.m_moveLogLength = game.m_moveLogCapacity - 1;
    MovePlayer(game, 1, 0);
    EXPECT_EQ(game.m_moveLog, nullptr);
    EXPECT_EQ(game.Cell(1, 0), kCellPlayer) << "the step itself is taken";
    MovePlayer(game, 1, 0);
    NewGame(game, 0, nullptr, false);
    EXPECT_EQ(host.Only({"HighScoreRecord", "LastGameRecord", "SaveGameInProgress"}),
              Calls{"HighScoreRecord(1000,0,)"});
}

TEST_F(ReplayTest, TheBuiltInDemosPlaySilentlyToTheirFinalPositionsAndLeaveNoRecord) {
    EXPECT_EQ(Replayed(kDemoSeed, kDemoMoves),
              "score 60 level 1 screwdrivers 0 over: 474S9666T2222114");
    EXPECT_EQ(Replayed(kDemo9xSeed, kDemo9xMoves),
              "score 20 level 1 screwdrivers 1 over: 69988T2466");
    host.Clear();
    host.qualifies = true;
    NewGame(game, kDemoSeed, kDemoMoves, false);
    while (ReplayNextMove(game)) {
    }
    EXPECT_FALSE(game.m_demoMode);
    EXPECT_TRUE(game.m_gameOver);
    EXPECT_TRUE(host.Only({"Sound", "AskPlayerName", "LastGameRecord", "ScoreQualifies"}).empty());
    NewGame(game, 1278814760, "55", false);
    while (ReplayNextMove(game)) {
    }
    EXPECT_TRUE(game.m_gameOver) << "a demo whose moves run out ends there";
}

TEST_F(ReplayTest, RestoreSceneDrawsOnlyTheRestoredBoardAndPlaysItsLastSoundOnce) {
    NewGame(game, 1663312166, "251139JKS", true);
    EXPECT_FALSE(game.m_restoring);
    EXPECT_FALSE(game.m_gameOver);
    EXPECT_EQ(Log(), "251139JKS");
    EXPECT_EQ(
        host.Only({"SuppressDrawing", "ResumeDrawing", "RedrawBoard", "BringWindowToTop", "Sound"}),
        (Calls{"RedrawBoard", "SuppressDrawing", "ResumeDrawing", "RedrawBoard", "BringWindowToTop",
               "Sound:Screwdriver"}))
        << "the first level and the restored board are drawn, and once the window is on top, "
           "as a fresh game's before its intro, the last action's sound is played";
    host.Clear();
    NewGame(game, 1663312166, "251139JK4", true);
    EXPECT_EQ(host.Only({"Sound"}), (Calls{"Sound:PlayerDies", "Sound:Intro"}))
        << "a stored game that ends in its replay sounds its end before the fresh game";
}

TEST_F(ReplayTest, BlanksPeriodsAndLineBreaksAreSkippedAndAnUnknownCharacterEndsTheStoredGame) {
    EXPECT_EQ(Replayed(1278814760, " 55. 55\r\n55\t5\v\f5 "),
              "score 0 level 1 screwdrivers 1: 55555555");
    EXPECT_EQ(Replayed(1278814760, "55x555"), "score 0 level 1 screwdrivers 1 over: 55")
        << "the replay tool keeps the ended game";
    host.Clear();
    // When a saved game is resumed, a fresh one follows.
    NewGame(game, 1278814760, "55x555", true);
    EXPECT_EQ(host.Only({"LastGameRecord"}), Calls{"LastGameRecord(1278814760,0,55)"});
    EXPECT_EQ(game.m_startTime, host.now);
    EXPECT_FALSE(game.m_gameOver);
    EXPECT_EQ(Log(), "");
}

TEST_F(ReplayTest, CommandsFlushTheKeysAroundActionsAndAreSwallowedWhileBusyOrInTheDemo) {
    Start(WithFarRobot({"", "", "", "", "", ".....A"}));
    HandleGameCommand(game, IDM_STEP_EAST);
    EXPECT_EQ(host.calls,
              (Calls{"HideCursor", "BringWindowToTop", "Flush", "HideArrows",
                     "AnimatePlayerStep(1,0)", "SetPlayerCell(6,5)", "SetRobotStepRects(30,17)",
                     "AnimateRobotSteps", "DrawArrows", "Flush"}));
    EXPECT_EQ(Log(), "6");
    host.Clear();
    HandleGameCommand(game, IDM_TOGGLE_GRID);
    EXPECT_EQ(host.calls, (Calls{"HideCursor", "BringWindowToTop", "RedrawBoard", "Flush"}));
    for (int i = 0; i < 5; ++i) {
        ToggleGrid(game);
    }
    EXPECT_EQ(game.m_prefs.m_gridStyle, 0) << "six grid styles";
    host.Clear();
    game.m_busy = true;
    for (int id : {IDM_STEP_WEST, IDM_TELEPORT, IDM_TOGGLE_GRID, IDM_ADVANCED_OPTIONS}) {
        EXPECT_TRUE(HandleGameCommand(game, id));
    }
    game.m_busy = false;
    game.m_demoMode = true;
    EXPECT_TRUE(HandleGameCommand(game, IDM_WAIT));
    EXPECT_EQ(host.calls, Calls(5, "Flush"));
    EXPECT_EQ(Log(), "6");
    EXPECT_TRUE(HandleGameCommand(game, IDM_QUIT)) << "quit works in the demo";
    EXPECT_TRUE(game.m_closing);
}

} // namespace
