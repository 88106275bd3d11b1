// Start-up and the main window: the first start without preferences, the fixed client area,
// the single-instance guard, a system without DirectDraw 7, and the window placement stored at
// quit (and not at Alt+X).
#include "Scenario.h"

namespace {

constexpr DWORD kStartupFailureExitCode = 0;

} // namespace

E2E_TEST(first_start_reverts_preferences_in_a_fixed_size_window_of_one_copy) {
    E2E_CHECK(!ReadStoredPreferences(), "the fresh prefix already holds a preferences value");
    Game game(context);
    // The note must come while the main window is still hidden.
    E2E_CHECK(WaitUntil([&] {
                  if (IsWindowVisible(game.FindMainWindow())) {
                      Fail("the main window became visible before the revert message");
                  }
                  return game.FindMessageBox() != nullptr;
              }),
              "no revert message appeared at the first start");
    game.Answer("Message", "Reverting preferences to default settings.", "at the first start");
    const HWND main = game.WaitForMainWindow();
    const RECT frame = WindowRect(main);
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    CheckClientSize(main, kClientWidth, kClientHeight, "at start-up");
    E2E_CHECK(!(GetWindowLongA(main, GWL_STYLE) & WS_MAXIMIZEBOX),
              "the window offers to be maximised");
    SetWindowPos(main, nullptr, 0, 0, width + 120, height + 90,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CheckClientSize(main, kClientWidth, kClientHeight,
                    "after SetWindowPos asked for a larger window");
    const POINT corner = game.FindFramePoint(HTBOTTOMRIGHT, "bottom-right sizing corner");
    DragFrame(main, corner, {corner.x + 60, corner.y + 40}, "bottom-right corner");
    const RECT dragged = WindowRect(main);
    E2E_CHECK(dragged.right - dragged.left == width && dragged.bottom - dragged.top == height,
              "dragging the corner resized the window from %ld x %ld to %ld x %ld", width, height,
              dragged.right - dragged.left, dragged.bottom - dragged.top);
    CheckClientSize(main, kClientWidth, kClientHeight, "after dragging the corner");

    Game second(context);
    second.Answer("Error", "Clankmere is already running.", "when a second copy starts");
    E2E_CHECK(!second.FindMainWindow(), "the second copy created a main window");
    const DWORD code = second.WaitForExit("after its message");
    E2E_CHECK(code == kStartupFailureExitCode, "the second copy exited with %lu instead of %lu",
              code, kStartupFailureExitCode);
    E2E_CHECK(game.IsRunning() && IsWindowVisible(main),
              "the first copy did not survive the second one");
    game.Command('G', kNoModifiers, "G");
    game.Press(VK_ESCAPE);
    CheckQuitCode(game, "Esc");

    // Everything but the grid style and the main window's placement is a default.
    PreferencesRecord defaults = DefaultPreferences();
    PutField(defaults, "m_gridStyle", 1);
    CheckStoredPreferences(defaults, "after G and Esc", 0, kMainWindowPlacementOffset);
    CheckStoredPreferences(defaults, "after G and Esc", kHighScoresPlacementOffset);
    const WINDOWPLACEMENT placement =
        GetPlacement(ReadStoredRecord("after G and Esc"), kMainWindowPlacementOffset);
    const RECT& normal = placement.rcNormalPosition;
    const RECT work = WorkArea();
    RECT shown = frame;
    OffsetRect(&shown, -work.left, -work.top);
    E2E_CHECK(placement.length == sizeof placement && placement.showCmd == SW_SHOWNORMAL &&
                  EqualRect(&normal, &shown),
              "the stored main window placement (length %u, showCmd %u, (%ld, %ld)-(%ld, %ld) of "
              "the work area) is not the window shown normally at (%ld, %ld)-(%ld, %ld)",
              placement.length, placement.showCmd, normal.left, normal.top, normal.right,
              normal.bottom, shown.left, shown.top, shown.right, shown.bottom);
}

E2E_TEST(stored_placement_comes_back_normal_and_alt_x_keeps_it) {
    // Moved, then minimised through its caption button and quit while minimised.
    StoreDefaultPreferences();
    const POINT normalTopLeft = {150, 100};
    const RECT work = WorkArea();
    {
        Game game(context);
        const HWND window = game.WaitForMainWindow();
        SetWindowPos(window, nullptr, normalTopLeft.x + work.left, normalTopLeft.y + work.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ClickAt(game.FindFramePoint(HTREDUCE, "minimise button"));
        E2E_CHECK(WaitUntil([&] { return IsIconic(window) != FALSE; }),
                  "the minimise button did not minimise the window");
        QuitWithQ(game);
    }
    const PreferencesRecord quitMinimised = ReadStoredRecord("after quitting minimised");
    const WINDOWPLACEMENT minimised = GetPlacement(quitMinimised, kMainWindowPlacementOffset);
    E2E_CHECK(minimised.showCmd == SW_SHOWMINIMIZED &&
                  minimised.rcNormalPosition.left == normalTopLeft.x &&
                  minimised.rcNormalPosition.top == normalTopLeft.y,
              "quitting minimised stored showCmd %u and normal position (%ld, %ld) instead of %d "
              "and (%ld, %ld)",
              minimised.showCmd, minimised.rcNormalPosition.left, minimised.rcNormalPosition.top,
              SW_SHOWMINIMIZED, normalTopLeft.x, normalTopLeft.y);
    Game again(context);
    CheckShownNormallyAt(again.WaitForMainWindow(),
                         {normalTopLeft.x + work.left, normalTopLeft.y + work.top}, 1,
                         "after a quit while minimised,");
    again.Command('G', kNoModifiers, "G");
    {
        // Alt stays down until the game has gone: it decides at quit whether preferences are
        // stored.
        again.Focus();
        HeldKey alt(VK_MENU);
        PressKey('X');
        CheckQuitCode(again, "Alt+X");
    }
    CheckStoredPreferences(quitMinimised, "after G and Alt+X");
}

// Without DirectDraw 7 both programs say that they need DirectX 7 and end as the other
// start-up failures do, with a box of their own instead of the loader's.
E2E_TEST(without_directdraw_7_both_programs_say_they_need_directx_7) {
    StoreDefaultPreferences();
    for (const char* program : {"Clankmere.exe", "Clankmere9x.exe"}) {
        StoreDisabledDll(program, "ddraw");
        Game game(context.installDir + "\\" + program, context.installDir);
        const std::string when = Format("when %s starts without DirectDraw", program);
        const MessageBoxSeen box = game.WaitForMessageBox(when);
        E2E_CHECK(!GetWindow(box.window, GW_OWNER), "%s its box has an owner", when.c_str());
        game.Answer("Error",
                    "Clankmere needs DirectX 7 or later, which this system does not have. The "
                    "program will now exit.",
                    when);
        const DWORD code = game.WaitForExit("after its message");
        E2E_CHECK(code == kStartupFailureExitCode, "%s exited with %lu instead of %lu", program,
                  code, kStartupFailureExitCode);
    }
}
