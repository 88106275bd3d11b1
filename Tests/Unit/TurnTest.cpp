// A turn: the player's step, or the teleport, the screwdriver or the Last Stand, and the
// robots' answer.
#include "CommandIds.h"
#include "GameFixture.h"
#include "Random.h"

#include <tuple>

namespace {

class TurnTest : public GameTest {};

std::vector<int> Corners(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

TEST_F(TurnTest, RobotsThatMeetOrRunIntoAHeapBecomeHeapsAndScore) {
    Start({"..............................c", "", "", "", "........a", ".......dS.A", "........b"});
    MovePlayer(game, 0, 0);
    EXPECT_EQ(host.calls,
              (Calls{"HideArrows", "SetRobotStepRects(8,4)", "SetRobotStepRects(8,6)",
                     "SetRobotStepRects(30,0)", "SetRobotStepRects(7,5)", "AnimateRobotSteps",
                     "Sound:RobotDies", "AnimateExplosions", "SetPlayerCell(10,5)", "RedrawPlayer",
                     "StatusLine", "DrawArrows"}));
    EXPECT_EQ(game.Cell(8, 5), kCellHeap);
    EXPECT_EQ(game.Cell(9, 5), kCellHeap);
    EXPECT_EQ(game.m_score, 30);
    EXPECT_EQ(HeapRecords(), 2) << "the heap run into stays one record";
    // Robot a's step from (8, 4): its cell moved by (1, 1), and both cells together.
    EXPECT_EQ(Corners(game.m_records[0].moveRect), (std::vector<int>{129, 65, 145, 81}));
    EXPECT_EQ(Corners(game.m_records[0].rect), (std::vector<int>{128, 64, 145, 81}));
    // An explosion starts a pixel below its cell and is 20 high.
    EXPECT_EQ(game.m_explosionCount, 2);
    EXPECT_EQ(Corners(game.m_explosionRects[0]), (std::vector<int>{128, 81, 144, 101}));
}

TEST_F(TurnTest, KillScoresWithTheMultipleKillMultiplierWrapAround) {
    using Case = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>;
    for (auto [points, multiplier, before, robots, after] :
         {Case{10, 2, 0, 3, 60}, Case{10, -2, 0, 3, 120}, Case{10, 0, 0, 3, 30},
          // 3 (2^31 - 1) = 2^31 - 3 (mod 2^32), times 2^31 twice is 0: nothing is added.
          Case{INT32_MAX, INT32_MIN, 0, 3, 0},
          // 2 (2^31 - 1) wraps to -2, which is not added.
          Case{INT32_MAX, 1, INT32_MAX, 2, INT32_MAX}}) {
        // Two or three robots arrive at (9, 5) from the west; robot d keeps the level going.
        Start({"..............................d", "", "", "", "........a",
               robots == 3 ? "........b.A" : "..........A", "........c"});
        game.m_prefs.m_robotKillPoints = points;
        game.m_prefs.m_multipleKillMultiplier = multiplier;
        game.m_score = before;
        MovePlayer(game, 0, 0);
        EXPECT_EQ(game.m_score, after)
            << robots << " robots, " << points << " points, multiplier " << multiplier;
    }
}

TEST_F(TurnTest, ACatchEndsTheTurnAtOnce) {
    // Robot a is diagonal to the player and catches it; b and c would collide later in the
    // list, but never move.
    Start({"", "", "", "..a", "...A", "", "", ".....b", ".....c"});
    game.Cell(5, 7) = '1';
    MovePlayer(game, 0, 0);
    EXPECT_TRUE(game.m_gameOver);
    EXPECT_EQ(game.Cell(2, 3), kCellEmpty) << "the catching robot left its cell";
    EXPECT_EQ(game.Cell(5, 7), kCellRobot);
    EXPECT_EQ(game.Cell(5, 8), kCellRobot);
    EXPECT_EQ(host.Only({"HighlightKiller", "Sound", "AnimatePlayerDeath", "RestoreKiller",
                         "AnimateRobotSteps"}),
              (Calls{"HighlightKiller:robot(2,3)", "Sound:PlayerDies",
                     "AnimatePlayerDeath:heap(3,4)", "RestoreKiller:robot(2,3)"}));
}

TEST_F(TurnTest, WhereTheListsMeetAHeapTakesOverADeadRobotsSlot) {
    // A full record array: robots in slots 0..554 (all dead from 3 on), the two lists sharing the
    // end marker in slot 555, heaps in 556 and 557. Robots a and b (slots 0, 1) collide at
    // (9, 5); c keeps the level going.
    Start(WithFarRobot({"", "", "", "", "........a", "..........A", "........b"}, 'c'));
    Robot* const marker = game.m_records + kMaxPlaced;
    std::fill(game.m_records + 3, marker + 1, Robot{});
    marker->isAlive = kEndOfList;
    for (int16_t x = 1; x <= 2; ++x) {
        marker[x] = Robot{{}, {}, x, 0, 0, 0, 0, kRobotIsAlive};
        game.Cell(x, 0) = kCellHeap;
    }
    game.m_robotListEnd = game.m_heapListEnd = marker;
    MoveRobots(game);
    EXPECT_EQ(game.Cell(9, 5), kCellHeap);
    EXPECT_EQ(game.m_score, 20);
    EXPECT_EQ(game.m_robotListEnd, marker - 1);
    EXPECT_EQ(game.m_heapListEnd, marker - 1);
    EXPECT_EQ(HeapRecords(), 3);
    EXPECT_EQ(marker->x, 9);
}

TEST_F(TurnTest, AStepOffTheBoardIsRefusedOneOntoAHeapOrARobotKillsAndThenNothingActs) {
    for (auto [row, dx, dy, log, killer] :
         {std::tuple<const char*, int16_t, int16_t, const char*, const char*>{
              "AS", 1, 0, "6", "HighlightKiller:heap(1,0)"},
          {"A.", 0, 1, "2", "HighlightKiller:robot(0,1)"}}) {
        Start({row, "a"});
        MovePlayer(game, -1, 0);
        EXPECT_EQ(host.calls, Calls{"Refuse"});
        MovePlayer(game, dx, dy);
        EXPECT_TRUE(game.m_gameOver) << killer;
        EXPECT_EQ(host.Only({"HighlightKiller", "AnimatePlayerDeath", "AnimateRobotSteps"}),
                  (Calls{killer, "AnimatePlayerDeath:heap(0,0)"}));
        host.Clear();
        for (int id : {IDM_STEP_EAST, IDM_WAIT, IDM_TELEPORT, IDM_SCREWDRIVER, IDM_LAST_STAND}) {
            HandleGameCommand(game, id);
        }
        EXPECT_EQ(Log(), log) << "nothing logged after the end";
        EXPECT_TRUE(host.Only({"Sound", "Refuse"}).empty());
    }
}

class ActionsTest : public GameTest {};

TEST_F(ActionsTest, TeleportSceneOrderAndLandingPastTheOwnCell) {
    // Seeded with 3, the generator's first cell is the player's own, (15, 0), which is drawn
    // again without a try: (7, 2).
    Start(WithFarRobot({"...............A"}));
    game.m_prefs.m_teleportRule = 3;
    SeedRandom(3);
    Teleport(game);
    EXPECT_EQ(Log(), "T");
    EXPECT_EQ(game.Cell(7, 2), kCellPlayer);
    EXPECT_EQ(game.Cell(15, 0), kCellEmpty);
    EXPECT_EQ(host.Only({"HideArrows", "EraseCell", "Sound", "AnimateTeleport", "SetPlayerCell",
                         "RedrawPlayer", "Pause", "AnimateRobotSteps", "DrawArrows"}),
              (Calls{"HideArrows", "EraseCell(15,0)", "Sound:Teleport", "AnimateTeleport(15,0,7,2)",
                     "SetPlayerCell(7,2)", "RedrawPlayer", "Pause(288)", "AnimateRobotSteps",
                     "DrawArrows"}));
}

TEST_F(ActionsTest, AFullBoardRefusesTheTeleportOnceItsTriesAreUsed) {
    // On a board without an empty cell, rule 4 draws its first candidate and 1000 more, two
    // draws each. Rule 5 discards its first candidate and draws 499 more at two tries each.
    Rows full(kGridHeight, std::string(kGridWidth, 'S'));
    full[0][0] = 'A';
    for (auto [rule, draws] : {std::pair<int16_t, int>{4, 2002}, {5, 1000}}) {
        Start(full);
        game.m_prefs.m_teleportRule = rule;
        SeedRandom(99);
        Teleport(game);
        EXPECT_EQ(host.calls, Calls{"Refuse"}) << "rule " << rule;
        EXPECT_EQ(Log(), "") << "rule " << rule;
        const uint16_t next = RandomUpTo(65535);
        SeedRandom(99);
        for (int i = 0; i < draws; ++i) {
            RandomUpTo(0);
        }
        EXPECT_EQ(RandomUpTo(65535), next) << "rule " << rule;
    }
}

TEST_F(ActionsTest, TeleportRulesKeepToTheirCells) {
    for (int16_t rule : {1, 2, 4, 5}) {
        for (uint32_t seed = 1; seed <= 60; ++seed) {
            Start({"a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a", ".S.S.S.S.S.S.S.S.S.S.S.S.S.S.S",
                   "...............A"});
            game.m_prefs.m_teleportRule = rule;
            game.m_prefs.m_moveRobotsAfterTeleport = 0;
            SeedRandom(seed * 2654435761u); // spread out: consecutive seeds start alike
            Teleport(game);
            const std::string where =
                "rule " + std::to_string(rule) + ", seed " + std::to_string(seed);
            // Only rule 1 lands on robots, only rule 2 on heaps, rule 5 never next to a robot.
            EXPECT_TRUE(rule == 1 || host.Only({"AnimatePlayerDeath:heap"}).empty()) << where;
            EXPECT_TRUE(rule == 2 || host.Only({"AnimatePlayerDeath:clear"}).empty()) << where;
            EXPECT_TRUE(rule != 5 || game.m_playerY > 1) << where;
            EXPECT_TRUE(host.Only({"AnimateRobotSteps"}).empty()) << where << ": the robots stay";
        }
    }
}

TEST_F(ActionsTest, ScrewdriverRadiusTwoClearsTheSquareWithoutHeapsAndTheRadiusIsClamped) {
    Start({"", "", "...a...b", "", ".....A", "", ".....c", "", "..........d"});
    game.m_prefs.m_screwdriverRadius = 2;
    UseScrewdriver(game);
    EXPECT_EQ(CellsHolding(kCellRobot), 1);
    EXPECT_EQ(game.m_score, 60);
    EXPECT_EQ(Log(), "S");
    EXPECT_EQ(HeapRecords(), 0);
    EXPECT_EQ(host.Only({"StatusLine", "HideArrows", "EraseCell", "Sound", "AnimateScrewdriver",
                         "AnimateRobotSteps", "DrawArrows"}),
              (Calls{"StatusLine", "HideArrows", "EraseCell(3,2)", "EraseCell(7,2)",
                     "EraseCell(5,6)", "Sound:Screwdriver", "AnimateScrewdriver(1,5,4,2)",
                     "StatusLine", "AnimateRobotSteps", "DrawArrows"}));
    // None left: refused, and nothing logged.
    host.Clear();
    UseScrewdriver(game);
    EXPECT_EQ(host.calls, Calls{"Refuse"});
    EXPECT_EQ(Log(), "S");
    // The radius is clamped, and the clamped one stored.
    for (auto [radius, clamped] :
         {std::pair<int16_t, int16_t>{0, 1}, {-7, 1}, {10, 10}, {30000, 10}}) {
        Start(WithFarRobot({"A"}));
        game.m_prefs.m_screwdriverRadius = radius;
        UseScrewdriver(game);
        EXPECT_EQ(game.m_prefs.m_screwdriverRadius, clamped) << "radius " << radius;
    }
}

TEST_F(ActionsTest, LastStandVariantsStopWhereTheyShouldAndOnlyTheFullOneMultiplies) {
    const Rows meeting = {"", "", "", "", "........a", "..........A", "........b"};
    using Case = std::tuple<Rows, int16_t, const char*, int, int, bool>;
    for (const auto& [rows, mode, log, robotTurns, score, over] :
         {// Minus 1 with a robot already next to the player, minus 2 as soon as one is within
          // two cells (from (4, 5) to (1, 2)).
          Case{{"", ".a", "..A"}, -1, "K", 0, 0, false},
          Case{{"A", "", "", "", "", "....a"}, -2, "J", 3, 0, false},
          // The stand ends at the level change; the catch itself is not animated.
          Case{meeting, 1, "L. ", 1, 60, false}, Case{meeting, -1, "K. ", 1, 20, false},
          Case{{"A", "", "", "....a"}, 1, "L", 3, 0, true},
          // A board without robots ends a stand at once.
          Case{{"A"}, 1, "L", 0, 0, false}, Case{{"A"}, -2, "J", 0, 0, false}}) {
        Start(rows);
        game.m_prefs.m_lastStandMultiplier = 3;
        LastStand(game, mode);
        const std::string where = "mode " + std::to_string(mode) + " on " + rows.back();
        EXPECT_EQ(Log(), log) << where;
        EXPECT_EQ(host.Only({"AnimateRobotSteps"}), Calls(robotTurns, "AnimateRobotSteps"))
            << where;
        EXPECT_EQ(game.m_score, score) << where;
        EXPECT_EQ(game.m_gameOver, over) << where;
        EXPECT_EQ(game.m_lastStandMode, 0) << where;
    }
}

} // namespace
