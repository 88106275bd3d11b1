// Keys through the accelerator table: moves on the numeric pad, modifiers that must match
// exactly, the digits of the main keyboard, and every way to quit.
#include "Game.h"
#include "StoredPreferences.h"

namespace {

constexpr int kWaitCommand = 40010;
constexpr int kTeleportCommand = 40012;

const char* StepName(char move) {
    static const char* const names[] = {"south-west", "south", "south-east", "west", "wait", "east",
                                        "north-west", "north", "north-east"};
    return names[move - '1'];
}

Picture SpriteSheetOf(const TestContext& context) {
    return LoadSpriteSheet(context.installDir, context.gamePath);
}

// Holds a key down until the end of the scope, also when the test fails meanwhile.
class HeldKey {
public:
    explicit HeldKey(WORD vk) : m_vk(vk) { KeyDown(vk); }
    ~HeldKey() { ReleaseKey(m_vk); }
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

private:
    WORD m_vk;
};

// Alt stays down until the game has gone: it decides at quit whether preferences are stored.
void QuitWithAltX(Game& game) {
    game.Focus();
    HeldKey alt(VK_MENU);
    PressKey('X');
    CheckQuitCode(game, "Alt+X");
}

} // namespace

E2E_TEST(numeric_pad_steps_and_waits) {
    const RecordedGame recorded(context, "numeric-pad");
    const std::string& moves = recorded.Record().moves;
    const size_t first = recorded.FirstPlayedMove();
    PrepareResume(context, recorded, first);
    Game game(context);
    const Picture sheet = SpriteSheetOf(context);
    game.WaitForBoard(recorded.PositionAfter(first), sheet, "after resuming the game");
    EnsureNumLockOn();
    for (size_t i = first; i < moves.size(); ++i) {
        const std::string what = Format("numeric-pad %c (%s)", moves[i], StepName(moves[i]));
        game.Command(NumericPadKey(moves[i]), kNoModifiers, what);
        game.WaitForBoard(recorded.PositionAfter(i + 1), sheet, "after " + what);
    }
}

E2E_TEST(new_game_needs_ctrl) {
    const RecordedGame recorded(context, "new-game");
    const size_t wait = recorded.FirstPlayedMove();
    PrepareResume(context, recorded, wait);
    Game game(context);
    const Picture sheet = SpriteSheetOf(context);
    game.WaitForBoard(recorded.PositionAfter(wait), sheet, "after resuming the game");

    const LONG mark = game.Probe().CommandsDone();
    game.Press('N');
    EnsureNumLockOn();
    game.Command(NumericPadKey(recorded.Record().moves[wait]), kNoModifiers, "numeric-pad 5");
    game.CheckOnlyCommandSince(mark, kWaitCommand, "N, then numeric-pad 5");
    game.WaitForBoard(recorded.PositionAfter(wait + 1), sheet,
                      "after N and a wait (N alone must not start a new game)");
    const std::string lastGame = DataFilePath("Last Game.txt");
    if (FileExists(lastGame)) {
        Fail("N alone ended the game: \"Last Game.txt\" exists");
    }

    game.Command('N', kCtrl, "Ctrl+N");
    const std::optional<GameRecord> ended = ReadGameRecord(lastGame);
    if (!ended) {
        Fail("Ctrl+N did not end the game: no readable \"Last Game.txt\"");
    }
    if (ended->startTime != recorded.Record().startTime ||
        ActionsOf(ended->moves) != ActionsOf(recorded.Record().moves)) {
        Fail("\"Last Game.txt\" holds time %lu and moves \"%s\" instead of %lu and \"%s\"",
             ended->startTime, ended->moves.c_str(), recorded.Record().startTime,
             recorded.Record().moves.c_str());
    }
    game.Press('Q');
    CheckQuitCode(game, "Q");
    if (FileExists(DataFilePath("Saved Game.txt"))) {
        Fail("quitting the new game before its first move wrote \"Saved Game.txt\"");
    }
}

E2E_TEST(teleport_ignores_shift) {
    const RecordedGame recorded(context, "teleport");
    const size_t teleport = recorded.FirstPlayedMove();
    PrepareResume(context, recorded, teleport);
    Game game(context);
    const Picture sheet = SpriteSheetOf(context);
    game.WaitForBoard(recorded.PositionAfter(teleport), sheet, "after resuming the game");

    const LONG mark = game.Probe().CommandsDone();
    game.Press('T', kShift);
    game.Command('T', kNoModifiers, "T");
    game.CheckOnlyCommandSince(mark, kTeleportCommand, "Shift+T, then T");
    game.WaitForBoard(recorded.PositionAfter(teleport + 1), sheet,
                      "after Shift+T and T (one teleport only)");
}

E2E_TEST(digit_keys_are_last_stands) {
    // The record plays 'J' (Last Stand Minus 2) and 'K' (Last Stand Minus 1) at the end; on the
    // main keyboard they are the keys 2 and 1, which would be steps on the numeric pad.
    const RecordedGame recorded(context, "digits");
    const std::string& moves = recorded.Record().moves;
    const size_t first = recorded.FirstPlayedMove();
    PrepareResume(context, recorded, first);
    Game game(context);
    const Picture sheet = SpriteSheetOf(context);
    game.WaitForBoard(recorded.PositionAfter(first), sheet, "after resuming the game");
    for (size_t i = first; i < moves.size(); ++i) {
        if (moves[i] != 'J' && moves[i] != 'K') {
            Fail("digits.txt may only play J and K, not '%c'", moves[i]);
        }
        const char digit = moves[i] == 'J' ? '2' : '1';
        const std::string what = Format("the main keyboard's %c", digit);
        game.Command(static_cast<WORD>(digit), kNoModifiers, what);
        game.WaitForBoard(recorded.PositionAfter(i + 1), sheet, "after " + what);
    }
}

E2E_TEST(quit_keys_and_close_box_end_the_program) {
    StoreDefaultPreferences();
    struct Way {
        const char* name;
        void (*quit)(Game&);
    };
    const Way ways[] = {
        {"Q", [](Game& game) { game.Press('Q'); }},
        {"Esc", [](Game& game) { game.Press(VK_ESCAPE); }},
        {"Ctrl+Q (File > Exit)", [](Game& game) { game.Press('Q', kCtrl); }},
        {"the close box", [](Game& game) { ClickAt(game.FindFramePoint(HTCLOSE, "close box")); }},
    };
    for (const Way& way : ways) {
        Game game(context);
        game.WaitForMainWindow();
        way.quit(game);
        CheckQuitCode(game, way.name);
    }
    Game game(context);
    game.WaitForMainWindow();
    QuitWithAltX(game);
}

E2E_TEST(alt_x_keeps_stored_preferences) {
    PreferencesRecord stored = DefaultPreferences();
    PutInt16(stored, kGridStyleOffset, 2);
    PutPlayerName(stored, "Tester");
    StorePreferences(stored);
    {
        Game game(context);
        game.Command('G', kNoModifiers, "G");
        QuitWithAltX(game);
    }
    const PreferencesRecord afterAltX = ReadStoredRecord("after G and Alt+X");
    if (const std::string difference = FirstFieldDifference(stored, afterAltX);
        !difference.empty()) {
        Fail("Alt+X changed the stored preferences: %s", difference.c_str());
    }
    {
        Game game(context);
        game.Command('G', kNoModifiers, "G");
        game.Press('Q');
        CheckQuitCode(game, "Q");
    }
    PreferencesRecord expected = stored;
    PutInt16(expected, kGridStyleOffset, 3);
    const PreferencesRecord afterQ = ReadStoredRecord("after G and Q");
    if (const std::string difference = FirstFieldDifference(expected, afterQ, 0, kSettingsSize);
        !difference.empty()) {
        Fail("after G and Q the stored settings are wrong: %s", difference.c_str());
    }
    if (GetPlacement(afterQ, kMainWindowPlacementOffset).length != sizeof(WINDOWPLACEMENT)) {
        Fail("Q stored no main window placement");
    }
}
