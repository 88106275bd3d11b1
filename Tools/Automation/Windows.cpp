#include "Automation.h"

#include <algorithm>

void CheckClientSize(HWND window, int width, int height, const std::string& when) {
    RECT client = {};
    GetClientRect(window, &client);
    if (client.right != width || client.bottom != height) {
        Fail("%s the client area is %ld x %ld instead of %d x %d", when.c_str(), client.right,
             client.bottom, width, height);
    }
}

void CheckShownNormallyAt(HWND window, POINT topLeft, int scale, const std::string& when) {
    if (IsIconic(window) || IsZoomed(window)) {
        Fail("%s the window is %s instead of in its normal state", when.c_str(),
             IsIconic(window) ? "minimised" : "maximised");
    }
    const RECT rect = WindowRect(window);
    if (rect.left != topLeft.x || rect.top != topLeft.y) {
        Fail("%s the window stands at (%ld, %ld) instead of (%ld, %ld)", when.c_str(), rect.left,
             rect.top, topLeft.x, topLeft.y);
    }
    CheckClientSize(window, kClientWidth * scale, kClientHeight * scale, when);
}

namespace {

bool InMoveOrSize(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
           (info.flags & GUI_INMOVESIZE) != 0;
}

} // namespace

void DragFrame(HWND window, POINT from, POINT to, const char* what) {
    MouseMoveTo(from);
    MouseDown(from);
    if (!WaitUntil([&] { return InMoveOrSize(window); })) {
        Fail("pressing the %s started no sizing or moving", what);
    }
    for (int step = 1; step <= 4; ++step) {
        MouseMoveTo({from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    }
    MouseUp(to);
    if (!WaitUntil([&] { return !InMoveOrSize(window); })) {
        Fail("releasing the %s did not end the sizing or moving", what);
    }
}

void WaitUntilClosed(HWND window, const std::string& how) {
    if (!WaitUntil([&] { return !IsWindow(window); })) {
        Fail("%s did not close the window \"%s\"", how.c_str(), TextOf(window).c_str());
    }
}

void MoveClientLeftTo(HWND window, LONG screenX) {
    POINT client = {0, 0};
    RECT frame = {};
    ClientToScreen(window, &client);
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr, screenX - (client.x - frame.left), frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Control(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) {
        Fail("the dialog \"%s\" has no control %d", TextOf(dialog).c_str(), id);
    }
    return control;
}

void Click(HWND dialog, int id) {
    SendMessageA(Control(dialog, id), BM_CLICK, 0, 0);
}

void SetText(HWND dialog, int id, const char* text) {
    SendMessageA(Control(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT WorkArea() {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

RECT ClientRectOf(HWND dialog, HWND control) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CheckControls(HWND dialog, const std::vector<ControlState>& states, const std::string& when) {
    for (const ControlState& state : states) {
        const HWND control = Control(dialog, state.id);
        const bool checked = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        const bool enabled = IsWindowEnabled(control) != FALSE;
        if (checked != state.checked || enabled != state.enabled) {
            Fail("%s control %d is %s and %s instead of %s and %s", when.c_str(), state.id,
                 checked ? "checked" : "unchecked", enabled ? "enabled" : "gray",
                 state.checked ? "checked" : "unchecked", state.enabled ? "enabled" : "gray");
        }
    }
}

namespace {

const struct {
    const char* name;
    LPCSTR id;
} kBoxIcons[] = {{"error", IDI_ERROR},
                 {"warning", IDI_WARNING},
                 {"information", IDI_INFORMATION},
                 {"question", IDI_QUESTION}};

HWND VisibleIconControl(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = {};
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") == 0 && IsWindowVisible(child) &&
            (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            return child;
        }
    }
    return nullptr;
}

const char* IconForCaption(const std::string& caption) {
    return caption == "Message" ? "information" : "error";
}

} // namespace

// The icon handle belongs to the game's process: the picture is compared instead.
std::string MessageBoxIcon(HWND box) {
    const HWND control = VisibleIconControl(box);
    if (!control) {
        return "none";
    }
    const Picture client = CaptureClient(box);
    const RECT place = ClientRectOf(box, control);
    const Picture shown = Crop(client, place);
    // The box's background shows left of the icon.
    const uint32_t background = client.At(std::max(0L, place.left - 1), place.top);
    for (const auto& icon : kBoxIcons) {
        if (IconPicture(LoadIconA(nullptr, icon.id), shown.width, shown.height, background) ==
            shown) {
            return icon.name;
        }
    }
    return "unrecognised";
}

void Game::Answer(const char* caption, const std::string& text, const std::string& when) {
    const MessageBoxSeen box = WaitForMessageBox(when);
    if (box.caption != caption || box.text != text) {
        Fail("%s a box \"%s\" says \"%s\" instead of \"%s\" saying \"%s\"", when.c_str(),
             box.caption.c_str(), box.text.c_str(), caption, text.c_str());
    }
    // The box may show before its icon is drawn.
    std::string icon;
    if (!WaitUntil(
            [&] { return (icon = MessageBoxIcon(box.window)) == IconForCaption(caption); })) {
        Fail("%s the box \"%s\" shows the %s icon instead of the %s icon", when.c_str(), caption,
             icon.c_str(), IconForCaption(caption));
    }
    Dismiss(box);
}

MenuDialog Game::OpenFromMenu(int command, const char* caption) {
    const LONG before = Probe().CommandsDone();
    SendNotifyMessageA(WaitForMainWindow(), WM_COMMAND, command, 0);
    HWND dialog = nullptr;
    if (!WaitUntil([&] {
            dialog = FindMessageBox();
            return dialog && TextOf(dialog) == caption;
        })) {
        Fail("the dialog \"%s\" did not open from its menu item %d", caption, command);
    }
    return {dialog, before};
}

void Game::WaitForCommandEnd(const MenuDialog& dialog, const std::string& after) {
    if (!WaitUntil(
            [&] { return Probe().CommandsDone() > dialog.commandsBefore || FindMessageBox(); })) {
        Fail("%s the menu command never finished", after.c_str());
    }
    if (HWND box = FindMessageBox()) {
        Fail("%s a box \"%s\" appeared: \"%s\"", after.c_str(), TextOf(box).c_str(),
             TextOf(GetDlgItem(box, 0xFFFF)).c_str());
    }
}

void Game::ChooseFile(const std::string& path, const std::string& command) {
    const MessageBoxSeen dialog = WaitForMessageBox("after " + command);
    BringToFront(dialog.window, "the file dialog");
    TypeText(path);
    PressKey(VK_RETURN);
    WaitUntilClosed(dialog.window, "Enter in the file dialog of " + command);
}

HWND WaitForHighScoresWindow(const std::string& when) {
    HWND list = nullptr;
    if (!WaitUntil([&] {
            return (list = FindWindowA("High Scores", nullptr)) && IsWindowVisible(list);
        })) {
        Fail("%s the High Scores window did not appear", when.c_str());
    }
    return list;
}

POINT HighScoresRowPoint(HWND list, int rank) {
    // Rows of 20 pixels from 70 down, at 96 dots per inch.
    POINT point = {100, 60 + 20 * rank};
    ClientToScreen(list, &point);
    return point;
}

Menu Game::WaitForOpenMenu(const std::string& after) {
    std::vector<Menu> menus;
    if (!WaitUntil([&] { return (menus = Probe().ReadMenus()).back().title == "(open)"; })) {
        Fail("%s no menu opened", after.c_str());
    }
    return menus.back();
}

void Game::WaitForMenuClosed(const std::string& after) {
    if (!WaitUntil([&] { return Probe().ReadMenus().back().title != "(open)"; })) {
        Fail("%s a menu stayed open", after.c_str());
    }
}
