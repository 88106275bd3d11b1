// Motion on the board: steps and the movement arrows, moving by mouse, keys pressed during an
// animation, closing in the middle of the robots' turn, and what explosions and deaths leave
// behind on the board.

#include "Scenario.h"

#include <cstdlib>

namespace {

// Teleport rule 2 lands anywhere but on a robot, scrap heaps included.
constexpr int16_t kLandAnywhereButOnRobots = 2;

bool IsFreeNeighbour(const Position& position, POINT cell) {
    for (const POINT arrow : ArrowCells(position)) {
        if (arrow.x == cell.x && arrow.y == cell.y) {
            return true;
        }
    }
    return false;
}

// An empty cell two or more cells away from the player: no arrow and no target.
POINT EmptyCellAwayFromPlayer(const Position& position) {
    const POINT player = PlayerCell(position);
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            if (position.At(x, y) == '.' &&
                (std::abs(x - player.x) > 1 || std::abs(y - player.y) > 1)) {
                return {x, y};
            }
        }
    }
    Fail("the board has no empty cell away from the player");
}

// A shown arrow other than the one at `avoid`, the opposite one when it is shown.
POINT OtherArrow(const Position& position, POINT avoid) {
    const POINT player = PlayerCell(position);
    const POINT opposite = {2 * player.x - avoid.x, 2 * player.y - avoid.y};
    if (IsFreeNeighbour(position, opposite)) {
        return opposite;
    }
    for (const POINT arrow : ArrowCells(position)) {
        if (arrow.x != avoid.x || arrow.y != avoid.y) {
            return arrow;
        }
    }
    Fail("the player has only one arrow; a drag needs two");
}

// Waits until one of the robots of `position` has left its cell's picture: the robots' turn
// has begun. During the player's step no robot cell changes.
void WaitForRobotsToMove(Game& game, const Position& position, const Picture& before) {
    const auto anyRobotMoved = [&] {
        const Picture now = game.Capture();
        for (int y = 0; y < kRows * kCellPixels; ++y) {
            for (int x = 0; x < kColumns * kCellPixels; ++x) {
                if (position.At(x / kCellPixels, y / kCellPixels) == '1' &&
                    before.At(x, y) != now.At(x, y)) {
                    return true;
                }
            }
        }
        return false;
    };
    if (!WaitUntil(anyRobotMoved)) {
        Fail("after the step no robot moved");
    }
}

} // namespace

E2E_TEST(arrows_and_player_take_mouse_clicks) {
    // The played moves: a step clicked on its arrow, a step dragged to from another arrow, and
    // a wait clicked on the player after clicks that must do nothing.
    ResumedGame resumed(context, "mouse");
    const std::string& moves = resumed.moves;
    const size_t first = resumed.resumed;
    if (moves.size() != first + 3 || moves[first + 2] != '5') {
        Fail("mouse.txt must play two steps and then a wait");
    }
    Game& game = resumed.game;
    const HWND window = game.WaitForMainWindow();
    game.Focus();

    Position position = resumed.recorded.PositionAfter(first);
    const POINT clicked = StepTarget(PlayerCell(position), moves[first]);
    ClickAt(CellOnScreen(window, clicked));
    resumed.WaitForBoardAfter(first + 1, "after a click on an arrow");

    position = resumed.recorded.PositionAfter(first + 1);
    const POINT released = StepTarget(PlayerCell(position), moves[first + 1]);
    const POINT pressed = OtherArrow(position, released);
    MouseMoveTo(CellOnScreen(window, pressed));
    MouseDown(CellOnScreen(window, pressed));
    for (const POINT arrow : ArrowCells(position)) {
        MouseMoveTo(CellOnScreen(window, arrow));
    }
    MouseMoveTo(CellOnScreen(window, released));
    MouseUp(CellOnScreen(window, released));
    resumed.WaitForBoardAfter(first + 2, "after a press on one arrow and a release on another");

    // Input is handled in order: the wait clicked last shows whether these did anything.
    position = resumed.recorded.PositionAfter(first + 2);
    const POINT empty = CellOnScreen(window, EmptyCellAwayFromPlayer(position));
    ClickAt(empty);
    MouseMoveTo(CellOnScreen(window, ArrowCells(position).front()));
    MouseDown(CellOnScreen(window, ArrowCells(position).front()));
    MouseMoveTo(empty);
    MouseUp(empty);
    ClickAt(CellOnScreen(window, PlayerCell(position)));
    resumed.WaitForBoardAfter(
        first + 3, "after clicks on the empty board, a drag off an arrow, and a click on "
                   "the player (only that click may act, as a wait)");
}

E2E_TEST(keys_pressed_during_a_step_are_dropped) {
    // The played moves: a step east, pressed five times, and a wait.
    ResumedGame resumed(context, "typed-ahead");
    const size_t step = resumed.resumed;
    if (resumed.moves.substr(step) != "65") {
        Fail("typed-ahead.txt must play a step east and then a wait");
    }
    Game& game = resumed.game;
    const Picture before = game.Capture();
    game.Press(VK_RIGHT);
    // The arrows go at once when the step starts; the other presses come during it.
    if (!WaitUntil([&] { return !(game.Capture() == before); })) {
        Fail("Right did not start a step");
    }
    for (int press = 0; press < 4; ++press) {
        PressKey(VK_RIGHT);
    }
    resumed.WaitForBoardAfter(step + 1,
                              "after Right pressed once and four times more during the step");
    game.Command(VK_SPACE, kNoModifiers, "Space");
    resumed.WaitForBoardAfter(step + 2,
                              "after the five presses of Right and a wait (one step only)");
}

E2E_TEST(step_lands_on_target_and_closing_during_the_robots_turn_ends_the_program) {
    {
        // The played step ends beside a heap that the robots' turn makes.
        ResumedGame resumed(context, "arrows");
        if (ArrowCells(resumed.recorded.PositionAfter(resumed.resumed + 1)).size() == 8) {
            Fail("arrows.txt: its played step must end next to a robot or a heap");
        }
        resumed.Play(resumed.resumed, "the step and the robots' turn");
    }
    struct Way {
        const char* name;
        void (*close)(Game&, POINT closeBox);
    };
    const Way ways[] = {
        {"WM_CLOSE",
         [](Game& game, POINT) { PostMessageA(game.FindMainWindow(), WM_CLOSE, 0, 0); }},
        {"a click on the close box", [](Game&, POINT closeBox) { ClickAt(closeBox); }},
    };
    for (const Way& way : ways) {
        // Each close saves the game with the step; every run resumes it from before the step.
        ResumedGame resumed(context, "arrows");
        Game& game = resumed.game;
        const POINT closeBox = game.FindFramePoint(HTCLOSE, "close box");
        const Picture before = game.Capture();
        EnsureNumLockOn();
        game.Press(NumericPadKey(resumed.moves[resumed.resumed]));
        WaitForRobotsToMove(game, resumed.recorded.PositionAfter(resumed.resumed), before);
        way.close(game, closeBox);
        CheckQuitCode(game, std::string(way.name) + " during the robots' turn");
    }
}

E2E_TEST(explosions_leave_heaps_on_the_canvas) {
    // In the played move's robots' turn two robots collide two cells above the player's new
    // cell. The arrow then drawn under the new heap is copied from the canvas, heap and all.
    ResumedGame resumed(context, "explosion");
    const size_t step = resumed.resumed;
    const Position before = resumed.recorded.PositionAfter(step);
    const Position after = resumed.recorded.PositionAfter(step + 1);
    const POINT player = PlayerCell(after);
    const POINT above = {player.x, player.y - 1};
    if (before.At(above.x, above.y - 1) == 'S' || after.At(above.x, above.y - 1) != 'S' ||
        !IsFreeNeighbour(after, above)) {
        Fail("explosion.txt: its played move must make a heap right above the cell north of the "
             "player");
    }
    resumed.Play(step, "the step and the collision");
}

E2E_TEST(teleport_death_on_a_heap_leaves_the_background) {
    // Under teleport rule 2 the played teleport lands on the only heap (the replay tool, which
    // plays by the standard rule, knows only the position before it). A heap is no place to
    // leave remains: the cell shows the canvas again, and the player has vanished.
    PreferencesRecord preferences = DefaultPreferences();
    PutField(preferences, "m_teleportRule", kLandAnywhereButOnRobots);
    ResumedGame resumed(context, "teleport-onto-heap", {}, &preferences);
    resumed.game.Command('T', kNoModifiers, "T");

    Position heapsAndRobots = resumed.recorded.PositionAfter(resumed.resumed);
    const POINT player = PlayerCell(heapsAndRobots);
    heapsAndRobots.cells[player.y][player.x] = '.';
    WaitForFinalPicture(resumed.game, Scene(heapsAndRobots, resumed.sheet).BackBuffer(),
                        "after the teleport onto the heap: only heaps and robots may show");
}
