// Moves on the board: keys through the accelerator table (the numeric pad, the digits of the
// main keyboard, keys pressed during a step), the mouse at 192 dots per inch, closing in the
// middle of the robots' turn, what a death leaves behind on the board, and smoldering heaps.
// Q quits in most tests, Esc at the first start, Alt+X (the quit that stores nothing) after a
// stored placement, Ctrl+Q after the high scores are read back, and the close box here.
#include "Scenario.h"

namespace {

// Teleport rule 2 lands anywhere but on a robot, scrap heaps included.
constexpr int16_t kLandAnywhereButOnRobots = 2;

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
    E2E_CHECK(WaitUntil(anyRobotMoved), "after the step no robot moved");
}

constexpr int kScale = 2;

} // namespace

// Every played move of each record pressed as its key, each followed by its board and, when the
// score, the screwdrivers or the level change, by the status line: steps and waits on the
// numeric pad; Last Stand Minus 2 and Minus 1 ('J', 'K') as the main keyboard's 2 and 1, which
// on the numeric pad would be steps; a step whose robots collide two cells above the player's
// new cell, where the arrow drawn under the new heap is copied from the canvas, heap and all; a
// step that ends beside a heap that the robots' turn makes; the screwdriver; and the step that
// clears the board and brings the next level; and a step onto the bottom row, under which no
// arrow is drawn. The screwdriver is used in the stock mode, three a game: it leaves two, where
// the standard rules that the replay tool plays by leave none.
E2E_TEST(keys_play_the_recorded_moves) {
    PreferencesRecord stock = DefaultPreferences();
    PutFields(stock, {{"m_screwdriverStockMode", 1}, {"m_screwdriversPerGame", 3}});
    for (const char* name : {"numeric-pad", "digits", "explosion", "arrows", "screwdriver",
                             "new-level", "bottom-row"}) {
        const bool inStock = std::string(name) == "screwdriver";
        ResumedGame resumed(context, name, {}, inStock ? &stock : nullptr);
        EnsureNumLockOn();
        for (size_t i = resumed.resumed; i < resumed.moves.size(); ++i) {
            const char move = resumed.moves[i];
            const char key = move == 'J' ? '2' : move == 'K' ? '1' : move == 'S' ? 'S' : 0;
            const std::string what = key ? Format("%s: the main keyboard's %c", name, key)
                                         : Format("%s: numeric-pad %c", name, move);
            resumed.game.Command(key ? WORD(key) : NumericPadKey(move), kNoModifiers, what);
            resumed.WaitForBoardAfter(i + 1, "after " + what);
            Position after = resumed.recorded.PositionAfter(i + 1);
            after.screwdrivers = inStock ? 2 : after.screwdrivers;
            const std::string status = StatusLineOf(after);
            if (status != StatusLineOf(resumed.recorded.PositionAfter(i))) {
                resumed.game.WaitForStatusLine(status, "after " + what);
            }
        }
        const LONG waited = resumed.game.Probe().Seen().soundsWaitedFor;
        E2E_CHECK(waited == 0, "%s: the game waited for %ld sounds to end", name, waited);
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
    // New Game pressed during a wait starts the new game once the wait has ended.
    const Picture waited = game.Capture();
    game.Press(VK_SPACE);
    E2E_CHECK(WaitUntil([&] { return !(game.Capture() == waited); }), "Space started no wait");
    PressKey('N', kCtrl);
    game.WaitForStatusLine(kNewGameStatusLine, "after Ctrl+N during a wait");
}

// At 192 dots per inch the frame is shown at twice its size with every pixel an exact 2 x 2
// block. mouse.txt plays a step clicked on its doubled arrow, a step dragged to from another
// arrow, and a wait clicked on the player after clicks that must do nothing.
E2E_TEST(arrows_and_player_take_mouse_clicks_at_192_dpi_with_every_pixel_doubled) {
    StoreScreenDpi(96 * kScale);
    ResumedGame resumed(context, "mouse");
    const RecordedGame& recorded = resumed.recorded;
    const std::string& moves = resumed.moves;
    const size_t first = resumed.resumed;
    Game& game = resumed.game;
    const HWND window = game.WaitForMainWindow();
    CheckClientSize(window, kClientWidth * kScale, kClientHeight * kScale, "at 192 dpi");
    game.Focus();
    const auto onScreen = [&](POINT cell) { return game.CellOnScreen(cell, kScale); };

    Position position = recorded.PositionAfter(first);
    ClickAt(onScreen(StepTarget(PlayerCell(position), moves[first])));
    resumed.WaitForBoardAfter(first + 1, "after a click on an arrow");

    position = recorded.PositionAfter(first + 1);
    const POINT player = PlayerCell(position);
    const POINT target = StepTarget(player, moves[first + 1]);
    const POINT released = onScreen(target);
    // The cell opposite the target is empty: it shows an arrow.
    const POINT pressed = onScreen({2 * player.x - target.x, 2 * player.y - target.y});
    MouseMoveTo(pressed);
    MouseDown(pressed);
    for (const POINT arrow : ArrowCells(position)) {
        MouseMoveTo(onScreen(arrow));
    }
    MouseMoveTo(released);
    MouseUp(released);
    resumed.WaitForBoardAfter(first + 2, "after a press on one arrow and a release on another");

    // Input is handled in order: the wait clicked last shows whether these did anything.
    position = recorded.PositionAfter(first + 2);
    // The top-left cell is empty and far from the player (at (21, 9)): no arrow, no target.
    const POINT empty = onScreen({0, 0});
    const POINT arrow = onScreen(ArrowCells(position).front());
    ClickAt(empty);
    MouseMoveTo(arrow);
    MouseDown(arrow);
    MouseMoveTo(empty);
    MouseUp(empty);
    ClickAt(onScreen(PlayerCell(position)));
    resumed.WaitForBoardAfter(
        first + 3, "after clicks on the empty board, a drag off an arrow, and a click on "
                   "the player (only that click may act, as a wait)");
}

// WM_CLOSE, then a click on the close box. Each close saves the game with the step; every run
// resumes it from before the step.
E2E_TEST(closing_during_the_robots_turn_ends_the_program) {
    for (const bool closeBox : {false, true}) {
        ResumedGame resumed(context, "arrows");
        Game& game = resumed.game;
        const POINT box = game.FindFramePoint(HTCLOSE, "close box");
        const Picture before = game.Capture();
        EnsureNumLockOn();
        game.Press(NumericPadKey(resumed.moves[resumed.resumed]));
        WaitForRobotsToMove(game, resumed.recorded.PositionAfter(resumed.resumed), before);
        if (closeBox) {
            ClickAt(box);
        } else {
            PostMessageA(game.FindMainWindow(), WM_CLOSE, 0, 0);
        }
        CheckQuitCode(game, closeBox ? "a click on the close box during the robots' turn"
                                     : "WM_CLOSE during the robots' turn");
    }
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
    WaitForFinalPicture(resumed.game, ComposeBoard(heapsAndRobots, resumed.sheet),
                        "after the teleport onto the heap: only heaps and robots may show");
}

namespace {

struct AnimatedActions {
    const char* record;
    Settings settings;
    std::vector<WORD> keys;
    std::string waits;
};

// The waits of each record's keys under its settings, read from inside (WaitsOfKeys); a wait
// until the tick count passes a deadline lasts a millisecond longer than the time to it.
void CheckWaitsOfAnimations(const Installation& context, const std::vector<AnimatedActions>& all) {
    EnsureNumLockOn();
    for (const AnimatedActions& actions : all) {
        const std::string waits =
            WaitsOfKeys(context, actions.record, actions.settings, actions.keys);
        E2E_CHECK(waits == actions.waits, "%s's keys, %zu settings changed, waited %s, not %s",
                  actions.record, actions.settings.size(), waits.c_str(), actions.waits.c_str());
    }
}

const std::string kRings = "-1 17*-32 -288 -1 17*-32 ";

// A Last Stand of seven turns, the explosions after the first, and the death it ends in.
std::string LastStandWaits(const std::string& turn) {
    std::string waits = turn + " +129 6*+128";
    for (int more = 0; more < 6; ++more) {
        waits += " " + turn;
    }
    return waits + " +1 8*+128";
}

} // namespace

// The step, the robots' turn, the explosions and the next level's pause of new-level.txt's last
// move, then the teleport's rings and pause and the screwdriver, each with the robots' turn
// after it; and a Last Stand at its default speed.
E2E_TEST(each_animation_asks_for_the_waits_of_its_frames) {
    const std::string turn = "+1 16*+32";
    CheckWaitsOfAnimations(context, {{"new-level",
                                      {},
                                      {VK_NUMPAD3, 'T', 'S'},
                                      "+1 16*+16 " + turn + " +129 6*+128 +1441 " + kRings +
                                          "+289 " + turn + " -321 -481 " + turn},
                                     {"explosion", {}, {'L'}, LastStandWaits("+9 15*+8")}});
}

// A Last Stand at its other speeds; and the actions of the first test untimed, where each
// animation only waits for a fresh tick, while the rings, the screwdriver and the pauses keep
// their time.
E2E_TEST(animations_wait_at_each_last_stand_speed_and_untimed) {
    CheckWaitsOfAnimations(
        context, {{"explosion", {{"m_lastStandFast", 0}}, {'L'}, LastStandWaits("+33 15*+32")},
                  {"explosion",
                   {{"m_lastStandFast", 0}, {"m_lastStandUntimed", 1}},
                   {'L'},
                   "+1 +129 6*+128 7*+1 8*+128"},
                  {"new-level",
                   {{"m_untimedAnimation", 1}},
                   {VK_NUMPAD3, 'T', 'S'},
                   "3*+1 +1441 " + kRings + "+289 +1 -321 -481 +1"}});
}

// Smoldering scrap heaps: turned on, the heap of an idle board shows each of its three frames
// while the rest stays; turned off, the plain heap is back, and stays while the unfinished game is
// left alone; and the frames are no quiet seconds, so the demo still starts eleven quiet seconds
// after the last input once the game is over.
E2E_TEST(smoldering_heaps_step_through_their_frames_and_keep_the_idle_clock) {
    // Before its played move, a step into a robot, this record's board holds a heap at (20, 9).
    ResumedGame resumed(context, "game-over");
    Game& game = resumed.game;
    const Picture plain =
        ComposeBoard(resumed.recorded.PositionAfter(resumed.resumed), resumed.sheet);
    // Frame k stands where the plain heap does, two pixels down, cut at the cell's bottom.
    std::vector<Picture> frames(3, plain);
    for (int k = 0; k < 3; ++k) {
        DrawSprite(frames[k], resumed.sheet, {{112 + 16 * k, 31}, 14}, 20 * 16, 9 * 16 + 2);
    }
    game.ToggleAdvancedOption(IDC_SMOLDERING_HEAPS);
    int framesSeen = 0;
    E2E_CHECK(WaitUntil([&] {
                  const Picture shown = game.Capture();
                  for (int k = 0; k < 3; ++k) {
                      framesSeen |= FirstBoardDifference(frames[k], shown).empty() ? 1 << k : 0;
                  }
                  return framesSeen == 7;
              }),
              "with smoldering heaps the heap at (20, 9) showed only frames %d (bits)", framesSeen);

    game.ToggleAdvancedOption(IDC_SMOLDERING_HEAPS);
    // Longer than the demo waits: no demo comes over a game under way.
    for (const double off = NowMs(); NowMs() - off < 12000;) {
        E2E_CHECK(FirstBoardDifference(plain, game.Capture()).empty(),
                  "smoldering heaps off, the idle game's board is not the plain one");
    }

    game.ToggleAdvancedOption(IDC_SMOLDERING_HEAPS);
    EnsureNumLockOn();
    game.Command(NumericPadKey(resumed.moves[resumed.resumed]), kNoModifiers, "the fatal step");
    const double lastInput = NowMs();
    const RECT statusLine = {0, kBoardHeight, kClientWidth, kClientHeight};
    const Picture status = Crop(game.Capture(), statusLine);
    Picture heap;
    int heapChanges = 0;
    // The demo's first full redraw changes the status line.
    WaitUntil([&] {
        const Picture shown = game.Capture();
        const Picture heapNow = Crop(shown, {20 * 16, 9 * 16, 21 * 16, 10 * 16});
        heapChanges += heapNow == heap ? 0 : 1;
        heap = heapNow;
        return !(Crop(shown, statusLine) == status);
    });
    const double quietMs = NowMs() - lastInput;
    game.WaitForStatusLine(kDemoStatusLine, "once the demo has begun");
    E2E_CHECK(quietMs >= 10500 && quietMs <= 15000 && heapChanges >= 10,
              "the demo came %.1f s after the last input, not eleven; the heap changed %d times",
              quietMs / 1000, heapChanges);
}

// Every key of the key table during the demo, which takes the game's commands and does nothing
// with them: the command the window receives. The dialogs that a key opens are closed with Enter.
E2E_TEST(every_key_gives_its_command) {
    StoreDefaultPreferences();
    Game game(context);
    EnsureNumLockOn();
    game.WaitForStatusLine(kDemoStatusLine, "eleven quiet seconds after the start");
    const struct {
        int command;
        std::vector<WORD> keys;
        unsigned modifiers = kNoModifiers;
        bool dialog = false;
    } rows[] = {
        {IDM_STEP_WEST, {VK_LEFT, VK_NUMPAD4}},
        {IDM_STEP_EAST, {VK_RIGHT, VK_NUMPAD6}},
        {IDM_STEP_NORTH, {VK_UP, VK_NUMPAD8}},
        {IDM_STEP_SOUTH, {VK_DOWN, VK_NUMPAD2}},
        {IDM_STEP_NORTH_WEST, {VK_HOME, VK_NUMPAD7}},
        {IDM_STEP_NORTH_EAST, {VK_PRIOR, VK_NUMPAD9}},
        {IDM_STEP_SOUTH_WEST, {VK_END, VK_NUMPAD1}},
        {IDM_STEP_SOUTH_EAST, {VK_NEXT, VK_NUMPAD3}},
        {IDM_WAIT, {VK_SPACE, VK_INSERT, VK_DELETE, VK_NUMPAD0, VK_NUMPAD5}},
        {IDM_TELEPORT, {'T', VK_ADD}},
        {IDM_SCREWDRIVER, {'S', VK_MULTIPLY}},
        {IDM_LAST_STAND, {'L'}},
        {IDM_LAST_STAND_MINUS_1, {'1'}},
        {IDM_LAST_STAND_MINUS_2, {'2'}},
        {IDM_TOGGLE_GRID, {'G', 'G'}},
        {IDM_TOGGLE_COLOR, {'C', 'C'}},
        {IDM_ADVANCED_OPTIONS, {'O'}},
        {IDM_HOW_TO_PLAY, {VK_F1}, kNoModifiers, true},
        {IDM_PLATFORM, {VK_OEM_PLUS}, kNoModifiers, true},
        {IDM_NEW_GAME, {'N'}, kCtrl},
    };
    for (const auto& row : rows) {
        for (const WORD key : row.keys) {
            const std::string what = Format("the key 0x%02X (modifiers %u)", key, row.modifiers);
            const LONG mark = game.Probe().CommandsDone();
            game.Press(key, row.modifiers);
            if (row.dialog) {
                game.Dismiss(game.WaitForMessageBox("after " + what));
            }
            game.CheckOnlyCommandSince(mark, row.command, what);
        }
    }
}
