// Levels, new games, the end of a game and quitting.
#include "CommandIds.h"
#include "GameFixture.h"

#include <cstdlib>

namespace {

class LifeTest : public GameTest {
protected:
    int RobotsOnBoard() const {
        int robots = 0;
        for (uint8_t cell : game.m_grid) {
            robots += cell == kCellRobot ? 1 : 0;
        }
        return robots;
    }
    int HeapsOnBoard() const {
        int heaps = 0;
        for (uint8_t cell : game.m_grid) {
            heaps += cell == kCellHeap ? 1 : 0;
        }
        return heaps;
    }
    // Clears the current level: one robot is left, next to the player, for the screwdriver.
    void ClearLevel() {
        Place({"A.", ".a"});
        UseScrewdriver(game);
    }
};

TEST_F(LifeTest, StandardLevelsHaveFiveRobotsPerLevelAndOneScrewdriver) {
    StartGame();
    EXPECT_EQ(game.m_level, 1);
    EXPECT_EQ(RobotsOnBoard(), 5);
    EXPECT_EQ(LiveRobots(), 5);
    EXPECT_EQ(HeapsOnBoard(), 0);
    EXPECT_EQ(game.m_screwdrivers, 1);
    ClearLevel();
    EXPECT_EQ(game.m_level, 2);
    EXPECT_EQ(RobotsOnBoard(), 10);
    EXPECT_EQ(game.m_screwdrivers, 1);
}

TEST_F(LifeTest, StockModeAddsScrewdriversFromLevelTwo) {
    game.m_prefs.m_screwdriverStockMode = 1;
    game.m_prefs.m_screwdriversPerGame = 3;
    game.m_prefs.m_screwdriversPerLevel = 2;
    StartGame();
    EXPECT_EQ(game.m_screwdrivers, 3);
    ClearLevel();
    EXPECT_EQ(game.m_level, 2);
    EXPECT_EQ(game.m_screwdrivers, 4);
}

TEST_F(LifeTest, RobotCountsAreCapped) {
    struct Case {
        int16_t perLevel, base;
        int minimum, maximum;
    };
    // Negative counts are taken as unsigned 16-bit numbers, so they ask for the maximum.
    for (Case c : {Case{0, 0, 2, 2}, Case{0, 1, 2, 2}, Case{200, 0, 100, 555},
                   Case{-3, 0, 100, 555}, Case{0, 554, 100, 555}}) {
        game.m_prefs.m_robotsPerLevel = c.perLevel;
        game.m_prefs.m_robotsBase = c.base;
        game.m_prefs.m_heapsBase = 50;
        StartGame();
        const std::string where = std::to_string(c.perLevel) + "/" + std::to_string(c.base);
        EXPECT_GE(RobotsOnBoard(), c.minimum) << where;
        EXPECT_LE(RobotsOnBoard(), c.maximum) << where;
        EXPECT_EQ(RobotsOnBoard(), LiveRobots()) << where;
        EXPECT_LE(RobotsOnBoard() + HeapsOnBoard(), kMaxPlaced) << where;
    }
}

TEST_F(LifeTest, FiveHundredFiftyFiveRobotsLeaveNoRoomForHeaps) {
    game.m_prefs.m_robotsBase = 555;
    game.m_prefs.m_heapsBase = 10;
    StartGame();
    EXPECT_EQ(HeapsOnBoard(), 0);
    EXPECT_LT(RobotsOnBoard(), 555) << "999 attempts cannot fill 555 of 557 free cells";
    EXPECT_GT(RobotsOnBoard(), 400);
}

TEST_F(LifeTest, HeapsFillWhatRobotsLeave) {
    game.m_prefs.m_robotsBase = 500;
    game.m_prefs.m_robotsPerLevel = 0;
    game.m_prefs.m_heapsBase = 100;
    StartGame();
    EXPECT_EQ(HeapsOnBoard(), 55);
    EXPECT_EQ(HeapRecords(), 55);
}

TEST_F(LifeTest, SafeZoneKeepsRobotsAwayAtLevelStart) {
    game.m_prefs.m_safeZoneRadius = 3;
    game.m_prefs.m_robotsBase = 200;
    game.m_prefs.m_heapsBase = 200;
    for (int64_t start = 1; start <= 20; ++start) {
        StartGame(start);
        for (int x = 0; x < kGridWidth; ++x) {
            for (int y = 0; y < kGridHeight; ++y) {
                if (std::abs(x - game.m_playerX) <= 3 && std::abs(y - game.m_playerY) <= 3) {
                    EXPECT_NE(game.Cell(x, y), kCellRobot) << "start " << start;
                }
            }
        }
    }
}

TEST_F(LifeTest, ASafeZoneTooLargeForAnyRobotLeavesOnlyTheScrewdriver) {
    game.m_prefs.m_safeZoneRadius = 40;
    StartGame();
    EXPECT_EQ(RobotsOnBoard(), 0);
    MovePlayer(game, 0, game.m_playerY > 0 ? -1 : 1);
    EXPECT_EQ(game.m_level, 1) << "a turn without kills never ends a level";
    UseScrewdriver(game);
    EXPECT_EQ(game.m_level, 2);
}

TEST_F(LifeTest, NewGameSceneForAFreshGame) {
    NewGame(game, 0, nullptr, false);
    EXPECT_EQ(game.m_startTime, host.now);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"StatusLine", "BringWindowToTop", "Sound:Intro",
                                                    "RedrawBoard", "StatusLine"}));
}

TEST_F(LifeTest, NewGameOverARunningGameEndsItFirst) {
    host.qualifies = true;
    host.nameToEnter = "Ada";
    StartGame(1234);
    Place({"A", "", "", "", "", "", "", "", "", "", "", "..............................a"});
    MovePlayer(game, 1, 0);
    game.m_score = 500;
    host.Clear();
    NewGame(game, 0, nullptr, false);
    EXPECT_EQ(host.Only({"AskPlayerName", "HighScoreRecord", "InsertHighScore", "ShowHighScores",
                         "LastGameRecord", "Sound"}),
              (std::vector<std::string>{"AskPlayerName:Blimpers", "HighScoreRecord(1234,500,6)",
                                        "InsertHighScore(500,Ada,1,1600000000)", "ShowHighScores",
                                        "LastGameRecord(1234,500,6)", "Sound:Intro"}));
    EXPECT_STREQ(game.m_prefs.m_playerName, "Ada");
}

TEST_F(LifeTest, ChangedSettingsAreNotEligible) {
    host.qualifies = true;
    StartGame();
    game.m_prefs.m_robotsPerLevel = 6;
    EndGame(game);
    EXPECT_EQ(host.Only({"Message", "AskPlayerName", "InsertHighScore"}),
              (std::vector<std::string>{std::string("Message: ") + kNotEligibleText}));
}

TEST_F(LifeTest, ASettingChangedAndChangedBackKeepsTheGameEligible) {
    host.qualifies = true;
    StartGame();
    game.m_prefs.m_robotsPerLevel = 6;
    game.m_prefs.m_robotsPerLevel = 5;
    EndGame(game);
    EXPECT_EQ(host.Only({"AskPlayerName"}).size(), 1u);
}

TEST_F(LifeTest, AGameWithoutMovesWritesNoLastGameRecord) {
    StartGame();
    EndGame(game);
    EXPECT_TRUE(host.Only({"LastGameRecord"}).empty());
}

TEST_F(LifeTest, QuitSavesAGameInProgressAndShutsDownInOrder) {
    StartGame(777);
    Place({"A", "", "", "", "", "", "", "", "", "", "", "..............................a"});
    MovePlayer(game, 1, 0);
    host.Clear();
    game.m_prefs.m_gridStyle = 2;
    EXPECT_TRUE(QuitGame(game));
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"ShowCursor", "SaveGameInProgress(777,0,6)", "CloseWindows",
                                        "SaveHighScores", "DestroyGraphics"}));
    EXPECT_TRUE(game.m_closing);
    EXPECT_TRUE(game.m_gameOver);
    host.Clear();
    EXPECT_TRUE(QuitGame(game));
    EXPECT_TRUE(host.calls.empty()) << "quitting runs once";
    NewGame(game, 0, nullptr, false);
    EXPECT_TRUE(host.calls.empty()) << "no new game while closing";
}

TEST_F(LifeTest, QuitWithoutMovesSavesNoGame) {
    StartGame();
    QuitGame(game);
    EXPECT_TRUE(host.Only({"SaveGameInProgress"}).empty());
}

TEST_F(LifeTest, AdvancedOptionsNoteAndWhatFollows) {
    StartGame();
    host.dialogTarget = &game.m_prefs;
    host.dialogEdit = [](CPreferences& p) { p.m_robotsPerLevel = 7; };
    HandleGameCommand(game, IDM_ADVANCED_OPTIONS);
    // No move yet: the game is ended and a fresh one starts under the new settings.
    EXPECT_EQ(host.Only({"ShowCursor", "AdvancedOptionsDialog", "Message", "Sound:Intro"}),
              (std::vector<std::string>{"ShowCursor", "AdvancedOptionsDialog",
                                        std::string("Message: ") + kNotStandardNoteText,
                                        "ShowCursor", "Sound:Intro"}));
    EXPECT_EQ(RobotsOnBoard(), 7);
    MovePlayer(game, game.m_playerX > 0 ? -1 : 1, 0);
    host.Clear();
    host.dialogEdit = nullptr;
    HandleGameCommand(game, IDM_ADVANCED_OPTIONS);
    // Mid-game: only a redraw; the note comes again while the settings stay changed.
    EXPECT_EQ(
        host.Only({"Message", "RedrawBoard", "Sound"}),
        (std::vector<std::string>{std::string("Message: ") + kNotStandardNoteText, "RedrawBoard"}));
}

TEST_F(LifeTest, ClearHighScoresAsksFirst) {
    host.confirm = false;
    ConfirmClearHighScores(game);
    EXPECT_EQ(host.Only({"ResetHighScores"}).size(), 0u);
    host.confirm = true;
    ConfirmClearHighScores(game);
    EXPECT_EQ(host.Only({"Confirm", "ResetHighScores"}),
              (std::vector<std::string>{std::string("Confirm: ") + kClearHighScoresQuestion,
                                        std::string("Confirm: ") + kClearHighScoresQuestion,
                                        "ResetHighScores"}));
}

} // namespace
