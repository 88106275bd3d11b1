// Keys through the accelerator table: moves on the numeric pad, the digits of the main keyboard,
// and keys pressed during a step. Q quits in most tests, Esc at the first start, Alt+X (the quit
// that stores nothing) after a stored placement, Ctrl+Q after the high scores are read back,
// and the close box during the robots' turn.
#include "Scenario.h"

// Every played move of each record pressed as its key, each followed by its board: steps and
// waits on the numeric pad; Last Stand Minus 2 and Minus 1 ('J', 'K') as the main keyboard's 2
// and 1, which on the numeric pad would be steps; a step whose robots collide two cells above
// the player's new cell, where the arrow drawn under the new heap is copied from the canvas,
// heap and all; and a step that ends beside a heap that the robots' turn makes.
E2E_TEST(keys_play_the_recorded_moves) {
    for (const char* name : {"numeric-pad", "digits", "explosion", "arrows"}) {
        ResumedGame resumed(context, name);
        EnsureNumLockOn();
        for (size_t i = resumed.resumed; i < resumed.moves.size(); ++i) {
            const char move = resumed.moves[i];
            const char digit = move == 'J' ? '2' : move == 'K' ? '1' : 0;
            const std::string what = digit ? Format("%s: the main keyboard's %c", name, digit)
                                           : Format("%s: numeric-pad %c", name, move);
            resumed.game.Command(digit ? WORD(digit) : NumericPadKey(move), kNoModifiers, what);
            resumed.WaitForBoardAfter(i + 1, "after " + what);
        }
    }
}

// typed-ahead.txt plays a step east, pressed five times, and a wait.
E2E_TEST(keys_pressed_during_a_step_are_dropped) {
    ResumedGame resumed(context, "typed-ahead");
    const size_t step = resumed.resumed;
    Game& game = resumed.game;
    const Picture before = game.Capture();
    game.Press(VK_RIGHT);
    // The arrows go at once when the step starts; the other presses come during it.
    E2E_CHECK(WaitUntil([&] { return !(game.Capture() == before); }), "Right started no step");
    for (int press = 0; press < 4; ++press) {
        PressKey(VK_RIGHT);
    }
    resumed.WaitForBoardAfter(step + 1,
                              "after Right pressed once and four times more during the step");
    game.Command(VK_SPACE, kNoModifiers, "Space");
    resumed.WaitForBoardAfter(step + 2,
                              "after the five presses of Right and a wait (one step only)");
}
