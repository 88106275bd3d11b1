// Motion on the board: steps and the movement arrows, moving by mouse, keys pressed during an
// animation, closing in the middle of the robots' turn, and what explosions and deaths leave
// behind on the board.
#include "Game.h"
#include "Scene.h"
#include "StoredPreferences.h"

#include <cstdlib>

namespace {

constexpr size_t kTeleportRuleOffset = 62;
// Teleport rule 2 lands anywhere but on a robot, scrap heaps included.
constexpr int16_t kLandAnywhereButOnRobots = 2;

struct Step {
    int dx;
    int dy;
};

// A move character in the layout of the numeric pad: 7 8 9 / 4 5 6 / 1 2 3.
Step StepOf(char move) {
    const int index = move - '1';
    return {index % 3 - 1, 1 - index / 3};
}

bool IsFreeNeighbour(const Position& position, POINT cell) {
    for (const POINT arrow : ArrowCells(position)) {
        if (arrow.x == cell.x && arrow.y == cell.y) {
            return true;
        }
    }
    return false;
}

POINT Neighbour(POINT cell, Step step) {
    return {cell.x + step.dx, cell.y + step.dy};
}

// The screen point at the middle of a board cell.
POINT CellCentre(HWND window, POINT cell) {
    POINT point = {cell.x * kCellPixels + kCellPixels / 2, cell.y * kCellPixels + kCellPixels / 2};
    ClientToScreen(window, &point);
    return point;
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

// A finished game starts the demo after eleven quiet seconds. Waiting for less keeps the picture
// that a failure describes the game's own.
constexpr DWORD kBeforeTheDemoMs = 8000;

void WaitForFinalPicture(Game& game, const Picture& expected, const std::string& when) {
    std::string difference;
    if (!WaitUntil(
            [&] {
                difference = FirstPixelDifference(expected, game.Capture());
                return difference.empty();
            },
            kBeforeTheDemoMs)) {
        Fail("%s: %s", when.c_str(), difference.c_str());
    }
}

// Whether a cell shows other pixels in `now` than in `before`.
bool CellChanged(const Picture& before, const Picture& now, int x, int y) {
    for (int row = 0; row < kCellPixels; ++row) {
        for (int column = 0; column < kCellPixels; ++column) {
            const int px = x * kCellPixels + column;
            const int py = y * kCellPixels + row;
            if (before.At(px, py) != now.At(px, py)) {
                return true;
            }
        }
    }
    return false;
}

// Waits until one of the robots of `position` has left its cell's picture: the robots' turn
// has begun. During the player's step no robot cell changes.
void WaitForRobotsToMove(Game& game, const Position& position, const Picture& before) {
    const auto anyRobotMoved = [&] {
        const Picture now = game.Capture();
        for (int y = 0; y < kRows; ++y) {
            for (int x = 0; x < kColumns; ++x) {
                if (position.At(x, y) == '1' && CellChanged(before, now, x, y)) {
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

// Waits until the resumed game shows the record's position before its first played move.
void WaitForResumedGame(Game& game, const RecordedGame& recorded, const Picture& sheet) {
    game.WaitForBoard(recorded.PositionAfter(recorded.FirstPlayedMove()), sheet,
                      "after resuming the game");
}

} // namespace

E2E_TEST(step_lands_on_target_with_arrows_in_free_cells_only) {
    // The played step ends beside a heap that the robots' turn makes.
    const RecordedGame recorded(context, "arrows");
    const size_t step = recorded.FirstPlayedMove();
    const Position after = recorded.PositionAfter(step + 1);
    if (ArrowCells(after).size() == 8) {
        Fail("arrows.txt: its played step must end next to a robot or a heap");
    }
    PrepareResume(context, recorded, step);
    Game game(context);
    const Picture sheet = LoadSpriteSheet(context.installDir, context.gamePath);
    WaitForResumedGame(game, recorded, sheet);
    EnsureNumLockOn();
    game.Command(NumericPadKey(recorded.Record().moves[step]), kNoModifiers, "the step");
    game.WaitForBoard(after, sheet, "after the step and the robots' turn");
}

E2E_TEST(arrows_and_player_take_mouse_clicks) {
    // The played moves: a step clicked on its arrow, a step dragged to from another arrow, and
    // a wait clicked on the player after clicks that must do nothing.
    const RecordedGame recorded(context, "mouse");
    const std::string& moves = recorded.Record().moves;
    const size_t first = recorded.FirstPlayedMove();
    if (moves.size() != first + 3 || moves[first + 2] != '5') {
        Fail("mouse.txt must play two steps and then a wait");
    }
    PrepareResume(context, recorded, first);
    Game game(context);
    const Picture sheet = LoadSpriteSheet(context.installDir, context.gamePath);
    WaitForResumedGame(game, recorded, sheet);
    const HWND window = game.WaitForMainWindow();
    game.Focus();

    Position position = recorded.PositionAfter(first);
    const POINT clicked = Neighbour(PlayerCell(position), StepOf(moves[first]));
    ClickAt(CellCentre(window, clicked));
    game.WaitForBoard(recorded.PositionAfter(first + 1), sheet, "after a click on an arrow");

    position = recorded.PositionAfter(first + 1);
    const POINT released = Neighbour(PlayerCell(position), StepOf(moves[first + 1]));
    const POINT pressed = OtherArrow(position, released);
    MouseMoveTo(CellCentre(window, pressed));
    MouseDown(CellCentre(window, pressed));
    for (const POINT arrow : ArrowCells(position)) {
        MouseMoveTo(CellCentre(window, arrow));
    }
    MouseMoveTo(CellCentre(window, released));
    MouseUp(CellCentre(window, released));
    game.WaitForBoard(recorded.PositionAfter(first + 2), sheet,
                      "after a press on one arrow and a release on another");

    // Input is handled in order: the wait clicked last shows whether these did anything.
    position = recorded.PositionAfter(first + 2);
    const POINT empty = CellCentre(window, EmptyCellAwayFromPlayer(position));
    ClickAt(empty);
    MouseMoveTo(CellCentre(window, ArrowCells(position).front()));
    MouseDown(CellCentre(window, ArrowCells(position).front()));
    MouseMoveTo(empty);
    MouseUp(empty);
    ClickAt(CellCentre(window, PlayerCell(position)));
    game.WaitForBoard(recorded.PositionAfter(first + 3), sheet,
                      "after clicks on the empty board, a drag off an arrow, and a click on "
                      "the player (only that click may act, as a wait)");
}

E2E_TEST(keys_pressed_during_a_step_are_dropped) {
    // The played moves: a step east, pressed five times, and a wait.
    const RecordedGame recorded(context, "typed-ahead");
    const std::string& moves = recorded.Record().moves;
    const size_t step = recorded.FirstPlayedMove();
    if (moves.substr(step) != "65") {
        Fail("typed-ahead.txt must play a step east and then a wait");
    }
    PrepareResume(context, recorded, step);
    Game game(context);
    const Picture sheet = LoadSpriteSheet(context.installDir, context.gamePath);
    WaitForResumedGame(game, recorded, sheet);
    const Picture before = game.Capture();
    game.Press(VK_RIGHT);
    // The arrows go at once when the step starts; the other presses come during it.
    if (!WaitUntil([&] { return !(game.Capture() == before); })) {
        Fail("Right did not start a step");
    }
    for (int press = 0; press < 4; ++press) {
        PressKey(VK_RIGHT);
    }
    game.WaitForBoard(recorded.PositionAfter(step + 1), sheet,
                      "after Right pressed once and four times more during the step");
    game.Command(VK_SPACE, kNoModifiers, "Space");
    game.WaitForBoard(recorded.PositionAfter(step + 2), sheet,
                      "after the five presses of Right and a wait (one step only)");
}

E2E_TEST(closing_during_the_robots_turn_ends_the_program) {
    const RecordedGame recorded(context, "arrows");
    const size_t step = recorded.FirstPlayedMove();
    const Position position = recorded.PositionAfter(step);
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
        PrepareResume(context, recorded, step);
        Game game(context);
        const Picture sheet = LoadSpriteSheet(context.installDir, context.gamePath);
        WaitForResumedGame(game, recorded, sheet);
        const POINT closeBox = game.FindFramePoint(HTCLOSE, "close box");
        const Picture before = game.Capture();
        EnsureNumLockOn();
        game.Press(NumericPadKey(recorded.Record().moves[step]));
        WaitForRobotsToMove(game, position, before);
        way.close(game, closeBox);
        CheckQuitCode(game, std::string(way.name) + " during the robots' turn");
    }
}

E2E_TEST(explosions_leave_heaps_on_the_canvas) {
    // In the played move's robots' turn two robots collide two cells above the player's new
    // cell. The arrow then drawn under the new heap is copied from the canvas, heap and all.
    const RecordedGame recorded(context, "explosion");
    const size_t step = recorded.FirstPlayedMove();
    const Position before = recorded.PositionAfter(step);
    const Position after = recorded.PositionAfter(step + 1);
    const POINT player = PlayerCell(after);
    const POINT above = {player.x, player.y - 1};
    if (before.At(above.x, above.y - 1) == 'S' || after.At(above.x, above.y - 1) != 'S' ||
        !IsFreeNeighbour(after, above)) {
        Fail("explosion.txt: its played move must make a heap right above the cell north of the "
             "player");
    }
    PrepareResume(context, recorded, step);
    Game game(context);
    const Picture sheet = LoadSpriteSheet(context.installDir, context.gamePath);
    WaitForResumedGame(game, recorded, sheet);
    EnsureNumLockOn();
    game.Command(NumericPadKey(recorded.Record().moves[step]), kNoModifiers, "the step");
    game.WaitForBoard(after, sheet, "after the collision");
}

E2E_TEST(death_by_a_robot_leaves_the_last_death_frame) {
    // The played move steps into a robot.
    const RecordedGame recorded(context, "game-over");
    const size_t step = recorded.FirstPlayedMove();
    const Position position = recorded.PositionAfter(step);
    const POINT player = PlayerCell(position);
    const POINT killer = Neighbour(player, StepOf(recorded.Record().moves[step]));
    if (position.At(killer.x, killer.y) != '1') {
        Fail("game-over.txt: its played move must step into a robot");
    }
    PrepareResume(context, recorded, step);
    Game game(context);
    const Picture sheet = LoadSpriteSheet(context.installDir, context.gamePath);
    WaitForResumedGame(game, recorded, sheet);
    EnsureNumLockOn();
    game.Command(NumericPadKey(recorded.Record().moves[step]), kNoModifiers, "the fatal step");

    // The death scene: arrows hidden, the killer shown exploding, the player dying (the last
    // frame also onto the canvas), the killer drawn again over its own cell only.
    Scene scene(position, sheet);
    scene.EraseArrows(position);
    scene.Erase(Scene::CellArea(killer.x, killer.y, kFrameHeight));
    scene.Draw(ExplosionFrame(0), killer.x, killer.y);
    scene.Erase(Scene::CellArea(player.x, player.y, kFrameHeight));
    scene.Draw(DeathFrame(kLastDeathFrame), player.x, player.y);
    scene.EraseCell(killer.x, killer.y);
    scene.Draw(kRobotSprite, killer.x, killer.y);
    WaitForFinalPicture(game, scene.BackBuffer(),
                        Format("after the death at cell (%ld, %ld), which must keep the last death "
                               "frame",
                               player.x, player.y));
}

E2E_TEST(teleport_death_on_a_heap_leaves_the_background) {
    // Under teleport rule 2 the played teleport lands on the only heap (the replay tool, which
    // plays by the standard rule, knows only the position before it). A heap is no place to
    // leave remains: the cell shows the canvas again, and the player has vanished.
    const RecordedGame recorded(context, "teleport-onto-heap");
    const size_t teleport = recorded.FirstPlayedMove();
    const Position position = recorded.PositionAfter(teleport);
    PrepareResume(context, recorded, teleport);
    PreferencesRecord preferences = DefaultPreferences();
    PutInt16(preferences, kTeleportRuleOffset, kLandAnywhereButOnRobots);
    StorePreferences(preferences);
    Game game(context);
    const Picture sheet = LoadSpriteSheet(context.installDir, context.gamePath);
    WaitForResumedGame(game, recorded, sheet);
    game.Command('T', kNoModifiers, "T");

    Position heapsAndRobots = position;
    const POINT player = PlayerCell(position);
    heapsAndRobots.cells[player.y][player.x] = '.';
    WaitForFinalPicture(game, Scene(heapsAndRobots, sheet).BackBuffer(),
                        "after the teleport onto the heap: only heaps and robots may show");
}
