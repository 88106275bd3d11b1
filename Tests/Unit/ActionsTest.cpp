// Teleport, screwdriver and the Last Stand.
#include "GameFixture.h"
#include "Random.h"

namespace {

class ActionsTest : public GameTest {
protected:
    // Fills every empty cell: robots placed after the ones already listed while slots last, heaps
    // on the board after that.
    void FillEmptyCells() {
        int slot = static_cast<int>(game.m_robotListEnd - game.m_records);
        for (int16_t x = 0; x < kGridWidth; ++x) {
            for (int16_t y = 0; y < kGridHeight; ++y) {
                if (game.Cell(x, y) == kCellEmpty && slot == kMaxPlaced) {
                    game.Cell(x, y) = kCellHeap;
                } else if (game.Cell(x, y) == kCellEmpty) {
                    game.Cell(x, y) = kCellRobot;
                    game.m_records[slot] = Robot{};
                    game.m_records[slot].x = x;
                    game.m_records[slot].y = y;
                    game.m_records[slot].isAlive = kRobotIsAlive;
                    ++slot;
                }
            }
        }
        game.m_records[slot].isAlive = kEndOfList;
        game.m_robotListEnd = game.m_records + slot;
    }

    // The generator's next value after `outputs` draws from `seed`.
    static uint16_t ValueAfter(uint32_t seed, int outputs) {
        SeedRandom(seed);
        for (int i = 0; i < outputs; ++i) {
            RandomUpTo(0);
        }
        return RandomUpTo(65535);
    }
};

TEST_F(ActionsTest, TeleportSceneOrderAndLanding) {
    StartGame();
    game.m_prefs.m_teleportRule = 3;
    Place({"A", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
           "..............................a"});
    SeedRandom(7);
    const int16_t x = static_cast<int16_t>(RandomUpTo(30));
    const int16_t y = static_cast<int16_t>(RandomUpTo(17));
    SeedRandom(7);
    Teleport(game);
    EXPECT_EQ(Log(), "T");
    EXPECT_EQ(game.Cell(x, y), kCellPlayer);
    EXPECT_EQ(game.Cell(0, 0), kCellEmpty);
    const std::string to = std::to_string(x) + "," + std::to_string(y);
    EXPECT_EQ(host.Only({"HideArrows", "EraseCell", "Sound", "AnimateTeleport", "SetPlayerCell",
                         "RedrawPlayer", "Pause", "AnimateRobotSteps", "DrawArrows"}),
              (std::vector<std::string>{"HideArrows", "EraseCell(0,0)", "Sound:Teleport",
                                        "AnimateTeleport(0,0->" + to + ")",
                                        "SetPlayerCell(" + to + ")", "RedrawPlayer", "Pause(288)",
                                        "AnimateRobotSteps", "DrawArrows"}));
}

TEST_F(ActionsTest, TeleportWithoutRobotsMovingLeavesThemInPlace) {
    StartGame();
    game.m_prefs.m_moveRobotsAfterTeleport = 0;
    Place({"A", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
           "..............................a"});
    game.m_prefs.m_teleportRule = 5;
    Teleport(game);
    EXPECT_EQ(game.Cell(30, 17), kCellRobot);
    EXPECT_EQ(host.Count("AnimateRobotSteps"), 0);
}

TEST_F(ActionsTest, Rule4RefusesWhenNoCellIsEmptyAndKeepsItsDraws) {
    StartGame();
    game.m_prefs.m_teleportRule = 4;
    Place({"A"});
    FillEmptyCells();
    SeedRandom(99);
    Teleport(game);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"Refuse"}));
    EXPECT_EQ(Log(), "");
    // The first candidate and 1000 more: 1001 candidates of two draws each.
    const uint16_t next = RandomUpTo(65535);
    EXPECT_EQ(next, ValueAfter(99, 2002));
}

TEST_F(ActionsTest, Rule5TriesTwoPerCandidate) {
    StartGame();
    game.m_prefs.m_teleportRule = 5;
    Place({"A"});
    FillEmptyCells();
    SeedRandom(5);
    Teleport(game);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"Refuse"}));
    // The discarded first candidate and 499 more.
    const uint16_t next = RandomUpTo(65535);
    EXPECT_EQ(next, ValueAfter(5, 1000));
}

TEST_F(ActionsTest, TeleportRulesRespectTheirCells) {
    // Many teleports from varied seeds: no rule lands where it must not.
    for (int16_t rule : {1, 2, 4, 5}) {
        for (uint32_t seed = 1; seed <= 60; ++seed) {
            StartGame();
            game.m_prefs.m_teleportRule = rule;
            game.m_prefs.m_moveRobotsAfterTeleport = 0;
            Place({"a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a", "S.S.S.S.S.S.S.S.S.S.S.S.S.S.S.S",
                   "...............A"});
            SeedRandom(seed);
            Teleport(game);
            if (host.Count("Refuse") == 1) {
                continue;
            }
            const int16_t px = game.m_playerX;
            const int16_t py = game.m_playerY;
            const std::string where =
                "rule " + std::to_string(rule) + " seed " + std::to_string(seed);
            if (rule == 2 || rule == 4 || rule == 5) {
                EXPECT_EQ(host.Count("AnimatePlayerDeath:heap(" + std::to_string(px) + "," +
                                     std::to_string(py) + ")"),
                          0)
                    << where;
            }
            if (rule == 1 || rule == 4 || rule == 5) {
                EXPECT_EQ(host.Only({"AnimatePlayerDeath:clear"}).size(), 0u) << where;
            }
            if (rule == 5 && !game.m_gameOver) {
                EXPECT_GT(py, 1) << where << ": landed next to a robot";
            }
        }
    }
}

TEST_F(ActionsTest, Rule1MayLandOnARobot) {
    bool died = false;
    for (uint32_t seed = 1; seed <= 200 && !died; ++seed) {
        StartGame();
        game.m_prefs.m_teleportRule = 1;
        Place({"A"});
        FillEmptyCells();
        SeedRandom(seed);
        Teleport(game);
        died = game.m_gameOver;
        if (died) {
            EXPECT_EQ(host.Only({"Sound"}),
                      (std::vector<std::string>{"Sound:Teleport", "Sound:PlayerDies"}));
            EXPECT_EQ(host.Only({"HighlightKiller"}).size(), 0u);
        }
    }
    EXPECT_TRUE(died);
}

TEST_F(ActionsTest, DrawingTheOwnCellDrawsAgain) {
    SeedRandom(3);
    const int own[2] = {RandomUpTo(30), RandomUpTo(17)};
    const int next[2] = {RandomUpTo(30), RandomUpTo(17)};
    StartGame();
    game.m_prefs.m_teleportRule = 3;
    game.m_prefs.m_moveRobotsAfterTeleport = 0;
    std::vector<std::string> rows(18);
    rows[own[1]] = std::string(own[0], '.') + "A";
    Place(rows);
    SeedRandom(3);
    Teleport(game);
    EXPECT_EQ(game.m_playerX, next[0]);
    EXPECT_EQ(game.m_playerY, next[1]);
}

TEST_F(ActionsTest, ScrewdriverRadiusTwoClearsTheSquareWithoutHeaps) {
    StartGame();
    game.m_prefs.m_screwdriverRadius = 2;
    Place({"", "", "...a...b", "", ".....A", "", ".....c", "", "..........d"});
    UseScrewdriver(game);
    EXPECT_EQ(game.Cell(3, 2), kCellEmpty);
    EXPECT_EQ(game.Cell(7, 2), kCellEmpty);
    EXPECT_EQ(game.Cell(5, 6), kCellEmpty);
    EXPECT_EQ(game.m_score, 60);
    EXPECT_EQ(game.m_screwdrivers, 0);
    EXPECT_EQ(Log(), "S");
    EXPECT_EQ(HeapRecords(), 0);
    EXPECT_EQ(host.Only({"StatusLine", "HideArrows", "EraseCell", "Sound", "AnimateScrewdriver",
                         "AnimateRobotSteps", "DrawArrows"}),
              (std::vector<std::string>{"StatusLine", "HideArrows", "EraseCell(3,2)",
                                        "EraseCell(7,2)", "EraseCell(5,6)", "Sound:Screwdriver",
                                        "AnimateScrewdriver(1,5,4,2)", "StatusLine",
                                        "AnimateRobotSteps", "DrawArrows"}));
}

TEST_F(ActionsTest, ScrewdriverRefusedWhenNoneLeft) {
    StartGame();
    game.m_screwdrivers = 0;
    Place({"A.a", "", "", "", "", "", ".....b"});
    UseScrewdriver(game);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"Refuse"}));
    EXPECT_EQ(game.m_screwdrivers, 0);
    EXPECT_EQ(Log(), "");
}

TEST_F(ActionsTest, ScrewdriverThatClearsTheBoardStartsTheNextLevelWithoutARobotsTurn) {
    StartGame();
    Place({"A.", ".a"});
    UseScrewdriver(game);
    EXPECT_EQ(game.m_level, 2);
    EXPECT_EQ(Log(), "S. ");
    EXPECT_EQ(host.Count("AnimateRobotSteps"), 0);
    EXPECT_EQ(game.m_screwdrivers, 1) << "every level starts with one";
}

TEST_F(ActionsTest, ScrewdriverWithNobodyInRangeStillSounds) {
    StartGame();
    Place({"A", "", "", "", "", ".....a"});
    UseScrewdriver(game);
    EXPECT_EQ(host.Count("Sound:Screwdriver"), 1);
    EXPECT_EQ(game.m_score, 0);
}

TEST_F(ActionsTest, ScrewdriverRadiusIsClampedAndStored) {
    for (auto radii : {std::pair<int16_t, int16_t>{0, 1}, {-7, 1}, {10, 10}, {30000, 10}}) {
        StartGame();
        game.m_prefs.m_screwdriverRadius = radii.first;
        Place({"A", "", "", "", "", "", "", "", "", "", "", "..............................a"});
        UseScrewdriver(game);
        EXPECT_EQ(game.m_prefs.m_screwdriverRadius, radii.second);
    }
}

TEST_F(ActionsTest, LastStandMinusOneWithARobotAlreadyNextToThePlayerMovesNothing) {
    StartGame();
    Place({"", ".a", "..A"});
    LastStand(game, -1);
    EXPECT_EQ(Log(), "K");
    EXPECT_EQ(game.Cell(1, 1), kCellRobot);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"HideArrows", "HideCursor", "DrawArrows", "ShowCursor"}));
    EXPECT_EQ(game.m_lastStandMode, 0);
}

TEST_F(ActionsTest, LastStandMinusTwoStopsWithinTwoCells) {
    StartGame();
    Place({"A", "", "", "", "", "....a"});
    LastStand(game, -2);
    EXPECT_EQ(Log(), "J");
    // The robot walks from (4, 5) until it stands within two cells: (1, 2).
    EXPECT_EQ(game.Cell(1, 2), kCellRobot);
    EXPECT_EQ(host.Count("AnimateRobotSteps"), 3);
    EXPECT_FALSE(game.m_gameOver);
}

TEST_F(ActionsTest, FullLastStandEndsAtTheLevelChangeAndScoresWithItsMultiplier) {
    StartGame();
    game.m_prefs.m_lastStandMultiplier = 3;
    Place({"", "", "", "", "........a", "..........A", "........b"});
    LastStand(game, 1);
    EXPECT_EQ(game.m_level, 2);
    EXPECT_EQ(game.m_score, 60);
    EXPECT_EQ(game.m_lastStandMode, 0);
    EXPECT_EQ(Log(), "L. ");
    EXPECT_FALSE(game.m_gameOver);
}

TEST_F(ActionsTest, LastStandMinusVariantsDoNotMultiply) {
    StartGame();
    game.m_prefs.m_lastStandMultiplier = 3;
    Place({"", "", "", "", "........a", "..........A", "........b", "", "", "", "", "", "", "", "",
           "", "", "..............................c"});
    LastStand(game, -1);
    EXPECT_EQ(game.m_score, 20);
}

TEST_F(ActionsTest, LastStandEndsWithTheGameWhenARobotCatchesThePlayer) {
    StartGame();
    Place({"A", "", "", "....a"});
    LastStand(game, 1);
    EXPECT_TRUE(game.m_gameOver);
    EXPECT_EQ(host.Count("AnimateRobotSteps"), 3) << "the catch itself is not animated";
}

TEST_F(ActionsTest, LastStandOnABoardWithoutRobotsEndsAtOnce) {
    StartGame();
    Place({"A"});
    for (int16_t mode : {1, -1, -2}) {
        LastStand(game, mode);
    }
    EXPECT_EQ(Log(), "LKJ");
    EXPECT_EQ(host.Count("AnimateRobotSteps"), 0);
    EXPECT_EQ(game.m_level, 1);
    EXPECT_FALSE(game.m_gameOver);
}

} // namespace
