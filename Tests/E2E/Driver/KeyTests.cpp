// Keys through the accelerator table: moves on the numeric pad, modifiers that must match
// exactly, the digits of the main keyboard, and Alt+X, the quit that stores nothing. Q quits
// in most tests, Esc at the first start, Ctrl+Q after a stored placement, and the close box
// during the robots' turn.
#include "Scenario.h"

namespace {

constexpr int kTeleportCommand = 40012;

} // namespace

E2E_TEST(numeric_pad_steps_and_waits) {
    ResumedGame resumed(context, "numeric-pad");
    for (size_t i = resumed.resumed; i < resumed.moves.size(); ++i) {
        resumed.Play(i, Format("numeric-pad %c", resumed.moves[i]));
    }
}

E2E_TEST(teleport_ignores_shift) {
    ResumedGame resumed(context, "teleport");
    Game& game = resumed.game;
    const LONG mark = game.Probe().CommandsDone();
    game.Press('T', kShift);
    game.Command('T', kNoModifiers, "T");
    game.CheckOnlyCommandSince(mark, kTeleportCommand, "Shift+T, then T");
    resumed.WaitForBoardAfter(resumed.resumed + 1, "after Shift+T and T (one teleport only)");
}

E2E_TEST(digit_keys_are_last_stands) {
    // The record plays 'J' (Last Stand Minus 2) and 'K' (Last Stand Minus 1) at the end; on the
    // main keyboard they are the keys 2 and 1, which would be steps on the numeric pad.
    ResumedGame resumed(context, "digits");
    for (size_t i = resumed.resumed; i < resumed.moves.size(); ++i) {
        if (resumed.moves[i] != 'J' && resumed.moves[i] != 'K') {
            Fail("digits.txt may only play J and K, not '%c'", resumed.moves[i]);
        }
        const char digit = resumed.moves[i] == 'J' ? '2' : '1';
        const std::string what = Format("the main keyboard's %c", digit);
        resumed.game.Command(static_cast<WORD>(digit), kNoModifiers, what);
        resumed.WaitForBoardAfter(i + 1, "after " + what);
    }
}

E2E_TEST(alt_x_keeps_stored_preferences) {
    PreferencesRecord stored = DefaultPreferences();
    PutField(stored, "m_gridStyle", 2);
    PutPlayerName(stored, "Tester");
    StorePreferences(stored);
    {
        Game game(context);
        game.Command('G', kNoModifiers, "G");
        // Alt stays down until the game has gone: it decides at quit whether preferences are
        // stored. (G and Esc store the new grid style at the first start.)
        game.Focus();
        HeldKey alt(VK_MENU);
        PressKey('X');
        CheckQuitCode(game, "Alt+X");
    }
    CheckStoredPreferences(stored, "after G and Alt+X");
}
