// The Advanced Options dialog: every gameplay rule of the live preferences on one form. OK
// writes the form into the record, Cancel leaves the record alone, Defaults resets the whole
// record at once.
#include "AdvancedOptions.h"
#include "GameUI.h"
#include "resource.h"

#include <windows.h>

#include <cstddef>

namespace {

// The open dialog, null while it is closed.
HWND g_hDlg = nullptr;

// The boxes that show a boolean setting as it is.
struct FlagBox {
    int id;
    uint8_t CPreferences::*field;
};
constexpr FlagBox kFlagBoxes[] = {
    {IDC_SHOW_ARROWS, &CPreferences::m_showMovementArrows},
    {IDC_SMOLDERING_HEAPS, &CPreferences::m_smolderingHeaps},
    {IDC_MOVE_AFTER_TELEPORT, &CPreferences::m_moveRobotsAfterTeleport},
    {IDC_MOVE_AFTER_SCREWDRIVER, &CPreferences::m_moveRobotsAfterScrewdriver},
    {IDC_UNTIMED_ANIMATION, &CPreferences::m_untimedAnimation},
};

template <typename Field> struct NumberBox {
    int id;
    Field CPreferences::*field;
};
constexpr NumberBox<int16_t> kShortBoxes[] = {
    {IDC_ROBOTS_BASE, &CPreferences::m_robotsBase},
    {IDC_ROBOTS_PER_LEVEL, &CPreferences::m_robotsPerLevel},
    {IDC_HEAPS_BASE, &CPreferences::m_heapsBase},
    {IDC_HEAPS_PER_LEVEL, &CPreferences::m_heapsPerLevel},
    {IDC_SCREWDRIVERS_PER_GAME, &CPreferences::m_screwdriversPerGame},
    {IDC_SCREWDRIVERS_PER_LEVEL, &CPreferences::m_screwdriversPerLevel},
    {IDC_SCREWDRIVER_RADIUS, &CPreferences::m_screwdriverRadius},
};
// Multipliers: the box holds a 16-bit number, the record keeps it widened.
constexpr NumberBox<int32_t> kLongBoxes[] = {
    {IDC_SCREWDRIVER_MULTIPLIER, &CPreferences::m_screwdriverMultiplier},
    {IDC_LAST_STAND_MULTIPLIER, &CPreferences::m_lastStandMultiplier},
    {IDC_MULTIPLE_KILL_MULTIPLIER, &CPreferences::m_multipleKillMultiplier},
};

// Indexed by the safe-zone radius.
constexpr int kSafeZoneButtons[] = {IDC_SAFE_ZONE_0, IDC_SAFE_ZONE_1, IDC_SAFE_ZONE_2,
                                    IDC_SAFE_ZONE_3};
// Indexed by LastStandSpeed.
constexpr int kLastStandButtons[] = {IDC_LAST_STAND_NORMAL, IDC_LAST_STAND_FAST,
                                     IDC_LAST_STAND_UNTIMED};

constexpr int kNoButton = 0;

bool IsChecked(int id) {
    return IsDlgButtonChecked(g_hDlg, id) == BST_CHECKED;
}

void SetChecked(int id, bool checked) {
    CheckDlgButton(g_hDlg, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void EnableControl(int id, bool enabled) {
    EnableWindow(GetDlgItem(g_hDlg, id), enabled ? TRUE : FALSE);
}

// Checks `id` and unchecks the rest of the set; kNoButton unchecks them all.
template <size_t N> void CheckOnly(const int (&set)[N], int id) {
    for (int button : set) {
        SetChecked(button, button == id);
    }
}

template <size_t N> bool Contains(const int (&set)[N], int id) {
    for (int button : set) {
        if (button == id) {
            return true;
        }
    }
    return false;
}

// The position of the first checked button of the set, or -1.
template <size_t N> int FirstChecked(const int (&set)[N]) {
    for (size_t i = 0; i < N; ++i) {
        if (IsChecked(set[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void SetNumber(int id, int32_t value) {
    char text[kEditTextSize];
    FormatEditNumber(value, text);
    SetDlgItemTextA(g_hDlg, id, text);
}

int16_t GetNumber(int id) {
    char text[kEditTextSize] = {};
    GetDlgItemTextA(g_hDlg, id, text, sizeof text);
    return ReadEditNumber(text);
}

// Robots and Heaps may only be allowed together with the cells next to them.
void ApplyAdjacencyRule(bool adjacent) {
    if (!adjacent) {
        SetChecked(IDC_TELEPORT_ROBOTS, false);
        SetChecked(IDC_TELEPORT_HEAPS, false);
    }
    EnableControl(IDC_TELEPORT_ROBOTS, adjacent);
    EnableControl(IDC_TELEPORT_HEAPS, adjacent);
}

// Untimed animation makes the Last Stand untimed as well.
void ApplyUntimedRule(bool untimed) {
    if (untimed) {
        CheckOnly(kLastStandButtons, IDC_LAST_STAND_UNTIMED);
    }
    for (int id : kLastStandButtons) {
        EnableControl(id, !untimed);
    }
}

// The screwdriver counts only matter when the stock is not limited to one per level.
void EnableScrewdriverCounts(bool stockMode) {
    EnableControl(IDC_SCREWDRIVERS_PER_GAME, stockMode);
    EnableControl(IDC_SCREWDRIVERS_PER_LEVEL, stockMode);
}

int SafeZoneButton(int16_t radius) {
    return radius >= 0 && radius <= 3 ? kSafeZoneButtons[radius] : kNoButton;
}

void FillAdvancedOptions(const CPreferences& prefs) {
    for (const FlagBox& box : kFlagBoxes) {
        SetChecked(box.id, prefs.*box.field != 0);
    }
    SetChecked(IDC_ONE_SCREWDRIVER_PER_LEVEL, prefs.m_screwdriverStockMode == 0);
    const TeleportBoxes teleport = TeleportRuleToBoxes(prefs.m_teleportRule);
    SetChecked(IDC_TELEPORT_ROBOTS, teleport.robots);
    SetChecked(IDC_TELEPORT_HEAPS, teleport.heaps);
    SetChecked(IDC_TELEPORT_ADJACENT, teleport.adjacent);
    CheckOnly(kSafeZoneButtons, SafeZoneButton(prefs.m_safeZoneRadius));
    CheckOnly(kLastStandButtons,
              kLastStandButtons[LastStandSpeedOf(prefs.m_lastStandFast, prefs.m_lastStandUntimed)]);
    for (const auto& box : kShortBoxes) {
        SetNumber(box.id, prefs.*box.field);
    }
    for (const auto& box : kLongBoxes) {
        SetNumber(box.id, prefs.*box.field);
    }
    ApplyAdjacencyRule(teleport.adjacent);
    EnableScrewdriverCounts(prefs.m_screwdriverStockMode != 0);
    ApplyUntimedRule(prefs.m_untimedAnimation != 0);
}

// With no speed selected the record keeps its own.
void ReadLastStandSpeed(CPreferences& prefs) {
    switch (FirstChecked(kLastStandButtons)) {
    case kLastStandNormal:
        prefs.m_lastStandFast = 0;
        prefs.m_lastStandUntimed = 0;
        break;
    case kLastStandFast:
        prefs.m_lastStandFast = 1;
        prefs.m_lastStandUntimed = 0;
        break;
    case kLastStandUntimed:
        prefs.m_lastStandFast = 0;
        prefs.m_lastStandUntimed = 1;
        break;
    default:
        break;
    }
}

// Whatever the boxes hold is taken: letters read as 0, big numbers wrap to 16 bits.
void ReadAdvancedOptions(CPreferences& prefs) {
    for (const FlagBox& box : kFlagBoxes) {
        prefs.*box.field = IsChecked(box.id) ? 1 : 0;
    }
    prefs.m_screwdriverStockMode = IsChecked(IDC_ONE_SCREWDRIVER_PER_LEVEL) ? 0 : 1;
    prefs.m_teleportRule =
        TeleportRuleFromBoxes({IsChecked(IDC_TELEPORT_ROBOTS), IsChecked(IDC_TELEPORT_HEAPS),
                               IsChecked(IDC_TELEPORT_ADJACENT)});
    const int radius = FirstChecked(kSafeZoneButtons);
    if (radius >= 0) {
        prefs.m_safeZoneRadius = static_cast<int16_t>(radius);
    }
    ReadLastStandSpeed(prefs);
    for (const auto& box : kShortBoxes) {
        prefs.*box.field = GetNumber(box.id);
    }
    for (const auto& box : kLongBoxes) {
        prefs.*box.field = GetNumber(box.id);
    }
}

void CloseDialog(int result) {
    EndDialog(g_hDlg, result);
    g_hDlg = nullptr;
}

// The radio buttons have no group of their own: each click is made exclusive here.
bool SelectRadioButton(int id) {
    if (Contains(kSafeZoneButtons, id)) {
        CheckOnly(kSafeZoneButtons, id);
        return true;
    }
    if (Contains(kLastStandButtons, id)) {
        CheckOnly(kLastStandButtons, id);
        return true;
    }
    return false;
}

INT_PTR OnCommand(int id, CPreferences& prefs) {
    switch (id) {
    case IDOK:
        ReadAdvancedOptions(prefs);
        CloseDialog(IDOK);
        return TRUE;
    case IDCANCEL:
        CloseDialog(IDCANCEL);
        return TRUE;
    case IDC_DEFAULTS:
        // The reset is made at once, so there is nothing left to cancel.
        prefs.SetDefaults();
        FillAdvancedOptions(prefs);
        EnableControl(IDCANCEL, false);
        return FALSE;
    case IDC_TELEPORT_ADJACENT:
        ApplyAdjacencyRule(IsChecked(id));
        return TRUE;
    case IDC_ONE_SCREWDRIVER_PER_LEVEL:
        EnableScrewdriverCounts(!IsChecked(id));
        return TRUE;
    case IDC_UNTIMED_ANIMATION:
        ApplyUntimedRule(IsChecked(id));
        return TRUE;
    default:
        return SelectRadioButton(id) ? TRUE : FALSE;
    }
}

CPreferences& EditedPrefs(HWND hDlg) {
    return *reinterpret_cast<CPreferences*>(GetWindowLongPtrA(hDlg, DWLP_USER));
}

// The dialog is created with the live preferences as its parameter.
INT_PTR CALLBACK AdvancedOptionsDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        if (g_hDlg) {
            return FALSE;
        }
        g_hDlg = hDlg;
        SetWindowLongPtrA(hDlg, DWLP_USER, lParam);
        FillAdvancedOptions(EditedPrefs(hDlg));
        return TRUE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), EditedPrefs(hDlg));
    default:
        return FALSE;
    }
}

} // namespace

void CWinGameHost::RunAdvancedOptionsDialog() {
    CPreferences* prefs = &m_game.m_prefs;
    DialogBoxParamA(m_ui.m_hInstance, MAKEINTRESOURCEA(IDD_ADVANCED_OPTIONS), m_ui.m_hWnd,
                    AdvancedOptionsDlgProc, reinterpret_cast<LPARAM>(prefs));
}
