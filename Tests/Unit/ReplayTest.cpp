// The move log, replays of stored games and the demo, and the command entry.
#include "CommandIds.h"
#include "GameFixture.h"

namespace {

class ReplayTest : public GameTest {};

TEST_F(ReplayTest, EveryActionLogsItsCharacter) {
    StartGame();
    Place({"", "", "", "", "", ".....A", "", "", "", "", "", "", "", "", "", "",
           "..............................a"});
    game.m_prefs.m_teleportRule = 3;
    MovePlayer(game, -1, 0);
    MovePlayer(game, 0, 0);
    Teleport(game);
    UseScrewdriver(game);
    LastStand(game, -2);
    EXPECT_EQ(Log().substr(0, 5), "45TSJ");
}

TEST_F(ReplayTest, ClearingALevelWritesASeparator) {
    StartGame();
    Place({"", "", "", "", "........a", "..........A", "........b"});
    MovePlayer(game, 0, 0);
    MovePlayer(game, 0, 0);
    EXPECT_EQ(Log().substr(0, 4), "5. 5");
}

TEST_F(ReplayTest, TheLogGrowsPastItsFirstBlock) {
    StartGame();
    for (int i = 0; i < 3000; ++i) {
        AppendMove(game, static_cast<char>('1' + i % 9));
    }
    ASSERT_EQ(game.m_moveLogLength, 3000u);
    EXPECT_EQ(game.m_moveLogCapacity, 3125u) << "1024, 1280, 1600, 2000, 2500, 3125";
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(game.m_moveLog[i], '1' + i % 9) << "at " << i;
    }
    EXPECT_EQ(game.m_moveLog[3000], '\0');
    NewGame(game, 0, nullptr, false);
    EXPECT_EQ(game.m_moveLogLength, 0u);
    EXPECT_EQ(game.m_moveLogCapacity, 3125u) << "the buffer is never shrunk";
}

TEST_F(ReplayTest, BuiltInDemosReplayToTheirFinalPositions) {
    const std::string demo = ReplayPosition(kDemoSeed, kDemoMoves);
    EXPECT_EQ(demo, ReplayPosition(kDemoSeed, kDemoMoves));
    EXPECT_EQ(demo.substr(0, demo.find('\n')), "score 60 level 1 screwdrivers 0 over");
    const std::string demo9x = ReplayPosition(kDemo9xSeed, kDemo9xMoves);
    EXPECT_EQ(demo9x.substr(0, demo9x.find('\n')), "score 20 level 1 screwdrivers 1 over");
    EXPECT_NE(demo9x.find("\n69988T2466\n"), std::string::npos) << demo9x;
}

TEST_F(ReplayTest, BlanksPeriodsAndLineBreaksAreSkipped) {
    const char* plain = "4444448888666622227777999911113333";
    const char* spaced = " 44. 44\r\n44\t8888.\v\f6666 2222 7777 9999 1111 3333 ";
    EXPECT_EQ(ReplayPosition(1278814757, plain), ReplayPosition(1278814757, spaced));
}

TEST_F(ReplayTest, RestoreSceneSuppressesDrawingThenShowsTheBoard) {
    NewGame(game, 1278814757, "5", true);
    EXPECT_FALSE(game.m_restoring);
    EXPECT_FALSE(game.m_gameOver);
    EXPECT_EQ(Log(), "5");
    EXPECT_EQ(
        host.Only({"SuppressDrawing", "ResumeDrawing", "RedrawBoard", "BringWindowToTop", "Sound"}),
        (std::vector<std::string>{"RedrawBoard", "SuppressDrawing", "ResumeDrawing", "RedrawBoard",
                                  "BringWindowToTop"}))
        << "the first level is drawn, the replay is not, the restored board is";
}

TEST_F(ReplayTest, AnUnknownCharacterEndsTheRestoredGameAndAFreshOneFollows) {
    NewGame(game, 1278814757, "55x555", true);
    EXPECT_EQ(host.Only({"LastGameRecord"}),
              (std::vector<std::string>{"LastGameRecord(1278814757,0,55)"}));
    EXPECT_NE(game.m_startTime, 1278814757) << "a fresh game from the clock";
    EXPECT_EQ(game.m_startTime, host.now);
    EXPECT_FALSE(game.m_gameOver);
    EXPECT_EQ(Log(), "");
}

TEST_F(ReplayTest, ReplayingAStoredGameKeepsAnEndedGame) {
    const std::string position = ReplayPosition(1278814757, "55x555");
    EXPECT_EQ(position.substr(0, position.find('\n')), "score 0 level 1 screwdrivers 1 over");
}

TEST_F(ReplayTest, DemoPlaysSilentlyAndEndsWithoutRecords) {
    host.qualifies = true;
    NewGame(game, kDemoSeed, kDemoMoves, false);
    EXPECT_TRUE(game.m_demoMode);
    while (ReplayNextMove(game)) {
    }
    EXPECT_FALSE(game.m_demoMode);
    EXPECT_TRUE(game.m_gameOver);
    EXPECT_TRUE(host.Only({"Sound", "AskPlayerName", "LastGameRecord", "ScoreQualifies"}).empty());
}

TEST_F(ReplayTest, CommandsAreSwallowedWhileBusyOrInTheDemo) {
    StartGame();
    game.m_busy = true;
    const std::string log = Log();
    for (int id : {IDM_STEP_WEST, IDM_TELEPORT, IDM_TOGGLE_GRID, IDM_ADVANCED_OPTIONS}) {
        EXPECT_TRUE(HandleGameCommand(game, id));
    }
    EXPECT_EQ(host.calls, std::vector<std::string>(4, "Flush"));
    EXPECT_EQ(Log(), log);
    game.m_busy = false;
    game.m_demoMode = true;
    host.Clear();
    EXPECT_TRUE(HandleGameCommand(game, IDM_WAIT));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"Flush"}));
    EXPECT_TRUE(HandleGameCommand(game, IDM_QUIT)) << "quit works in the demo";
    EXPECT_TRUE(game.m_closing);
}

TEST_F(ReplayTest, CommandEntryFlushesAroundActions) {
    StartGame();
    Place({"", "", "", "", "", ".....A", "", "", "", "", "", "", "", "", "", "",
           "..............................a"});
    HandleGameCommand(game, IDM_STEP_EAST);
    EXPECT_EQ(host.calls.front(), "HideCursor");
    EXPECT_EQ(host.calls[1], "BringWindowToTop");
    EXPECT_EQ(host.calls[2], "Flush");
    EXPECT_EQ(host.calls.back(), "Flush");
    EXPECT_EQ(Log(), "6");
    host.Clear();
    HandleGameCommand(game, IDM_TOGGLE_GRID);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"HideCursor", "BringWindowToTop", "RedrawBoard", "Flush"}));
    EXPECT_FALSE(HandleGameCommand(game, 40019));
    EXPECT_FALSE(HandleGameCommand(game, IDM_NEW_GAME));
}

TEST_F(ReplayTest, ToggleGridCyclesThroughSixStyles) {
    for (int i = 0; i < 6; ++i) {
        ToggleGrid(game);
    }
    EXPECT_EQ(game.m_prefs.m_gridStyle, 0);
    ToggleGrid(game);
    EXPECT_EQ(game.m_prefs.m_gridStyle, 1);
}

TEST_F(ReplayTest, ToggleColorRemembersTheSetInThePreferences) {
    host.iconSets = 4;
    std::vector<int32_t> seen;
    for (int i = 0; i < 5; ++i) {
        ToggleColor(game);
        seen.push_back(game.m_prefs.m_iconSet);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 2, 3, 0, 1}));
}

TEST_F(ReplayTest, SoundsFollowTheSwitch) {
    game.m_prefs.m_soundOn = 0;
    NewGame(game, 0, nullptr, false);
    EXPECT_TRUE(host.Only({"Sound"}).empty());
    game.m_prefs.m_soundOn = 1;
    NewGame(game, 0, nullptr, false);
    EXPECT_EQ(host.Only({"Sound"}), (std::vector<std::string>{"Sound:Intro"}));
}

TEST_F(ReplayTest, RestoringIsSilentButThePlayerIsHeardAfterwards) {
    NewGame(game, 1278814757, "S", true);
    EXPECT_TRUE(host.Only({"Sound"}).empty()) << "the replayed screwdriver";
    Teleport(game);
    EXPECT_EQ(host.Only({"Sound"}), (std::vector<std::string>{"Sound:Teleport"}));
}

} // namespace
