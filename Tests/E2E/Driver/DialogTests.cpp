// The Advanced Options, How to Play and About dialogs, opened as their menu items open them:
// what the controls show and store, the rules that gray and uncheck them, Defaults, the note
// about the scoring rules, the help picture and the About box's drawing. Pictures of the dialogs
// are left in the tests' folders (advanced-options.bmp, advanced-options-after-defaults.bmp,
// how-to-play.bmp, about.bmp), which run.sh keeps with E2E_KEEP=1.
#include "Scenario.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int kAdvancedOptionsCommand = 40018;
constexpr int kHowToPlayCommand = 40036;
constexpr int kAboutCommand = 40055;

constexpr char kNoteText[] = "Note: your current settings are not compatible with the original "
                             "scoring rules, so you will not be eligible for the High Score list.";

// Controls of the Advanced Options dialog.
enum : int {
    kOk = 1,
    kCancel = 2,
    kDefaults = 3,
    kShowArrows = 2001,
    kSmolderingHeaps = 2002,
    kTeleportRobots = 2003,
    kTeleportHeaps = 2004,
    kTeleportAdjacent = 2005,
    kSafeZone0 = 2006,
    kSafeZone2 = 2008,
    kSafeZone3 = 2009,
    kMoveAfterTeleport = 2010,
    kRobotsBase = 2012,
    kRobotsPerLevel = 2013,
    kHeapsBase = 2014,
    kHeapsPerLevel = 2015,
    kOneScrewdriverPerLevel = 2016,
    kScrewdriversPerGame = 2017,
    kScrewdriversPerLevel = 2018,
    kScrewdriverMultiplier = 2019,
    kScrewdriverRadius = 2020,
    kUntimedAnimation = 2021,
    kLastStandNormal = 2022,
    kLastStandFast = 2023,
    kLastStandUntimed = 2024,
    kLastStandMultiplier = 2025,
    kMultipleKillMultiplier = 2026,
};

// Placeholders of the About dialog: the hidden text, the title box and the four lines.
constexpr int kAboutHidden[] = {1005, 1006, 1007, 1008, 1009, 1010};
constexpr int kAboutTitleBox = 1006;
constexpr int kAboutCreditLine = 1007;

constexpr int kHelpBitmap = 115;
constexpr int kHelpWidth = 504;
constexpr int kHelpHeight = 283;

void CloseWithKey(HWND dialog, WORD key, const char* name) {
    BringToFront(dialog, "the dialog");
    PressKey(key);
    WaitUntilClosed(dialog, name);
}

// Beside the test's installation, where run.sh keeps it with E2E_KEEP=1.
void SaveScreenshot(const Installation& context, HWND dialog, const char* name) {
    const size_t slash = context.installDir.find_last_of("\\/");
    SavePicture(WaitForSteadyPicture(dialog),
                context.installDir.substr(0, slash + 1) + name + ".bmp");
}

RECT ClientRectOf(HWND dialog, int id) {
    return ClientRectOf(dialog, Control(dialog, id));
}

// A one-bit picture takes the control's colours: black stays black, white becomes the one
// background colour of the dialog. Empty when `shown` is `expected` pixel for pixel that way.
std::string TwoColourDifference(const Picture& expected, const Picture& shown) {
    if (shown.width != expected.width || shown.height != expected.height) {
        return Format("%d x %d pixels instead of %d x %d", shown.width, shown.height,
                      expected.width, expected.height);
    }
    std::optional<uint32_t> background;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            const bool black = expected.At(x, y) == 0;
            if (!black && !background) {
                background = shown.At(x, y);
                if (*background == 0) {
                    return Format("the background at (%d, %d) is black", x, y);
                }
            }
            if (shown.At(x, y) != (black ? 0 : *background)) {
                return Format("(%d, %d) is %s", x, y, DescribeColor(shown.At(x, y)).c_str());
            }
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
std::string TitleBoxDifference(const Picture& picture, const RECT& box) {
    for (LONG x = box.left; x < box.right; ++x) {
        for (const LONG y : {box.top, box.bottom - 1}) {
            if (picture.At(x, y) != 0) {
                return Format("the frame at (%ld, %ld) is %s", x, y,
                              DescribeColor(picture.At(x, y)).c_str());
            }
        }
    }
    if (picture.At(box.left + 2, box.top + 2) != Rgb(255, 255, 255)) {
        return "the title box is not white inside";
    }
    return HasDarkPixel(picture, box) ? std::string() : std::string("the title box is empty");
}

} // namespace

E2E_TEST(advanced_options_ok_stores_every_control) {
    StoreDefaultPreferences();
    PreferencesRecord expected = DefaultPreferences();
    {
        Game game(context);
        const MenuDialog opened = game.OpenFromMenu(kAdvancedOptionsCommand, "Advanced Options");
        const HWND dialog = opened.window;
        SaveScreenshot(context, dialog, "advanced-options");
        for (const int box :
             {kShowArrows, kSmolderingHeaps, kTeleportRobots, kTeleportHeaps, kSafeZone3,
              kMoveAfterTeleport, kOneScrewdriverPerLevel, kUntimedAnimation}) {
            Click(dialog, box);
        }
        // Fourteen characters are read: 2147483647 at most, whose low 16 bits are -1.
        const std::pair<int, const char*> typed[] = {
            {kRobotsBase, "7"},
            {kRobotsPerLevel, "abc"},
            {kHeapsBase, "  -3"},
            {kHeapsPerLevel, "70000"},
            {kScrewdriversPerGame, "+3x"},
            {kScrewdriversPerLevel, "2"},
            {kScrewdriverMultiplier, "-2"},
            {kScrewdriverRadius, "99999999999999000"},
            {kLastStandMultiplier, "65539"},
            {kMultipleKillMultiplier, "40000"},
        };
        for (const auto& [control, text] : typed) {
            SetText(dialog, control, text);
        }
        Click(dialog, kOk);
        WaitUntilClosed(dialog, "OK");
        game.Answer("Message", kNoteText, "after OK with changed rules");
        game.WaitForCommandEnd(opened, "after the note");
        QuitWithQ(game);
    }
    PutFields(expected, {{"m_showMovementArrows", 0},
                         {"m_smolderingHeaps", 1},
                         {"m_teleportRule", 2},
                         {"m_safeZoneRadius", 3},
                         {"m_moveRobotsAfterTeleport", 0},
                         {"m_screwdriverStockMode", 1},
                         {"m_untimedAnimation", 1},
                         {"m_lastStandFast", 0},
                         {"m_lastStandUntimed", 1},
                         {"m_robotsBase", 7},
                         {"m_robotsPerLevel", 0},
                         {"m_heapsBase", -3},
                         {"m_heapsPerLevel", 4464},
                         {"m_screwdriversPerGame", 3},
                         {"m_screwdriversPerLevel", 2},
                         {"m_screwdriverMultiplier", -2},
                         {"m_screwdriverRadius", -1},
                         {"m_lastStandMultiplier", 3},
                         {"m_multipleKillMultiplier", -25536}});
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
    const HWND dialog = opened.window;
    CheckControls(dialog,
                  {{kTeleportRobots, false, true},
                   {kTeleportHeaps, false, true},
                   {kTeleportAdjacent, true, true},
                   {kSafeZone0, false, true},
                   {kSafeZone2, true, true},
                   {kOneScrewdriverPerLevel, true, true},
                   {kScrewdriversPerGame, false, false},
                   {kScrewdriversPerLevel, false, false},
                   {kLastStandNormal, false, true},
                   {kLastStandFast, true, true},
                   {kLastStandUntimed, false, true}},
                  "as opened with teleport rule 4 and safe zone 2,");
    if (TextOf(Control(dialog, kRobotsPerLevel)) != "-3") {
        Fail("robots per level shows \"%s\" instead of \"-3\"",
             TextOf(Control(dialog, kRobotsPerLevel)).c_str());
    }

    Click(dialog, kTeleportRobots);
    Click(dialog, kTeleportAdjacent);
    CheckControls(dialog, {{kTeleportRobots, false, false}, {kTeleportHeaps, false, false}},
                  "with the adjacent cells unchecked,");
    Click(dialog, kTeleportAdjacent);
    CheckControls(dialog, {{kTeleportRobots, false, true}, {kTeleportHeaps, false, true}},
                  "with the adjacent cells checked again,");

    Click(dialog, kUntimedAnimation);
    CheckControls(dialog,
                  {{kLastStandNormal, false, false},
                   {kLastStandFast, false, false},
                   {kLastStandUntimed, true, false}},
                  "with untimed animation checked,");
    Click(dialog, kUntimedAnimation);
    CheckControls(dialog,
                  {{kLastStandNormal, false, true},
                   {kLastStandFast, false, true},
                   {kLastStandUntimed, true, true}},
                  "with untimed animation unchecked again,");

    Click(dialog, kOneScrewdriverPerLevel);
    CheckControls(dialog,
                  {{kScrewdriversPerGame, false, true}, {kScrewdriversPerLevel, false, true}},
                  "with the screwdriver limit unchecked,");

    // The two radio sets share no group: a click in one leaves the other alone.
    Click(dialog, kSafeZone3);
    Click(dialog, kLastStandNormal);
    CheckControls(dialog,
                  {{kSafeZone2, false, true},
                   {kSafeZone3, true, true},
                   {kLastStandNormal, true, true},
                   {kLastStandUntimed, false, true}},
                  "after clicking safe zone 3 and then Normal,");

    Click(dialog, kCancel);
    WaitUntilClosed(dialog, "Cancel");
    game.Answer("Message", kNoteText, "after Cancel with teleport rule 4 stored");
    game.WaitForCommandEnd(opened, "after the note");

    // Cancel kept the stored rules. Defaults resets them and the ones changed before it.
    const MenuDialog again = game.OpenFromMenu(kAdvancedOptionsCommand, "Advanced Options");
    CheckControls(again.window,
                  {{kTeleportAdjacent, true, true},
                   {kSafeZone2, true, true},
                   {kOneScrewdriverPerLevel, true, true},
                   {kUntimedAnimation, false, true},
                   {kLastStandFast, true, true}},
                  "reopened after Cancel,");
    Click(again.window, kOneScrewdriverPerLevel);
    Click(again.window, kUntimedAnimation);
    Click(again.window, kDefaults);
    CheckControls(again.window,
                  {{kCancel, false, false},
                   {kTeleportRobots, true, true},
                   {kTeleportAdjacent, true, true},
                   {kOneScrewdriverPerLevel, true, true},
                   {kScrewdriversPerGame, false, false},
                   {kUntimedAnimation, false, true},
                   {kLastStandFast, true, true}},
                  "after Defaults");
    if (TextOf(Control(again.window, kRobotsPerLevel)) != "5") {
        Fail("after Defaults robots per level shows \"%s\" instead of \"5\"",
             TextOf(Control(again.window, kRobotsPerLevel)).c_str());
    }
    SaveScreenshot(context, again.window, "advanced-options-after-defaults");
    Click(again.window, kOk);
    WaitUntilClosed(again.window, "OK");
    game.WaitForCommandEnd(again, "after Defaults and OK");

    const MenuDialog first = game.OpenFromMenu(kAdvancedOptionsCommand, "Advanced Options");
    Click(first.window, kTeleportAdjacent);
    SetText(first.window, kRobotsPerLevel, "9");
    Click(first.window, kCancel);
    WaitUntilClosed(first.window, "Cancel");
    game.WaitForCommandEnd(first, "after Cancel with standard settings");

    // Arrows and smoldering heaps are no scoring rules.
    const MenuDialog second = game.OpenFromMenu(kAdvancedOptionsCommand, "Advanced Options");
    Click(second.window, kShowArrows);
    Click(second.window, kSmolderingHeaps);
    Click(second.window, kOk);
    WaitUntilClosed(second.window, "OK");
    game.WaitForCommandEnd(second, "after OK with only display settings changed");
    QuitWithQ(game);
    PreferencesRecord expected = DefaultPreferences();
    PutFields(expected, {{"m_showMovementArrows", 0}, {"m_smolderingHeaps", 1}});
    CheckStoredPreferences(expected,
                           "after Defaults, OK, Cancel, OK with the display settings and Q", 0,
                           kSettingsSize);
}

E2E_TEST(how_to_play_and_about_show_their_pictures) {
    StoreDefaultPreferences();
    Game game(context);
    const MenuDialog opened = game.OpenFromMenu(kHowToPlayCommand, "Help");
    const HWND dialog = opened.window;
    HWND picture = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            picture = child;
        }
    }
    if (!picture) {
        Fail("the Help dialog has no picture control");
    }
    const Picture help =
        LoadBitmapPicture("", context.gamePath, kHelpBitmap, kHelpWidth, kHelpHeight);
    const RECT place = ClientRectOf(dialog, picture);
    std::string difference;
    if (!WaitUntil([&] {
            difference = TwoColourDifference(help, Crop(CaptureClient(dialog), place));
            return difference.empty();
        })) {
        Fail("the picture control does not show the whole help picture at its own size: %s",
             difference.c_str());
    }
    SaveScreenshot(context, dialog, "how-to-play");
    CloseWithKey(dialog, VK_RETURN, "Enter");
    game.WaitForCommandEnd(opened, "after Enter in Help");
    const MenuDialog again = game.OpenFromMenu(kHowToPlayCommand, "Help");
    CloseWithKey(again.window, VK_ESCAPE, "Esc");
    game.WaitForCommandEnd(again, "after Esc in Help");

    // While the title grows, keys belong to the dialog: Esc closes it and must not reach the
    // main window's shortcuts, where it would quit the game (command 40020).
    const MenuDialog growing = game.OpenFromMenu(kAboutCommand, "About");
    CloseWithKey(growing.window, VK_ESCAPE, "Esc");
    game.CheckOnlyCommandSince(growing.commandsBefore, kAboutCommand,
                               "Esc while the About title grows");

    const MenuDialog about = game.OpenFromMenu(kAboutCommand, "About");
    const HWND aboutBox = about.window;
    for (const int id : kAboutHidden) {
        if (IsWindowVisible(Control(aboutBox, id))) {
            Fail("the About placeholder %d is visible", id);
        }
    }
    // The credit lines come once the title has grown to full size.
    const RECT creditLine = ClientRectOf(aboutBox, kAboutCreditLine);
    if (!WaitUntil([&] { return HasDarkPixel(CaptureClient(aboutBox), creditLine); })) {
        Fail("the first credit line was never drawn");
    }
    difference =
        TitleBoxDifference(CaptureClient(aboutBox), ClientRectOf(aboutBox, kAboutTitleBox));
    if (!difference.empty()) {
        Fail("%s", difference.c_str());
    }
    SaveScreenshot(context, aboutBox, "about");
    Click(aboutBox, kOk);
    WaitUntilClosed(aboutBox, "OK");
    game.WaitForCommandEnd(about, "after OK in About");
}
