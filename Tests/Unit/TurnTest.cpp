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

TEST_F(TurnTest, KillScoresUnderEveryMultiplierInAStepAndInTheStands) {
    // stand: 0 for a wait, else the Last Stand's mode.
    using Case = std::tuple<int16_t, int32_t, int32_t, int32_t, int, int32_t, int32_t>;
    for (auto [stand, points, multiple, standMultiplier, robots, before, after] :
         {// The multiple-kill multiplier counts once above 1, and by its size for every kill
          // after the first below -1; a single kill is never multiplied.
          Case{0, 10, 2, 1, 3, 0, 60}, Case{0, 10, -2, 1, 3, 0, 120}, Case{0, 10, -3, 1, 2, 0, 60},
          Case{0, 10, 0, 1, 3, 0, 30}, Case{0, 10, -1, 1, 3, 0, 30}, Case{0, 10, 1, 1, 3, 0, 30},
          Case{0, 10, 5, 1, 1, 0, 10}, Case{0, 10, -5, 1, 1, 0, 10},
          // The Last Stand multiplier counts only in the full stand, and only above 1.
          Case{0, 7, 3, 4, 2, 0, 42}, Case{1, 10, 1, 2, 2, 0, 40}, Case{1, 10, 1, 1, 2, 0, 20},
          Case{1, 10, 1, 0, 2, 0, 20}, Case{1, 10, 1, -3, 2, 0, 20}, Case{1, 10, 1, 3, 1, 0, 30},
          Case{1, 10, 2, 3, 3, 0, 180}, Case{-1, 10, 1, 3, 2, 0, 20},
          // Points of a turn that are not above 0 are not added.
          Case{0, -10, 1, 1, 2, 5, 5}, Case{0, 0, 2, 1, 3, 5, 5},
          // 3 (2^31 - 1) = 2^31 - 3 (mod 2^32), times 2^31 twice is 0: nothing is added.
          Case{0, INT32_MAX, INT32_MIN, 1, 3, 0, 0},
          // 2 (2^31 - 1) wraps to -2, which is not added.
          Case{0, INT32_MAX, 1, 1, 2, INT32_MAX, INT32_MAX}}) {
        // One robot runs into the heap at (9, 5), or two or three arrive there from the west.
        Start({"", "", "", "", "........a",
               robots == 3 ? "........b.A" : (robots == 2 ? "..........A" : ".........SA"),
               robots > 1 ? "........c" : ""});
        game.m_prefs.m_robotKillPoints = points;
        game.m_prefs.m_multipleKillMultiplier = multiple;
        game.m_prefs.m_lastStandMultiplier = standMultiplier;
        game.m_score = before;
        stand != 0 ? LastStand(game, stand) : MovePlayer(game, 0, 0);
        EXPECT_EQ(game.m_score, after)
            << robots << " robots, " << points << " points, multipliers " << multiple << " and "
            << standMultiplier << ", stand " << stand;
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
    // On a board without a cell the rule takes, rules 1, 2 and 4 draw their first candidate and
    // 1000 more, two draws each; rules 1 and 2 take the player's own cell, which is drawn again
    // without a try (four times from this seed). Rule 5 discards its first candidate and draws
    // 499 more at two tries each. (The robots never move here, so one letter serves them all.)
    using Case = std::tuple<int16_t, char, int>;
    for (auto [rule, fill, draws] :
         {Case{4, 'S', 2002}, Case{1, 'S', 2010}, Case{2, 'a', 2010}, Case{5, 'S', 1000}}) {
        Rows full(kGridHeight, std::string(kGridWidth, fill));
        full[0][0] = 'A';
        Start(full);
        game.m_prefs.m_teleportRule = rule;
        SeedRandom(99);
        Teleport(game);
        EXPECT_EQ(host.calls, Calls{"Refuse"}) << "rule " << rule;
        EXPECT_EQ(Log(), "") << "rule " << rule;
        const uint16_t next = RandomUpTo(65535);
        EXPECT_EQ(next, OutputAfterDraws(99, draws)) << "rule " << rule;
    }
}

TEST_F(ActionsTest, ScrewdriverSceneOrderAndNoHeapsLeft) {
    Start({"", "", "...a...b", "", ".....A", "", ".....c", "", "..........d"});
    game.m_prefs.m_screwdriverRadius = 2;
    UseScrewdriver(game);
    EXPECT_EQ(HeapRecords(), 0);
    EXPECT_EQ(host.Only({"StatusLine", "HideArrows", "EraseCell", "Sound", "AnimateScrewdriver",
                         "AnimateRobotSteps", "DrawArrows"}),
              (Calls{"StatusLine", "HideArrows", "EraseCell(3,2)", "EraseCell(7,2)",
                     "EraseCell(5,6)", "Sound:Screwdriver", "AnimateScrewdriver(1,5,4,2)",
                     "StatusLine", "AnimateRobotSteps", "DrawArrows"}));
}

TEST_F(ActionsTest, ScrewdriverRangeScoreAndWhatFollowsUnderEverySetting) {
    // Robots 1 (a), 2 (b, c), 3 (d), 10 (e, f) and 11 (g, h) cells from the player; in the
    // corner, 2 (c), 10 (b) and 11 (a, d) cells away.
    const Rows middle = {".................c.......f", "",      ".....e.......b.A..........h",
                         "................a",          "....g", "...............d"};
    const Rows corner = {"A..........d", "..c", "", "..........b", "", "...........a"};
    using Case = std::tuple<Rows, int16_t, int16_t, int32_t, int32_t, uint8_t, int, int32_t, int>;
    for (const auto& [rows, radius, clamped, points, multiplier, moveAfter, survivors, score,
                      level] :
         {// The radius clamped to 1..10.
          Case{middle, 2, 2, 10, 2, 0, 5, 60, 1}, Case{middle, 10, 10, 10, 2, 0, 2, 120, 1},
          Case{middle, 11, 10, 10, 2, 0, 2, 120, 1}, Case{middle, 0, 1, 10, 2, 0, 7, 20, 1},
          Case{middle, -7, 1, 10, 2, 0, 7, 20, 1}, Case{corner, 30000, 10, 10, 2, 0, 2, 40, 1},
          // Kill points times the screwdriver's multiplier, whatever its sign; no other factor.
          Case{middle, 2, 2, 7, 3, 0, 5, 63, 1}, Case{middle, 2, 2, 7, 1, 0, 5, 21, 1},
          Case{middle, 2, 2, 7, 0, 0, 5, 0, 1}, Case{middle, 2, 2, 7, -2, 0, 5, -42, 1},
          // The robots take their turn only when asked; a cleared board brings the next level
          // without one. A destroyed robot's record (a, left out, at (0, 0)) scores nothing.
          Case{middle, 1, 1, 10, 2, 1, 7, 20, 1}, Case{{"A", ".b"}, 1, 1, 10, 2, 1, 0, 20, 2}}) {
        Start(rows);
        game.m_prefs.m_screwdriverRadius = radius;
        game.m_prefs.m_robotKillPoints = points;
        game.m_prefs.m_screwdriverMultiplier = multiplier;
        game.m_prefs.m_moveRobotsAfterScrewdriver = moveAfter;
        game.m_prefs.m_multipleKillMultiplier = game.m_prefs.m_lastStandMultiplier = 5;
        game.m_prefs.m_screwdriverEffect = 4;
        const std::string animation = "AnimateScrewdriver(4," + std::to_string(game.m_playerX) +
                                      "," + std::to_string(game.m_playerY) + "," +
                                      std::to_string(clamped) + ")";
        UseScrewdriver(game);
        const std::string where = "radius " + std::to_string(radius) + ", " +
                                  std::to_string(points) + " points times " +
                                  std::to_string(multiplier) + " on " + rows.front();
        EXPECT_EQ(game.m_prefs.m_screwdriverRadius, clamped) << where;
        EXPECT_EQ(host.Only({"AnimateScrewdriver"}), Calls{animation}) << where;
        EXPECT_EQ(game.m_level, level) << where;
        EXPECT_EQ(game.m_level == 1 ? CellsHolding(kCellRobot) : 0, survivors) << where;
        EXPECT_EQ(game.m_score, score) << where;
        EXPECT_EQ(host.Only({"AnimateRobotSteps"}).size(), moveAfter && level == 1 ? 1u : 0u)
            << where;
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
          // At the edges of the two ranges, along a row, and past a destroyed robot's record
          // (a, left out, lies at (0, 0) beside the player).
          Case{{"A.a"}, -1, "K", 1, 0, false}, Case{{"A", "", "", "...a"}, -2, "J", 1, 0, false},
          Case{{"A", "..a"}, -2, "J", 0, 0, false},
          Case{{"A.............a"}, -2, "J", 12, 0, false},
          Case{{".A", "", "", "", "...b"}, -1, "K", 3, 0, false},
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
