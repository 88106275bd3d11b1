// The Advanced Options, How to Play and About dialogs, opened as their menu items open them:
// what the controls show and store, the rules that gray and uncheck them, Defaults, the note
// about the scoring rules, the help picture, the About box's drawing, and labels that fit.
// Pictures of the dialogs are left beside the tests' installations (advanced-options.bmp,
// advanced-options-after-defaults.bmp, how-to-play.bmp, about.bmp), kept with E2E_KEEP=1.
#include "Scenario.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kAdvancedOptionsCommand = 40018;
constexpr int kHowToPlayCommand = 40036;
constexpr int kAboutCommand = 40055;

constexpr char kNoteText[] = "Note: your current settings are not compatible with the original "
                             "scoring rules, so you will not be eligible for the High Score list.";

// Controls of the Advanced Options dialog, section by section.
constexpr int kOk = 1, kCancel = 2, kDefaults = 3;
constexpr int kShowArrows = 2001, kSmolderingHeaps = 2002;
constexpr int kTeleportRobots = 2003, kTeleportHeaps = 2004, kTeleportAdjacent = 2005;
constexpr int kSafeZone0 = 2006, kSafeZone2 = 2008, kSafeZone3 = 2009;
constexpr int kMoveAfterTeleport = 2010;
constexpr int kRobotsBase = 2012, kRobotsPerLevel = 2013, kHeapsBase = 2014, kHeapsPerLevel = 2015;
constexpr int kOneScrewdriverPerLevel = 2016, kScrewdriversPerGame = 2017,
              kScrewdriversPerLevel = 2018, kScrewdriverMultiplier = 2019,
              kScrewdriverRadius = 2020;
constexpr int kUntimedAnimation = 2021, kLastStandNormal = 2022, kLastStandFast = 2023,
              kLastStandUntimed = 2024, kLastStandMultiplier = 2025;
constexpr int kMultipleKillMultiplier = 2026;

// Placeholders of the About dialog: the hidden text, the title box and the four lines.
constexpr int kAboutHidden[] = {1005, 1006, 1007, 1008, 1009, 1010};
constexpr int kAboutTitleBox = 1006;
constexpr int kAboutCreditLine = 1007;

// Closes the dialog with a click on `button`, answers the note about the scoring rules when
// `note`, and waits until the command that opened it has ended.
void Close(Game& game, const MenuDialog& dialog, int button, const char* when, bool note = false) {
    Click(dialog.window, button);
    WaitUntilClosed(dialog.window, when);
    if (note) {
        game.Answer("Message", kNoteText, when);
    }
    game.WaitForCommandEnd(dialog, when);
}

void CloseWithKey(Game& game, const MenuDialog& dialog, WORD key, const char* when) {
    BringToFront(dialog.window, "the dialog");
    PressKey(key);
    WaitUntilClosed(dialog.window, when);
    game.WaitForCommandEnd(dialog, when);
}

// Beside the test's installation, where run.sh keeps it with E2E_KEEP=1.
void SaveScreenshot(const Installation& context, HWND dialog, const char* name) {
    const size_t slash = context.installDir.find_last_of("\\/");
    SavePicture(WaitForSteadyPicture(dialog),
                context.installDir.substr(0, slash + 1) + name + ".bmp");
}

void CheckText(HWND dialog, int id, const char* expected, const char* when) {
    const std::string text = TextOf(Control(dialog, id));
    E2E_CHECK(text == expected, "%s control %d shows \"%s\" instead of \"%s\"", when, id,
              text.c_str(), expected);
}

// A box or button checked (On) or not (Off), enabled or gray.
constexpr auto On = [](int id) { return ControlState{id, true, true}; };
constexpr auto Off = [](int id) { return ControlState{id, false, true}; };
constexpr auto GrayOn = [](int id) { return ControlState{id, true, false}; };
constexpr auto GrayOff = [](int id) { return ControlState{id, false, false}; };

// Clicks the controls in turn, then checks the states they must leave.
void ClickAndCheck(HWND dialog, const std::vector<int>& clicks,
                   const std::vector<ControlState>& states, const char* when) {
    for (const int id : clicks) {
        Click(dialog, id);
    }
    CheckControls(dialog, states, when);
}

// A one-bit picture takes the control's colours: black stays black, white becomes the one
// background colour of the dialog. Empty when `shown` is `expected` pixel for pixel that way.
std::string TwoColourDifference(const Picture& expected, const Picture& shown) {
    if (shown.width != expected.width || shown.height != expected.height) {
        return Format("%d x %d pixels instead of %d x %d", shown.width, shown.height,
                      expected.width, expected.height);
    }
    const size_t white = std::find_if(expected.pixels.begin(), expected.pixels.end(),
                                      [](uint32_t pixel) { return pixel != 0; }) -
                         expected.pixels.begin();
    const uint32_t background = shown.pixels[white];
    for (size_t i = 0; i < expected.pixels.size(); ++i) {
        if (background == 0 || shown.pixels[i] != (expected.pixels[i] == 0 ? 0 : background)) {
            return Format("(%zu, %zu) is %s", i % expected.width, i / expected.width,
                          DescribeColor(shown.pixels[i]).c_str());
        }
    }
    return {};
}

bool HasDarkPixel(const Picture& picture, const RECT& rect) {
    for (LONG y = rect.top + 1; y < rect.bottom - 1; ++y) {
        for (LONG x = rect.left + 1; x < rect.right - 1; ++x) {
            if ((picture.At(x, y) & 0xFF) < 0x40) {
                return true;
            }
        }
    }
    return false;
}

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
    // a control is a field that the clicks before it store. Fourteen characters are read:
    // 2147483647 at most, whose low 16 bits are -1.
    const struct {
        int control;
        const char* typed;
        const char* field;
        int64_t stored;
    } changes[] = {
        {kShowArrows, nullptr, "m_showMovementArrows", 0},
        {kSmolderingHeaps, nullptr, "m_smolderingHeaps", 1},
        {kTeleportRobots, nullptr, "m_teleportRule", 2},
        {kTeleportHeaps, nullptr, "m_teleportRule", 2},
        {kSafeZone3, nullptr, "m_safeZoneRadius", 3},
        {kMoveAfterTeleport, nullptr, "m_moveRobotsAfterTeleport", 0},
        {kOneScrewdriverPerLevel, nullptr, "m_screwdriverStockMode", 1},
        {kUntimedAnimation, nullptr, "m_untimedAnimation", 1},
        {0, nullptr, "m_lastStandFast", 0},
        {0, nullptr, "m_lastStandUntimed", 1},
        {kRobotsBase, "7", "m_robotsBase", 7},
        {kRobotsPerLevel, "abc", "m_robotsPerLevel", 0},
        {kHeapsBase, "  -3", "m_heapsBase", -3},
        {kHeapsPerLevel, "70000", "m_heapsPerLevel", 4464},
        {kScrewdriversPerGame, "+3x", "m_screwdriversPerGame", 3},
        {kScrewdriversPerLevel, "2", "m_screwdriversPerLevel", 2},
        {kScrewdriverMultiplier, "-2", "m_screwdriverMultiplier", -2},
        {kScrewdriverRadius, "99999999999999000", "m_screwdriverRadius", -1},
        {kLastStandMultiplier, "65539", "m_lastStandMultiplier", 3},
        {kMultipleKillMultiplier, "40000", "m_multipleKillMultiplier", -25536},
    };
    PreferencesRecord expected = DefaultPreferences();
    {
        Game game(context);
        const MenuDialog dialog = game.OpenFromMenu(kAdvancedOptionsCommand, "Advanced Options");
        SaveScreenshot(context, dialog.window, "advanced-options");
        for (const auto& change : changes) {
            if (change.typed) {
                SetText(dialog.window, change.control, change.typed);
            } else if (change.control) {
                Click(dialog.window, change.control);
            }
            PutField(expected, change.field, change.stored);
        }
        Close(game, dialog, kOk, "after OK with changed rules", true);
        QuitWithQ(game);
    }
    CheckStoredPreferences(expected, "after OK and Q", 0, kSettingsSize);
}

// The stored settings shown, the rules that gray controls, Cancel, Defaults, and changes that
// keep the standard scoring rules.
E2E_TEST(advanced_options_gray_controls_cancel_and_defaults) {
    PreferencesRecord stored = DefaultPreferences();
    PutPlayerName(stored, "Tester");
    PutFields(stored, {{"m_soundOn", 0},
                       {"m_gridStyle", 3},
                       {"m_teleportRule", 4},
                       {"m_safeZoneRadius", 2},
                       {"m_robotsPerLevel", -3}});
    StorePreferences(stored);
    Game game(context);
    const MenuDialog opened = game.OpenFromMenu(kAdvancedOptionsCommand, "Advanced Options");
    CheckText(opened.window, kRobotsPerLevel, "-3", "as opened");
    const HWND dialog = opened.window;
    ClickAndCheck(dialog, {},
                  {On(kTeleportAdjacent), On(kSafeZone2), On(kOneScrewdriverPerLevel),
                   On(kLastStandFast), Off(kTeleportRobots), Off(kTeleportHeaps), Off(kSafeZone0),
                   Off(kLastStandNormal), Off(kLastStandUntimed), GrayOff(kScrewdriversPerGame),
                   GrayOff(kScrewdriversPerLevel)},
                  "as opened with teleport rule 4 and safe zone 2,");
    ClickAndCheck(dialog, {kTeleportRobots, kTeleportAdjacent},
                  {GrayOff(kTeleportRobots), GrayOff(kTeleportHeaps)},
                  "with the adjacent cells unchecked,");
    ClickAndCheck(dialog, {kTeleportAdjacent}, {Off(kTeleportRobots), Off(kTeleportHeaps)},
                  "with the adjacent cells checked again,");
    ClickAndCheck(dialog, {kUntimedAnimation},
                  {GrayOff(kLastStandNormal), GrayOff(kLastStandFast), GrayOn(kLastStandUntimed)},
                  "with untimed animation checked,");
    ClickAndCheck(dialog, {kUntimedAnimation},
                  {Off(kLastStandNormal), Off(kLastStandFast), On(kLastStandUntimed)},
                  "with untimed animation unchecked again,");
    ClickAndCheck(dialog, {kOneScrewdriverPerLevel},
                  {Off(kScrewdriversPerGame), Off(kScrewdriversPerLevel)},
                  "with the screwdriver limit unchecked,");
    // The two radio sets share no group: a click in one leaves the other alone.
    ClickAndCheck(dialog, {kSafeZone3, kLastStandNormal},
                  {Off(kSafeZone2), On(kSafeZone3), On(kLastStandNormal), Off(kLastStandUntimed)},
                  "after clicking safe zone 3 and then Normal,");
    Close(game, opened, kCancel, "after Cancel with teleport rule 4 stored", true);

    // Cancel kept the stored rules. Defaults resets them and the ones changed before it.
    const MenuDialog again = game.OpenFromMenu(kAdvancedOptionsCommand, "Advanced Options");
    ClickAndCheck(again.window, {},
                  {On(kTeleportAdjacent), On(kSafeZone2), On(kOneScrewdriverPerLevel),
                   Off(kUntimedAnimation), On(kLastStandFast)},
                  "reopened after Cancel,");
    ClickAndCheck(again.window, {kOneScrewdriverPerLevel, kUntimedAnimation, kDefaults},
                  {GrayOff(kCancel), On(kTeleportRobots), On(kTeleportAdjacent),
                   On(kOneScrewdriverPerLevel), GrayOff(kScrewdriversPerGame),
                   Off(kUntimedAnimation), On(kLastStandFast)},
                  "after Defaults");
    CheckText(again.window, kRobotsPerLevel, "5", "after Defaults");
    SaveScreenshot(context, again.window, "advanced-options-after-defaults");
    Close(game, again, kOk, "after Defaults and OK");

    const MenuDialog first = game.OpenFromMenu(kAdvancedOptionsCommand, "Advanced Options");
    Click(first.window, kTeleportAdjacent);
    SetText(first.window, kRobotsPerLevel, "9");
    Close(game, first, kCancel, "after Cancel with standard settings");

    // Arrows and smoldering heaps are no scoring rules.
    const MenuDialog second = game.OpenFromMenu(kAdvancedOptionsCommand, "Advanced Options");
    Click(second.window, kShowArrows);
    Click(second.window, kSmolderingHeaps);
    Close(game, second, kOk, "after OK with only display settings changed");
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
        const size_t widths = label.find('|', label.find('|') + 1);
        long needed = 0;
        long width = 0;
        E2E_CHECK(widths != std::string::npos &&
                      std::sscanf(label.c_str() + widths, "|%ld|%ld", &needed, &width) == 2,
                  "the probe sent a line it should not: %s", label.c_str());
        if (needed > width) {
            clipped += Format("; %s needs %ld pixels and has %ld",
                              label.substr(6, widths - 6).c_str(), needed, width);
        }
    }
    E2E_CHECK(clipped.empty(), "labels cut off%s", clipped.c_str());

    const MenuDialog help = game.OpenFromMenu(kHowToPlayCommand, "Help");
    HWND picture = nullptr;
    for (HWND child = GetWindow(help.window, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            picture = child;
        }
    }
    E2E_CHECK(picture, "the Help dialog has no picture control");
    const Picture expected = LoadBitmapPicture("", context.gamePath, 115, 504, 283);
    const RECT place = ClientRectOf(help.window, picture);
    std::string difference;
    E2E_CHECK(WaitUntil([&] {
                  difference =
                      TwoColourDifference(expected, Crop(CaptureClient(help.window), place));
                  return difference.empty();
              }),
              "the picture control does not show the whole help picture at its own size: %s",
              difference.c_str());
    SaveScreenshot(context, help.window, "how-to-play");
    CloseWithKey(game, help, VK_RETURN, "after Enter in Help");
    CloseWithKey(game, game.OpenFromMenu(kHowToPlayCommand, "Help"), VK_ESCAPE,
                 "after Esc in Help");

    // While the title grows, keys belong to the dialog: Esc closes it and must not reach the
    // main window's shortcuts, where it would quit the game (command 40020).
    const MenuDialog growing = game.OpenFromMenu(kAboutCommand, "About");
    CloseWithKey(game, growing, VK_ESCAPE, "after Esc while the About title grows");
    game.CheckOnlyCommandSince(growing.commandsBefore, kAboutCommand,
                               "Esc while the About title grows");

    const MenuDialog about = game.OpenFromMenu(kAboutCommand, "About");
    for (const int id : kAboutHidden) {
        E2E_CHECK(!IsWindowVisible(Control(about.window, id)),
                  "the About placeholder %d is visible", id);
    }
    // The credit lines come once the title has grown to full size.
    const RECT creditLine = ClientRectOf(about.window, Control(about.window, kAboutCreditLine));
    E2E_CHECK(WaitUntil([&] { return HasDarkPixel(CaptureClient(about.window), creditLine); }),
              "the first credit line was never drawn");
    CheckTitleBox(CaptureClient(about.window),
                  ClientRectOf(about.window, Control(about.window, kAboutTitleBox)));
    SaveScreenshot(context, about.window, "about");
    Close(game, about, kOk, "after OK in About");
}
