// Levels, new games, the end of a game and quitting.
#include "CommandIds.h"
#include "GameFixture.h"

#include <tuple>

namespace {

class LifeTest : public GameTest {};

// Screwdrivers used through their command and levels cleared through a wait, under each way of
// counting the screwdrivers: what is left after each, what the status line then shows and what
// is logged. 'S' is a use beside a robot while another keeps the level going; '.' a wait whose
// two robots meet and clear the level.
TEST_F(LifeTest, EachUseAndEachLevelLeaveTheScrewdriversTheStockModeGives) {
    using Case = std::tuple<uint8_t, int16_t, int16_t, std::string, std::vector<int>>;
    for (const auto& [stock, perGame, perLevel, actions, left] :
         {// One at every level, whatever was left and whatever the stock says; none left refuses.
          Case{0, 3, 2, "SS..S.", {1, 0, 0, 1, 1, 0, 1}},
          // The game's stock, then each level's added to what is left, zero and below included.
          Case{1, 3, 2, "SS.S..", {3, 2, 1, 3, 2, 4, 6}}, Case{1, 0, 2, "S.S", {0, 0, 2, 1}},
          Case{1, 2, 0, "SSS.", {2, 1, 0, 0, 0}}, Case{1, 4, -3, "S.S.S", {4, 3, 0, 0, -3, -3}}}) {
        game.m_prefs.m_screwdriverStockMode = stock;
        game.m_prefs.m_screwdriversPerGame = perGame;
        game.m_prefs.m_screwdriversPerLevel = perLevel;
        StartGame();
        std::string log;
        int level = 1;
        for (size_t i = 0; i <= actions.size(); ++i) {
            SCOPED_TRACE(testing::Message()
                         << "stock mode " << int{stock} << ", " << perGame << " a game, "
                         << perLevel << " a level, after \"" << actions.substr(0, i) << '"');
            const char action = i > 0 ? actions[i - 1] : ' ';
            if (action != ' ') {
                Place(action == 'S'
                          ? WithFarRobot({"Ab"})
                          : Rows{"", "", "", "", "........a", "..........A", "........b"});
                host.Clear();
                HandleGameCommand(game, action == 'S' ? IDM_SCREWDRIVER : IDM_WAIT);
            }
            const bool refused = action == 'S' && left[i - 1] <= 0;
            log += refused || action == ' ' ? "" : action == 'S' ? "S" : "5. ";
            level += action == '.';
            // One robots' turn after each action, and after a cleared level the pause and the
            // next level.
            const Calls expected = refused         ? Calls{"Refuse"}
                                   : action == 'S' ? Calls{"AnimateRobotSteps"}
                                   : action == '.'
                                       ? Calls{"AnimateRobotSteps", "Pause(1440)", "RedrawBoard"}
                                       : Calls{};
            EXPECT_EQ(host.Only({"Refuse", "AnimateRobotSteps", "Pause", "RedrawBoard"}), expected);
            EXPECT_EQ(host.statusLine, "Score: " + std::to_string(game.m_score) +
                                           " | Screwdrivers: " + std::to_string(left[i]) +
                                           " | Level: " + std::to_string(level));
        }
        EXPECT_EQ(Log(), log);
    }
}

TEST_F(LifeTest, RobotAndHeapCountsGrowByLevelAndAreCapped) {
    // The counts are unsigned 16-bit numbers, so a negative one asks for the most. Robots and
    // heaps share 555 places; the robots of a level have 999 attempts between them.
    using Case = std::tuple<int16_t, int16_t, int16_t, int16_t, uint16_t, int, int, int>;
    for (auto [perLevel, base, heapsPerLevel, heapsBase, level, minRobots, maxRobots, heaps] :
         {Case{5, 0, 0, 0, 3, 15, 15, 0}, Case{3, 4, 2, 1, 1, 7, 7, 3},
          Case{3, 4, 2, 1, 2, 10, 10, 5}, Case{-1, 4, 1, -1, 1, 3, 3, 0},
          Case{-1, 4, 1, -1, 2, 2, 2, 1}, Case{-1, 4, -1, 1, 3, 2, 2, 0},
          Case{0, 2, 0, 1, 1, 2, 2, 1}, Case{0, 0, 0, 50, 1, 2, 2, 50},
          Case{0, 1, 0, 50, 1, 2, 2, 50}, Case{200, 0, 0, 50, 1, 100, 200, 50},
          Case{-3, 0, 0, 50, 1, 400, 554, 0}, Case{0, 554, 0, 50, 1, 400, 554, 1},
          Case{0, 555, 0, 10, 1, 400, 554, 0}, Case{0, 500, 0, 56, 1, 400, 500, 55},
          Case{0, 500, 28, 0, 2, 400, 500, 55}}) {
        game.m_prefs.m_robotsPerLevel = perLevel;
        game.m_prefs.m_robotsBase = base;
        game.m_prefs.m_heapsPerLevel = heapsPerLevel;
        game.m_prefs.m_heapsBase = heapsBase;
        StartGame();
        game.m_level = level;
        SetUpLevel(game);
        SCOPED_TRACE(testing::Message()
                     << "level " << level << ": robots " << perLevel << " * n + " << base
                     << ", heaps " << heapsPerLevel << " * n + " << heapsBase);
        EXPECT_GE(CellsHolding(kCellRobot), minRobots);
        EXPECT_LE(CellsHolding(kCellRobot), maxRobots);
        EXPECT_EQ(HeapRecords(), heaps);
        EXPECT_EQ(CellsHolding(kCellHeap), heaps);
    }
}

TEST_F(LifeTest, ASafeZoneTooLargeForAnyRobotLeavesOnlyTheScrewdriver) {
    game.m_prefs.m_safeZoneRadius = 40;
    StartGame(1000);
    EXPECT_EQ(CellsHolding(kCellRobot), 0);
    // The level's 999 attempts, two draws each, followed the player's two draws.
    const uint16_t next = RandomUpTo(65535);
    EXPECT_EQ(next, OutputAfterDraws(1000, 2 + 2 * 999));
    MovePlayer(game, 0, game.m_playerY > 0 ? -1 : 1);
    EXPECT_EQ(game.m_level, 1) << "a turn without kills never ends a level";
    host.Clear();
    UseScrewdriver(game);
    EXPECT_EQ(game.m_level, 2);
    EXPECT_TRUE(host.Only({"AnimateRobotSteps"}).empty()) << "no robots' turn after the level";
}

TEST_F(LifeTest, NewGameSceneHeardOnlyWithTheSoundOnAndAQuitWithoutMovesSavesNothing) {
    NewGame(game, 0, nullptr, false);
    EXPECT_EQ(game.m_startTime, host.now);
    EXPECT_EQ(host.calls, (Calls{"StatusLine", "BringWindowToTop", "Sound:Intro", "RedrawBoard",
                                 "StatusLine"}));
    game.m_prefs.m_soundOn = 0;
    host.Clear();
    NewGame(game, 0, nullptr, false);
    QuitGame(game, SettingsAtQuit::kStore);
    EXPECT_TRUE(host.Only({"Sound", "SaveGameInProgress"}).empty()) << "nothing to save either";
}

TEST_F(LifeTest, AQualifyingScoreWithTheStandardSettingsAtTheEndIsOffered) {
    host.qualifies = true;
    host.nameToEnter = "Ada";
    Start(WithFarRobot({"A"}));
    MovePlayer(game, 1, 0);
    game.m_score = 500;
    host.Clear();
    NewGame(game, 0, nullptr, false);
    EXPECT_EQ(host.Only({"AskPlayerName", "HighScoreRecord", "InsertHighScore", "ShowHighScores",
                         "LastGameRecord", "Sound"}),
              (Calls{"AskPlayerName:Blimpers", "HighScoreRecord(1000,500,6)",
                     "InsertHighScore(500,Ada,1,1600000000)", "ShowHighScores",
                     "LastGameRecord(1000,500,6)", "Sound:Intro"}))
        << "a new game ends the running one first";
    game.m_prefs.m_robotsPerLevel = 6;
    host.Clear();
    EndGame(game);
    EXPECT_EQ(host.Only({"Message", "AskPlayerName", "InsertHighScore", "LastGameRecord"}),
              Calls{std::string("Message: ") + kNotEligibleText})
        << "changed settings; and a game without moves leaves no record";
}

// The session may end the process as soon as the quit has run: all of it is written by then,
// once.
TEST_F(LifeTest, AQuitWhileTheNameIsAskedEntersTheScoreAndTheLastGameBeforeTheListIsSaved) {
    host.qualifies = true;
    host.duringDialog = [this] { QuitGame(game, SettingsAtQuit::kStore); };
    Start(WithFarRobot({"A"}));
    MovePlayer(game, 1, 0);
    game.m_score = 500;
    host.Clear();
    EndGame(game);
    EXPECT_EQ(host.Only({"HighScoreRecord", "InsertHighScore", "LastGameRecord", "SaveHighScores",
                         "ShowHighScores"}),
              (Calls{"HighScoreRecord(1000,500,6)", "InsertHighScore(500,Blimpers,1,1600000000)",
                     "LastGameRecord(1000,500,6)", "SaveHighScores"}));
}

TEST_F(LifeTest, QuitSavesAGameInProgressAndShutsDownInOrder) {
    Start(WithFarRobot({"A"}));
    MovePlayer(game, 1, 0);
    host.Clear();
    game.m_prefs.m_gridStyle = 2; // changed settings without a store to keep them
    EXPECT_TRUE(QuitGame(game, SettingsAtQuit::kStore));
    EXPECT_EQ(host.calls, (Calls{"ShowCursor", "SaveGameInProgress(1000,0,6)", "CloseWindows",
                                 "SaveHighScores", "DestroyGraphics"}));
    EXPECT_TRUE(game.m_closing);
    EXPECT_TRUE(game.m_gameOver);
    host.Clear();
    EXPECT_TRUE(QuitGame(game, SettingsAtQuit::kStore));
    EXPECT_TRUE(host.calls.empty()) << "quitting runs once";
    NewGame(game, 0, nullptr, false);
    EXPECT_TRUE(host.calls.empty()) << "no new game while closing";
}

TEST_F(LifeTest, AdvancedOptionsNoteAndWhatFollows) {
    StartGame();
    host.duringDialog = [this] { game.m_prefs.m_robotsPerLevel = 7; };
    HandleGameCommand(game, IDM_ADVANCED_OPTIONS);
    const std::string note = std::string("Message: ") + kNotStandardNoteText;
    // No move yet: the game is ended and a fresh one starts under the new settings.
    EXPECT_EQ(host.Only({"ShowCursor", "AdvancedOptionsDialog", "Message", "Sound:Intro"}),
              (Calls{"ShowCursor", "AdvancedOptionsDialog", note, "ShowCursor", "Sound:Intro"}));
    EXPECT_EQ(CellsHolding(kCellRobot), 7);
    MovePlayer(game, game.m_playerX > 0 ? -1 : 1, 0);
    host.Clear();
    host.duringDialog = [] {};
    HandleGameCommand(game, IDM_ADVANCED_OPTIONS);
    // Mid-game: only a redraw; the note comes again while the settings stay changed.
    EXPECT_EQ(host.Only({"Message", "RedrawBoard", "Sound"}), (Calls{note, "RedrawBoard"}));
}

} // namespace
