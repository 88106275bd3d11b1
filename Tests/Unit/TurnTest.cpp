// The player's step and the robots' answer.
#include "CommandIds.h"
#include "GameFixture.h"

namespace {

class TurnTest : public GameTest {};

TEST_F(TurnTest, RobotsThatMeetBecomeAHeapAndScore) {
    StartGame();
    Place({"..............................a", "", "", "", "........b", "..........A", "........c"});
    MovePlayer(game, 0, 0);
    EXPECT_EQ(game.Cell(9, 5), kCellHeap);
    EXPECT_EQ(game.m_score, 20);
    EXPECT_EQ(host.Count("Sound:RobotDies"), 1);
    EXPECT_EQ(Log(), "5");
    EXPECT_EQ(LiveRobots(), 1);
    EXPECT_EQ(HeapRecords(), 1);
    EXPECT_FALSE(game.m_gameOver);
}

TEST_F(TurnTest, MultipleKillMultiplier) {
    struct Case {
        int32_t multiplier;
        int32_t score;
    };
    for (Case c : {Case{2, 60}, Case{-2, 120}, Case{1, 30}, Case{-1, 30}, Case{0, 30}}) {
        StartGame();
        game.m_prefs.m_multipleKillMultiplier = c.multiplier;
        // Three robots arrive at (9, 5) from the west side; a fourth keeps the level going.
        Place({"..............................d", "", "", "", "........a", "........b.A",
               "........c"});
        MovePlayer(game, 0, 0);
        EXPECT_EQ(game.Cell(9, 5), kCellHeap);
        EXPECT_EQ(game.m_score, c.score) << "multiplier " << c.multiplier;
    }
}

TEST_F(TurnTest, ACatchEndsTheTurnAtOnce) {
    StartGame();
    // Robot a is diagonal to the player and catches it; b and c would collide later in the
    // list, but never move.
    Place({"", "", "", "..a", "...A", "", "", ".....b", ".....c"});
    game.Cell(5, 7) = '1';
    MovePlayer(game, 0, 0);
    EXPECT_TRUE(game.m_gameOver);
    EXPECT_EQ(game.m_score, 0);
    EXPECT_EQ(game.Cell(2, 3), kCellEmpty) << "the catching robot left its cell";
    EXPECT_EQ(game.Cell(5, 7), kCellRobot);
    EXPECT_EQ(game.Cell(5, 8), kCellRobot);
    EXPECT_EQ(host.Count("AnimateRobotSteps"), 0);
    EXPECT_EQ(
        host.Only({"HighlightKiller", "Sound", "AnimatePlayerDeath", "RestoreKiller"}),
        (std::vector<std::string>{"HighlightKiller:robot(2,3)", "Sound:PlayerDies",
                                  "AnimatePlayerDeath:heap(3,4)", "RestoreKiller:robot(2,3)"}));
}

TEST_F(TurnTest, ACatchMidTurnLeavesTheTurnsCellCodes) {
    StartGame();
    // a steps into c's cell; then b catches the player before c moves: the board keeps '2'.
    Place({"", "", ".a", "..c.b", "...A"});
    MovePlayer(game, 0, 0);
    EXPECT_TRUE(game.m_gameOver);
    EXPECT_EQ(game.Cell(2, 3), '2');
    EXPECT_EQ(game.Cell(1, 2), kCellEmpty);
    EXPECT_EQ(game.Cell(4, 3), kCellEmpty) << "the catching robot left its cell";
}

TEST_F(TurnTest, RobotRunningIntoAHeapDiesAndTheHeapStaysOneRecord) {
    StartGame();
    Place({"", "", "", "", ".......aS.A", "", "", "", "", "", "", "", "", "", "",
           "..............................b"});
    MovePlayer(game, 0, 0);
    EXPECT_EQ(game.Cell(8, 4), kCellHeap);
    EXPECT_EQ(game.Cell(7, 4), kCellEmpty);
    EXPECT_EQ(game.m_score, 10);
    EXPECT_EQ(HeapRecords(), 1);
}

TEST_F(TurnTest, StepOntoRobotOrHeapIsDeath) {
    StartGame();
    Place({"AS", "a"});
    MovePlayer(game, 1, 0);
    EXPECT_TRUE(game.m_gameOver);
    EXPECT_EQ(Log(), "6");
    EXPECT_EQ(host.Count("HighlightKiller:heap(1,0)"), 1);
    StartGame();
    Place({"A.", "a"});
    MovePlayer(game, 0, 1);
    EXPECT_TRUE(game.m_gameOver);
    EXPECT_EQ(Log(), "2");
    EXPECT_EQ(host.Count("HighlightKiller:robot(0,1)"), 1);
    EXPECT_EQ(host.Count("AnimateRobotSteps"), 0);
}

TEST_F(TurnTest, StepOffTheBoardIsRefused) {
    StartGame();
    Place({"", "", "", "", "", "A", "", "", "", "......a"});
    MovePlayer(game, -1, 0);
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"Refuse"}));
    EXPECT_EQ(game.Cell(6, 9), kCellRobot);
}

TEST_F(TurnTest, KillingTheLastRobotStartsTheNextLevelAfterTheTurn) {
    StartGame();
    Place({"", "", "", "", "........a", "..........A", "........b"});
    MovePlayer(game, 0, 0);
    EXPECT_EQ(game.m_level, 2);
    EXPECT_EQ(Log(), "5. ");
    EXPECT_EQ(game.m_score, 20);
    EXPECT_EQ(LiveRobots(), 10);
    const auto order =
        host.Only({"AnimateRobotSteps", "AnimateExplosions", "Pause", "RedrawBoard"});
    EXPECT_EQ(order, (std::vector<std::string>{"AnimateRobotSteps", "AnimateExplosions",
                                               "Pause(1440)", "RedrawBoard"}));
}

TEST_F(TurnTest, PlayerStepSceneOrder) {
    StartGame();
    Place({"A", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
           "..............................a"});
    MovePlayer(game, 1, 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{
                              "HideArrows", "AnimatePlayerStep(1,0)", "SetPlayerCell(1,0)",
                              "SetRobotStepRects(30,17)", "AnimateRobotSteps", "DrawArrows"}));
    EXPECT_EQ(game.Cell(1, 0), kCellPlayer);
    EXPECT_EQ(game.Cell(29, 16), kCellRobot);
}

TEST_F(TurnTest, RobotsTurnSceneOrderWithACollision) {
    StartGame();
    Place({"..............................c", "", "", "", "........a", "..........A", "........b"});
    MovePlayer(game, 0, 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{
                              "HideArrows", "SetRobotStepRects(8,4)", "SetRobotStepRects(8,6)",
                              "SetRobotStepRects(30,0)", "AnimateRobotSteps", "Sound:RobotDies",
                              "AnimateExplosions", "SetPlayerCell(10,5)", "RedrawPlayer",
                              "StatusLine", "DrawArrows"}));
    ASSERT_EQ(game.m_explosionCount, 1);
    const Rect r = game.m_explosionRects[0];
    EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
              (std::vector<int>{144, 81, 160, 101}));
    EXPECT_EQ(game.m_explosionRects[1].right, 0);
}

TEST_F(TurnTest, RobotStepRectsCoverTheCellAndTheStep) {
    Robot r{};
    r.x = 3;
    r.y = 4;
    r.dx = -1;
    r.dy = 1;
    ComputeRobotStepRects(r);
    EXPECT_EQ(
        (std::vector<int>{r.moveRect.left, r.moveRect.top, r.moveRect.right, r.moveRect.bottom}),
        (std::vector<int>{47, 65, 63, 81}));
    EXPECT_EQ((std::vector<int>{r.rect.left, r.rect.top, r.rect.right, r.rect.bottom}),
              (std::vector<int>{47, 64, 64, 81}));
}

// A full record array: robots in slots 0..554 with the two lists sharing the end marker in
// slot 555 and heaps in 556 and 557. Robots a and b (slots 0, 1) collide at (9, 5); the robot
// in slot 554 is alive or dead as asked; robot c keeps the level going.
void FillRecordArray(GameTest& test, CGame& game, bool lastRobotAlive) {
    test.Place({"", "", "", "", "........a", "..........A", "........b", "", "", "", "", "", "", "",
                "", "", "", "..............................c"});
    for (int i = 3; i < kMaxPlaced; ++i) {
        game.m_records[i] = Robot{};
        game.m_records[i].x = 0;
        game.m_records[i].y = 17;
    }
    if (lastRobotAlive) {
        game.m_records[kMaxPlaced - 1].isAlive = kRobotIsAlive;
        game.Cell(0, 17) = kCellRobot;
    }
    Robot* marker = game.m_records + kMaxPlaced;
    marker->isAlive = kEndOfList;
    for (int slot = kMaxPlaced + 1; slot < kNumCells; ++slot) {
        game.m_records[slot] = Robot{};
        game.m_records[slot].isAlive = kRobotIsAlive;
        game.m_records[slot].x = static_cast<int16_t>(slot - kMaxPlaced);
        game.Cell(slot - kMaxPlaced, 0) = kCellHeap;
    }
    game.m_robotListEnd = game.m_heapListEnd = marker;
}

TEST_F(TurnTest, HeapTakesOverADeadRobotWhereTheListsMeet) {
    StartGame();
    FillRecordArray(*this, game, false);
    MoveRobots(game);
    EXPECT_EQ(game.Cell(9, 5), kCellHeap);
    EXPECT_EQ(game.m_robotListEnd, game.m_records + kMaxPlaced - 1);
    EXPECT_EQ(game.m_heapListEnd, game.m_records + kMaxPlaced - 1);
    EXPECT_EQ(game.m_records[kMaxPlaced].x, 9);
    EXPECT_EQ(HeapRecords(), 3);
}

TEST_F(TurnTest, HeapBesideALiveRobotExistsOnTheBoardOnly) {
    StartGame();
    FillRecordArray(*this, game, true);
    MoveRobots(game);
    EXPECT_EQ(game.Cell(9, 5), kCellHeap);
    EXPECT_EQ(game.m_robotListEnd, game.m_records + kMaxPlaced);
    EXPECT_EQ(game.m_heapListEnd, game.m_records + kMaxPlaced);
    EXPECT_EQ(game.m_records[kMaxPlaced - 1].isAlive, kRobotIsAlive);
    EXPECT_EQ(HeapRecords(), 2);
    EXPECT_EQ(game.m_score, 20);
}

TEST_F(TurnTest, HugeMultipliersWrapWithoutUndefinedBehaviour) {
    StartGame();
    game.m_prefs.m_robotKillPoints = INT32_MAX;
    game.m_prefs.m_multipleKillMultiplier = INT32_MIN;
    Place({"..............................d", "", "", "", "........a", "........b.A", "........c"});
    MovePlayer(game, 0, 0);
    // 3 * (2^31 - 1) = 2^31 - 3 (mod 2^32), times 2^31 twice = 0: nothing is added.
    EXPECT_EQ(game.m_score, 0);
    game.m_prefs.m_multipleKillMultiplier = 1;
    game.m_score = INT32_MAX;
    Place({"..............................d", "", "", "", "........a", "..........A", "........b"});
    MovePlayer(game, 0, 0);
    // 2 * (2^31 - 1) wraps to -2, which is not added.
    EXPECT_EQ(game.m_score, INT32_MAX);
}

TEST_F(TurnTest, StepsAndActionsAfterTheGameDoNothing) {
    StartGame();
    Place({"A.", "a"});
    MovePlayer(game, 0, 1);
    host.Clear();
    const std::string log = Log();
    for (int id : {IDM_STEP_EAST, IDM_WAIT, IDM_TELEPORT, IDM_SCREWDRIVER, IDM_LAST_STAND}) {
        HandleGameCommand(game, id);
    }
    EXPECT_EQ(Log(), log);
    EXPECT_EQ(host.Count("Refuse"), 0);
    EXPECT_TRUE(host.Only({"Sound"}).empty());
}

} // namespace
