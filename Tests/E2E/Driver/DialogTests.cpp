// The Advanced Options, How to Play and About dialogs, opened as their menu items open them:
// what the controls show and store, the rules that gray and uncheck them, Defaults, the note
// about the scoring rules, the help picture, the About box's drawing, and labels that fit.
#include "Scenario.h"

#include <vector>

namespace {

// Fails unless the rectangle's outermost pixels are black and the rest is white or dark text.
void CheckTitleBox(const Picture& picture, const RECT& box) {
    for (LONG x = box.left; x < box.right; ++x) {
        for (const LONG y : {box.top, box.bottom - 1}) {
            E2E_CHECK(picture.At(x, y) == 0, "the frame at (%ld, %ld) is %s", x, y,
                      DescribeColor(picture.At(x, y)).c_str());
        }
    }
    E2E_CHECK(picture.At(box.left + 2, box.top + 2) == Rgb(255, 255, 255),
              "the title box is not white inside");
    E2E_CHECK(HasDarkPixel(picture, box), "the title box is empty");
}

} // namespace

E2E_TEST(advanced_options_ok_stores_every_control) {
    StoreDefaultPreferences();
    // Each control clicked (nothing typed) or typed into, and the field it stores; a row without
    // a control is a field that the clicks before it store. Fourteen characters are read, so the
    // fifteenth digit of 000000000000023 does not count; and from -2147483648, whose low 16 bits
    // are 0, to 2147483647, whose low 16 bits are -1.
    const struct {
        int control;
        const char* typed;
        const char* field;
        int64_t stored;
    } changes[] = {
        {IDC_SHOW_ARROWS, nullptr, "m_showMovementArrows", 0},
        {IDC_SMOLDERING_HEAPS, nullptr, "m_smolderingHeaps", 1},
        {IDC_TELEPORT_ROBOTS, nullptr, "m_teleportRule", 2},
        {IDC_TELEPORT_HEAPS, nullptr, "m_teleportRule", 2},
        {IDC_SAFE_ZONE_3, nullptr, "m_safeZoneRadius", 3},
        {IDC_MOVE_AFTER_TELEPORT, nullptr, "m_moveRobotsAfterTeleport", 0},
        {IDC_ONE_SCREWDRIVER_PER_LEVEL, nullptr, "m_screwdriverStockMode", 1},
        {IDC_UNTIMED_ANIMATION, nullptr, "m_untimedAnimation", 1},
        {0, nullptr, "m_lastStandFast", 0},
        {0, nullptr, "m_lastStandUntimed", 1},
        {IDC_ROBOTS_BASE, "7", "m_robotsBase", 7},
        {IDC_ROBOTS_PER_LEVEL, "abc", "m_robotsPerLevel", 0},
        {IDC_HEAPS_BASE, "  -3", "m_heapsBase", -3},
        {IDC_HEAPS_PER_LEVEL, "70000", "m_heapsPerLevel", 4464},
        {IDC_SCREWDRIVERS_PER_GAME, "+3x", "m_screwdriversPerGame", 3},
        {IDC_SCREWDRIVERS_PER_LEVEL, "000000000000023", "m_screwdriversPerLevel", 2},
        {IDC_SCREWDRIVER_MULTIPLIER, "-99999999999999", "m_screwdriverMultiplier", 0},
        {IDC_SCREWDRIVER_RADIUS, "99999999999999000", "m_screwdriverRadius", -1},
        {IDC_LAST_STAND_MULTIPLIER, "65539", "m_lastStandMultiplier", 3},
        {IDC_MULTIPLE_KILL_MULTIPLIER, "40000", "m_multipleKillMultiplier", -25536},
    };
    PreferencesRecord expected = DefaultPreferences();
    {
        Game game(context);
        const MenuDialog dialog = game.OpenFromMenu(IDM_ADVANCED_OPTIONS, "Advanced Options");
        for (const auto& change : changes) {
            if (change.typed) {
                SetText(dialog.window, change.control, change.typed);
            } else if (change.control) {
                Click(dialog.window, change.control);
            }
            PutField(expected, change.field, change.stored);
        }
        CloseDialog(game, dialog, IDOK, "after OK with changed rules", true);
        QuitWithQ(game);
    }
    CheckStoredPreferences(expected, "after OK and Q", 0, kSettingsSize);

    // The next start shows them all again.
    Game again(context);
    const MenuDialog shown = again.OpenFromMenu(IDM_ADVANCED_OPTIONS, "Advanced Options");
    CheckControls(shown.window,
                  {Off(IDC_SHOW_ARROWS), On(IDC_SMOLDERING_HEAPS), Off(IDC_TELEPORT_ROBOTS),
                   On(IDC_TELEPORT_HEAPS), On(IDC_TELEPORT_ADJACENT), On(IDC_SAFE_ZONE_3),
                   Off(IDC_MOVE_AFTER_TELEPORT), On(IDC_MOVE_AFTER_SCREWDRIVER),
                   Off(IDC_ONE_SCREWDRIVER_PER_LEVEL), On(IDC_UNTIMED_ANIMATION),
                   GrayOff(IDC_LAST_STAND_NORMAL), GrayOff(IDC_LAST_STAND_FAST),
                   GrayOn(IDC_LAST_STAND_UNTIMED)},
                  "reopened at the next start,");
    for (const auto& change : changes) {
        if (change.typed) {
            CheckControlText(shown.window, change.control, std::to_string(change.stored).c_str(),
                             "reopened at the next start,");
        }
    }
    CloseDialog(again, shown, IDCANCEL, "after Cancel at the next start", true);
}

// The stored settings shown, the rules that gray controls, Cancel, Defaults, and changes that
// keep the standard scoring rules.
E2E_TEST(advanced_options_gray_controls_cancel_and_defaults) {
    PreferencesRecord stored = DefaultPreferences();
    PutPlayerName(stored, "Tester");
    PutFields(stored, {{"m_soundOn", 0},
                       {"m_gridStyle", 3},
                       {"m_iconSet", 2},
                       {"m_teleportRule", 4},
                       {"m_safeZoneRadius", 2},
                       {"m_robotsPerLevel", -3}});
    StorePreferences(stored);
    Game game(context);
    const MenuDialog opened = game.OpenFromMenu(IDM_ADVANCED_OPTIONS, "Advanced Options");
    CheckControlText(opened.window, IDC_ROBOTS_PER_LEVEL, "-3", "as opened");
    const HWND dialog = opened.window;
    ClickAndCheck(dialog, {},
                  {On(IDC_TELEPORT_ADJACENT), On(IDC_SAFE_ZONE_2),
                   On(IDC_ONE_SCREWDRIVER_PER_LEVEL), On(IDC_LAST_STAND_FAST),
                   Off(IDC_TELEPORT_ROBOTS), Off(IDC_TELEPORT_HEAPS), Off(IDC_SAFE_ZONE_0),
                   Off(IDC_LAST_STAND_NORMAL), Off(IDC_LAST_STAND_UNTIMED),
                   GrayOff(IDC_SCREWDRIVERS_PER_GAME), GrayOff(IDC_SCREWDRIVERS_PER_LEVEL)},
                  "as opened with teleport rule 4 and safe zone 2,");
    ClickAndCheck(dialog, {IDC_TELEPORT_ROBOTS, IDC_TELEPORT_ADJACENT},
                  {GrayOff(IDC_TELEPORT_ROBOTS), GrayOff(IDC_TELEPORT_HEAPS)},
                  "with the adjacent cells unchecked,");
    ClickAndCheck(dialog, {IDC_TELEPORT_ADJACENT},
                  {Off(IDC_TELEPORT_ROBOTS), Off(IDC_TELEPORT_HEAPS)},
                  "with the adjacent cells checked again,");
    ClickAndCheck(dialog, {IDC_UNTIMED_ANIMATION},
                  {GrayOff(IDC_LAST_STAND_NORMAL), GrayOff(IDC_LAST_STAND_FAST),
                   GrayOn(IDC_LAST_STAND_UNTIMED)},
                  "with untimed animation checked,");
    ClickAndCheck(
        dialog, {IDC_UNTIMED_ANIMATION},
        {Off(IDC_LAST_STAND_NORMAL), Off(IDC_LAST_STAND_FAST), On(IDC_LAST_STAND_UNTIMED)},
        "with untimed animation unchecked again,");
    ClickAndCheck(dialog, {IDC_ONE_SCREWDRIVER_PER_LEVEL},
                  {Off(IDC_SCREWDRIVERS_PER_GAME), Off(IDC_SCREWDRIVERS_PER_LEVEL)},
                  "with the screwdriver limit unchecked,");
    // The two radio sets share no group: a click in one leaves the other alone.
    ClickAndCheck(dialog, {IDC_SAFE_ZONE_3, IDC_LAST_STAND_NORMAL},
                  {Off(IDC_SAFE_ZONE_2), On(IDC_SAFE_ZONE_3), On(IDC_LAST_STAND_NORMAL),
                   Off(IDC_LAST_STAND_UNTIMED)},
                  "after clicking safe zone 3 and then Normal,");
    CloseDialog(game, opened, IDCANCEL, "after Cancel with teleport rule 4 stored", true);

    // Cancel kept the stored rules. Defaults resets them and the ones changed before it.
    const MenuDialog again = game.OpenFromMenu(IDM_ADVANCED_OPTIONS, "Advanced Options");
    ClickAndCheck(again.window, {},
                  {On(IDC_TELEPORT_ADJACENT), On(IDC_SAFE_ZONE_2),
                   On(IDC_ONE_SCREWDRIVER_PER_LEVEL), Off(IDC_UNTIMED_ANIMATION),
                   On(IDC_LAST_STAND_FAST)},
                  "reopened after Cancel,");
    ClickAndCheck(again.window,
                  {IDC_ONE_SCREWDRIVER_PER_LEVEL, IDC_UNTIMED_ANIMATION, IDC_DEFAULTS},
                  {GrayOff(IDCANCEL), On(IDC_TELEPORT_ROBOTS), On(IDC_TELEPORT_ADJACENT),
                   On(IDC_ONE_SCREWDRIVER_PER_LEVEL), GrayOff(IDC_SCREWDRIVERS_PER_GAME),
                   Off(IDC_UNTIMED_ANIMATION), On(IDC_LAST_STAND_FAST)},
                  "after Defaults");
    CheckControlText(again.window, IDC_ROBOTS_PER_LEVEL, "5", "after Defaults");
    CloseDialog(game, again, IDOK, "after Defaults and OK");

    const MenuDialog first = game.OpenFromMenu(IDM_ADVANCED_OPTIONS, "Advanced Options");
    Click(first.window, IDC_TELEPORT_ADJACENT);
    SetText(first.window, IDC_ROBOTS_PER_LEVEL, "9");
    CloseDialog(game, first, IDCANCEL, "after Cancel with standard settings");

    // Arrows and smoldering heaps are no scoring rules.
    const MenuDialog second = game.OpenFromMenu(IDM_ADVANCED_OPTIONS, "Advanced Options");
    Click(second.window, IDC_SHOW_ARROWS);
    Click(second.window, IDC_SMOLDERING_HEAPS);
    CloseDialog(game, second, IDOK, "after OK with only display settings changed");
    QuitWithQ(game);
    PreferencesRecord expected = DefaultPreferences();
    PutFields(expected, {{"m_showMovementArrows", 0}, {"m_smolderingHeaps", 1}});
    CheckStoredPreferences(expected,
                           "after Defaults, OK, Cancel, OK with the display settings and Q", 0,
                           kSettingsSize);
}

// Each label of every dialog in the game's resources, measured inside the game's process.
E2E_TEST(dialog_labels_fit_and_how_to_play_and_about_show_their_pictures) {
    StoreDefaultPreferences();
    Game game(context);
    std::string clipped;
    for (const std::string& label : game.Probe().ReadDialogLabels()) {
        clipped += "; " + label;
    }
    E2E_CHECK(clipped.empty(), "labels cut off (caption|text|pixels needed|pixels it has)%s",
              clipped.c_str());

    const MenuDialog help = game.OpenFromMenu(IDM_HOW_TO_PLAY, "Help");
    const Picture expected = LoadBitmapPicture("", context.gamePath, IDB_HELP, 504, 283);
    const RECT place = ClientRectOf(help.window, Control(help.window, IDC_HELP_PICTURE));
    std::string difference;
    E2E_CHECK(WaitUntil([&] {
                  difference =
                      TwoColourDifference(expected, Crop(CaptureClient(help.window), place));
                  return difference.empty();
              }),
              "the picture control does not show the whole help picture at its own size: %s",
              difference.c_str());
    CloseDialogWithKey(game, help, VK_RETURN, "after Enter in Help");
    // F1 opens it as its menu item says.
    const LONG beforeF1 = game.Probe().CommandsDone();
    game.Press(VK_F1);
    const MessageBoxSeen pressed = game.WaitForMessageBox("after F1");
    E2E_CHECK(pressed.caption == "Help", "F1 opened \"%s\" instead of the Help dialog",
              pressed.caption.c_str());
    CloseDialogWithKey(game, {pressed.window, beforeF1}, VK_ESCAPE, "after Esc in Help");
    game.CheckOnlyCommandSince(beforeF1, IDM_HOW_TO_PLAY, "F1 and Esc in Help");

    // While the title grows, keys belong to the dialog: Esc closes it and must not reach the
    // main window's shortcuts, where it would quit the game (command 40020).
    const MenuDialog growing = game.OpenFromMenu(IDM_ABOUT, "About");
    CloseDialogWithKey(game, growing, VK_ESCAPE, "after Esc while the About title grows");
    game.CheckOnlyCommandSince(growing.commandsBefore, IDM_ABOUT,
                               "Esc while the About title grows");

    const MenuDialog about = game.OpenFromMenu(IDM_ABOUT, "About");
    for (int id = IDC_ABOUT_NOTE; id <= IDC_ABOUT_AUTHOR_VERSION; ++id) {
        E2E_CHECK(!IsWindowVisible(Control(about.window, id)),
                  "the About placeholder %d is visible", id);
    }
    // The credit lines come once the title has grown to full size.
    const RECT creditLine = ClientRectOf(about.window, Control(about.window, IDC_ABOUT_CREDIT));
    E2E_CHECK(WaitUntil([&] { return HasDarkPixel(CaptureClient(about.window), creditLine); }),
              "the first credit line was never drawn");
    CheckTitleBox(CaptureClient(about.window),
                  ClientRectOf(about.window, Control(about.window, IDC_ABOUT_TITLE)));
    CloseDialog(game, about, IDOK, "after OK in About");
}
