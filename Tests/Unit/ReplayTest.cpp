// The move log, replays of stored games and the demo, the command entry, and the generator,
// pinned by golden values because every stored game replays through it.
#include "CommandIds.h"
#include "GameFixture.h"
#include "Random.h"

namespace {

class ReplayTest : public GameTest {};

std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

TEST_F(ReplayTest, TheLogGrowsPastItsFirstBlock) {
    StartGame();
    std::string moves;
    for (int i = 0; i < 3000; ++i) {
        moves += static_cast<char>('1' + i % 9);
        AppendMove(game, moves.back());
    }
    EXPECT_EQ(Log(), moves);
    EXPECT_EQ(game.m_moveLogLength, 3000u);
    EXPECT_EQ(game.m_moveLogCapacity, 3125u) << "1024, 1280, 1600, 2000, 2500, 3125";
    NewGame(game, 0, nullptr, false);
    EXPECT_EQ(game.m_moveLogLength, 0u);
    EXPECT_EQ(game.m_moveLogCapacity, 3125u) << "the buffer is never shrunk";
}

TEST_F(ReplayTest, ALogThatCannotGrowIsDroppedAndTheGameGoesOn) {
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
    const std::string demo = ReplayPosition(kDemoSeed, kDemoMoves);
    EXPECT_EQ(FirstLine(demo), "score 60 level 1 screwdrivers 0 over");
    const std::string demo9x = ReplayPosition(kDemo9xSeed, kDemo9xMoves);
    EXPECT_EQ(FirstLine(demo9x), "score 20 level 1 screwdrivers 1 over");
    EXPECT_NE(demo9x.find("\n69988T2466\n"), std::string::npos) << demo9x;
    host.qualifies = true;
    NewGame(game, kDemoSeed, kDemoMoves, false);
    while (ReplayNextMove(game)) {
    }
    EXPECT_FALSE(game.m_demoMode);
    EXPECT_TRUE(game.m_gameOver);
    EXPECT_EQ(game.m_score, 60);
    EXPECT_TRUE(host.Only({"Sound", "AskPlayerName", "LastGameRecord", "ScoreQualifies"}).empty());
    NewGame(game, 1278814760, "55", false);
    while (ReplayNextMove(game)) {
    }
    EXPECT_TRUE(game.m_gameOver) << "a demo whose moves run out ends there";
}

TEST_F(ReplayTest, BlanksPeriodsAndLineBreaksAreSkipped) {
    const std::string plain = ReplayPosition(1278814760, "55555555");
    EXPECT_EQ(FirstLine(plain), "score 0 level 1 screwdrivers 1") << "the game goes on";
    EXPECT_EQ(ReplayPosition(1278814760, " 55. 55\r\n55\t5\v\f5 "), plain);
}

TEST_F(ReplayTest, RestoreSceneDrawsOnlyTheRestoredBoardAndPlaysItsLastSoundOnce) {
    NewGame(game, 1663312166, "251139JKS", true);
    EXPECT_FALSE(game.m_restoring);
    EXPECT_FALSE(game.m_gameOver);
    EXPECT_EQ(Log(), "251139JKS");
    EXPECT_EQ(
        host.Only({"SuppressDrawing", "ResumeDrawing", "RedrawBoard", "BringWindowToTop", "Sound"}),
        (Calls{"RedrawBoard", "SuppressDrawing", "ResumeDrawing", "RedrawBoard",
               "Sound:Screwdriver", "BringWindowToTop"}))
        << "the first level is drawn, the replay is not, the restored board is, with the sound "
           "of the last action, which cut off the ones before";
    host.Clear();
    NewGame(game, 1663312166, "251139JK4", true);
    EXPECT_EQ(host.Only({"Sound"}), (Calls{"Sound:PlayerDies", "Sound:Intro"}))
        << "a stored game that ends in its replay sounds its end before the fresh game";
}

TEST_F(ReplayTest, AnUnknownCharacterEndsTheStoredGame) {
    EXPECT_EQ(FirstLine(ReplayPosition(1278814760, "55x555")),
              "score 0 level 1 screwdrivers 1 over")
        << "the replay tool keeps the ended game";
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
    ASSERT_GT(host.calls.size(), 3u);
    EXPECT_EQ(Calls(host.calls.begin(), host.calls.begin() + 3),
              (Calls{"HideCursor", "BringWindowToTop", "Flush"}));
    EXPECT_EQ(host.calls.back(), "Flush");
    EXPECT_EQ(Log(), "6");
    host.Clear();
    HandleGameCommand(game, IDM_TOGGLE_GRID);
    EXPECT_EQ(host.calls, (Calls{"HideCursor", "BringWindowToTop", "RedrawBoard", "Flush"}));
    for (int i = 0; i < 5; ++i) {
        ToggleGrid(game);
    }
    EXPECT_EQ(game.m_prefs.m_gridStyle, 0) << "six grid styles";
    EXPECT_FALSE(HandleGameCommand(game, 40019));
    EXPECT_FALSE(HandleGameCommand(game, IDM_NEW_GAME));
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

std::vector<uint16_t> Draw(uint32_t seed, uint16_t n, int count) {
    SeedRandom(seed);
    std::vector<uint16_t> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(RandomUpTo(n));
    }
    return values;
}

TEST(Random, GoldenValuesAfterSeeding) {
    EXPECT_EQ(Draw(0x4D2B71EC, 30, 10), (std::vector<uint16_t>{8, 19, 26, 4, 9, 30, 12, 8, 4, 12}));
    EXPECT_EQ(Draw(0, 65535, 5), (std::vector<uint16_t>{1595, 57477, 27076, 15179, 16044}));
    EXPECT_EQ(Draw(0xFFFFFFFF, 999, 5), (std::vector<uint16_t>{848, 40, 212, 752, 513}));
    // Up to 0 is always 0, and still uses an output: the next is the golden sequence's second.
    SeedRandom(0x4D2B71EC);
    EXPECT_EQ(RandomUpTo(0), 0);
    EXPECT_EQ(RandomUpTo(30), 19);
}

} // namespace
