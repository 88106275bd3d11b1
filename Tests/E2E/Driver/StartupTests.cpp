// Start-up: the first start without preferences, the single-instance guard, and the window
// placement stored at quit.
#include "Game.h"
#include "StoredPreferences.h"

namespace {

constexpr DWORD kStartupFailureExitCode = 0;

void CheckBox(const MessageBoxSeen& box, const char* caption, const char* text) {
    if (box.caption != caption || box.text != text) {
        Fail("expected a box \"%s\" saying \"%s\", found \"%s\" saying \"%s\"", caption, text,
             box.caption.c_str(), box.text.c_str());
    }
}

void QuitWithQ(Game& game) {
    game.Press('Q');
    CheckQuitCode(game, "Q");
}

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The frame the game gives its 496 x 322 client area.
SIZE OuterSize() {
    RECT rect = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&rect, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, TRUE, 0);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

POINT WorkAreaOrigin() {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return {work.left, work.top};
}

void CheckShownNormalAt(HWND window, POINT normalTopLeft, const char* when) {
    if (IsIconic(window) || IsZoomed(window)) {
        Fail("%s the window is %s instead of in its normal state", when,
             IsIconic(window) ? "minimised" : "maximised");
    }
    const POINT origin = WorkAreaOrigin();
    const RECT rect = WindowRect(window);
    if (rect.left != normalTopLeft.x + origin.x || rect.top != normalTopLeft.y + origin.y) {
        Fail("%s the window stands at (%ld, %ld) instead of its stored normal position (%ld, %ld)",
             when, rect.left, rect.top, normalTopLeft.x + origin.x, normalTopLeft.y + origin.y);
    }
    CheckClientSize(window, when);
}

} // namespace

E2E_TEST(first_start_reverts_preferences) {
    if (ReadStoredPreferences()) {
        Fail("the fresh prefix already holds a preferences value");
    }
    Game game(context);
    MessageBoxSeen box;
    // The note must come while the main window is still hidden.
    if (!WaitUntil([&] {
            const HWND main = game.FindMainWindow();
            if (main && IsWindowVisible(main)) {
                Fail("the main window became visible before the revert message");
            }
            return (box.window = game.FindMessageBox()) != nullptr;
        })) {
        Fail("no revert message appeared at the first start");
    }
    box = game.WaitForMessageBox("at the first start");
    CheckBox(box, "Message", "Reverting preferences to default settings.");
    game.Dismiss(box);
    const HWND main = game.WaitForMainWindow();
    const RECT frame = WindowRect(main);
    QuitWithQ(game);

    const PreferencesRecord stored = ReadStoredRecord("after the first quit");
    // Everything but the main window's placement is a default.
    const PreferencesRecord defaults = DefaultPreferences();
    for (const std::string& difference :
         {FirstFieldDifference(defaults, stored, 0, kMainWindowPlacementOffset),
          FirstFieldDifference(defaults, stored, kHighScoresPlacementOffset)}) {
        if (!difference.empty()) {
            Fail("the stored record differs from the defaults: %s", difference.c_str());
        }
    }
    const WINDOWPLACEMENT placement = GetPlacement(stored, kMainWindowPlacementOffset);
    const RECT& normal = placement.rcNormalPosition;
    if (placement.length != sizeof(WINDOWPLACEMENT) || placement.showCmd != SW_SHOWNORMAL ||
        normal.right - normal.left != frame.right - frame.left ||
        normal.bottom - normal.top != frame.bottom - frame.top) {
        Fail("the stored main window placement (length %u, showCmd %u, %ld x %ld) is not the "
             "%ld x %ld window shown normally",
             placement.length, placement.showCmd, normal.right - normal.left,
             normal.bottom - normal.top, frame.right - frame.left, frame.bottom - frame.top);
    }
}

E2E_TEST(second_instance_is_refused) {
    StoreDefaultPreferences();
    Game first(context);
    const HWND firstWindow = first.WaitForMainWindow();
    Game second(context);
    const MessageBoxSeen box = second.WaitForMessageBox("when a second copy starts");
    CheckBox(box, "Error", "Clankmere is already running.");
    if (second.FindMainWindow()) {
        Fail("the second copy created a main window");
    }
    second.Dismiss(box);
    const DWORD code = second.WaitForExit("after its message");
    if (code != kStartupFailureExitCode) {
        Fail("the second copy exited with %lu instead of %lu", code, kStartupFailureExitCode);
    }
    if (!first.IsRunning() || !IsWindowVisible(firstWindow)) {
        Fail("the first copy did not survive the second one");
    }
    QuitWithQ(first);
}

E2E_TEST(stored_placement_comes_back_normal) {
    // A placement left minimised: the game shows the window normally at the normal position.
    const SIZE size = OuterSize();
    const POINT normalTopLeft = {150, 100};
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    placement.showCmd = SW_SHOWMINIMIZED;
    placement.ptMinPosition = {-1, -1};
    placement.ptMaxPosition = {-1, -1};
    placement.rcNormalPosition = {normalTopLeft.x, normalTopLeft.y, normalTopLeft.x + size.cx,
                                  normalTopLeft.y + size.cy};
    PreferencesRecord stored = DefaultPreferences();
    PutPlacement(stored, kMainWindowPlacementOffset, placement);
    StorePreferences(stored);
    {
        Game game(context);
        const HWND window = game.WaitForMainWindow();
        CheckShownNormalAt(window, normalTopLeft, "with a stored minimised placement");
        // Minimise it through its caption button and quit it while it is minimised.
        ClickAt(game.FindFramePoint(HTREDUCE, "minimise button"));
        if (!WaitUntil([&] { return IsIconic(window) != FALSE; })) {
            Fail("the minimise button did not minimise the window");
        }
        QuitWithQ(game);
    }
    const WINDOWPLACEMENT quitMinimised =
        GetPlacement(ReadStoredRecord("after quitting minimised"), kMainWindowPlacementOffset);
    if (quitMinimised.showCmd != SW_SHOWMINIMIZED ||
        quitMinimised.rcNormalPosition.left != normalTopLeft.x ||
        quitMinimised.rcNormalPosition.top != normalTopLeft.y) {
        Fail("quitting minimised stored showCmd %u and normal position (%ld, %ld) instead of %d "
             "and (%ld, %ld)",
             quitMinimised.showCmd, quitMinimised.rcNormalPosition.left,
             quitMinimised.rcNormalPosition.top, SW_SHOWMINIMIZED, normalTopLeft.x,
             normalTopLeft.y);
    }
    Game again(context);
    CheckShownNormalAt(again.WaitForMainWindow(), normalTopLeft, "after a quit while minimised,");
    QuitWithQ(again);
}
