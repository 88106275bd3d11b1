// Start-up, the main loop with its idle clock, and the main window with its menus and commands.
#include "AboutDlg.h"
#include "CommandIds.h"
#include "Dpi.h"
#include "Flavour.h"
#include "GameUI.h"
#include "HighScore.h"
#include "LostMoment.h"
#include "LostMomentView.h"
#include "MouseInput.h"
#include "Pref2Reg.h"
#include "SavedAnimations.h"
#include "SavedGames.h"
#include "Watching.h"
#include "WinPath.h"
#include "resource.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

CRegistryPreferencesStore g_prefsStore;

constexpr char kProgramName[] = "Clankmere";
constexpr char kWindowClassName[] = "Clankmere";
constexpr char kMutexName[] = "{5B1E0C43-2D7A-4F19-8E62-3A90C4D17B28}";
constexpr char kFirstImagePath[] = "Graphics\\GameIcons 1.bmp";
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
constexpr DWORD kIdleWaitMs = 1000;
// Eleven quiet seconds in a row start the demo.
constexpr int kIdleTimeoutsBeforeDemo = 10;

// Test-only fault switch. A real desktop takes the display's surfaces away when the display
// mode changes; Wine does not in a window, so the end-to-end test starts the program with this
// environment variable set to 1 and then posts kLoseSurfacesMessage to the main window, which
// blanks every surface and makes a present report them lost, in the way its first parameter (a
// TestSurfaceLoss) says. The second parameter's low byte is what else goes wrong on the way back
// (a TestRecoveryFault), and the bits above it the number of presents that go well before the
// loss, so that it can meet the middle of an action. Without the variable the message is
// ignored.
constexpr char kSurfaceLossSwitch[] = "CLANKMERE_TEST_SURFACE_LOSS";
constexpr UINT kLoseSurfacesMessage = WM_APP;
bool g_surfaceLossSwitch = false;

} // namespace

CWinGameHost g_host(g_game);
CGame g_game(g_host, &g_prefsStore);

namespace {

void StartupError(const char* text) {
    MessageBoxA(nullptr, text, "Error", MB_ICONERROR | MB_OK);
}

// Whether the image folder can be found from the current directory.
bool ImageFolderIsHere() {
    HANDLE hFile = CreateFileA(kFirstImagePath, 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD high = 0;
    const bool sized = GetFileSize(hFile, &high) != INVALID_FILE_SIZE || GetLastError() == NO_ERROR;
    CloseHandle(hFile);
    return sized;
}

// Makes the executable's own folder the current directory; a drive root keeps its separator.
void SetProgramDirectory(HINSTANCE hInstance) {
    std::string path = GetProgramPath(hInstance);
    size_t separator = path.find_last_of('\\');
    if (separator == std::string::npos) {
        separator = path.find_last_of('/');
    }
    if (separator == std::string::npos) {
        return;
    }
    if (separator == 2 && path[1] == ':') {
        ++separator;
    }
    path.resize(separator);
    SetCurrentFolder(path.c_str());
}

// New Game and Open Game wait for a running action to end: menus and keys keep working inside
// an action's waits, but a game never starts in the middle of one. Save Animation waits too, so
// that the picture ends on a whole action.
int g_deferredCommand = 0;

bool DefersWhileBusy(int id) {
    return id == IDM_NEW_GAME || id == IDM_OPEN_GAME || id == IDM_SAVE_ANIMATION;
}

void HandleWindowCommand(HWND hWnd, int id) {
    if (g_game.m_busy && DefersWhileBusy(id)) {
        g_deferredCommand = id;
        return;
    }
    CGameGraphics& graphics = g_host.Graphics();
    switch (id) {
    case IDM_EXIT:
        PostMessageA(hWnd, WM_CLOSE, 0, 0);
        break;
    case IDM_SOUND:
        g_game.m_prefs.m_soundOn = g_game.m_prefs.m_soundOn == 0 ? 1 : 0;
        UpdateMenus(hWnd, g_game);
        break;
    case IDM_CLEAR_HIGH_SCORES:
        ConfirmClearHighScores(g_game);
        break;
    case IDM_HOW_TO_PLAY:
        ShowHowToPlay(hWnd);
        graphics.DrawStatusLine();
        break;
    case IDM_NEW_GAME:
        NewGame(g_game, 0, nullptr, false);
        break;
    case IDM_SHOW_HIGH_SCORES:
        g_host.ShowHighScores();
        break;
    case IDM_ABOUT:
        ShowAbout(hWnd);
        graphics.DrawStatusLine();
        break;
    case IDM_SAVE_GAME:
        SaveGameAs(g_host.UI());
        break;
    case IDM_OPEN_GAME:
        OpenSavedGame(g_host.UI());
        break;
    case IDM_SAVE_ANIMATION:
        SaveGameAnimation();
        break;
    case IDM_LOST_MOMENT:
        ShowLostMoment();
        break;
    default:
        break;
    }
}

// A theme or a text size changes the heights of caption and menu while the window keeps its
// outer size: the window takes the size that holds the frame again. A minimised window is
// fitted by the WM_SIZE that restores it. The size asked for is the one the window accepts, so
// the WM_SIZE it brings finds nothing more to do.
void FitWindowToFrame(HWND hWnd) {
    const CGameGraphics& graphics = g_host.Graphics();
    if (!graphics.HasDisplay() || IsIconic(hWnd)) {
        return;
    }
    const SIZE size = FrameWindowSize(hWnd, graphics.Scale(), WindowDpi(hWnd));
    RECT rect = {};
    GetWindowRect(hWnd, &rect);
    if (rect.right - rect.left != size.cx || rect.bottom - rect.top != size.cy) {
        SetWindowPos(hWnd, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CGameGraphics& graphics = g_host.Graphics();
    if (LostMomentTakesMessage(message, wParam)) {
        return 0;
    }
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
        graphics.RefreshWindowRect();
        return 0;
    case WM_SIZE:
        graphics.RefreshWindowRect();
        if (wParam == SIZE_RESTORED) {
            FitWindowToFrame(hWnd);
        }
        break;
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        FitWindowToFrame(hWnd);
        break;
    case WM_PAINT:
        // Repainting the window means showing the last composed frame again.
        graphics.Present();
        break;
    case kLoseSurfacesMessage:
        if (g_surfaceLossSwitch && wParam <= kTestModeChangedAtTest) {
            graphics.LoseSurfacesForTest(static_cast<TestSurfaceLoss>(wParam),
                                         static_cast<int>(lParam >> 8),
                                         static_cast<int>(lParam & 0xFF));
        }
        return 0;
    case WM_TIMER:
        if (wParam == kRecoveryTimer) {
            graphics.RetryRecovery();
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        // The frame covers the whole client area; an erase would only show through it.
        return 1;
    case WM_CLOSE:
        g_watch.PrepareQuit();
        CloseHighScores();
        QuitGame(g_game, SettingsAtQuit::kKeepWhileAltHeld);
        break;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The system may end the process as soon as this returns: everything quitting writes
        // is written now, and nothing asks the user anything.
        if (wParam) {
            TakeTypedPlayerName(g_game);
            g_watch.PrepareQuit();
            QuitGame(g_game, SettingsAtQuit::kStore);
        }
        return 0;
    case WM_GETMINMAXINFO: {
        const SIZE size = FrameWindowSize(hWnd, graphics.Scale(), WindowDpi(hWnd));
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {size.cx, size.cy};
        info->ptMaxTrackSize = {size.cx, size.cy};
        return 0;
    }
    case WM_INITMENUPOPUP:
        // The first action of a game redraws no status line, which brings the menus in line.
        UpdateMenus(hWnd, g_game);
        break;
    case WM_COMMAND:
        if (g_watch.HandleCommand(LOWORD(wParam), TickCount())) {
            RepaintHighScores();
        } else if (!HandleGameCommand(g_game, LOWORD(wParam))) {
            HandleWindowCommand(hWnd, LOWORD(wParam));
        }
        break;
    case WM_MOUSEMOVE:
        g_host.UI().ShowCursor();
        break;
    case WM_LBUTTONDOWN:
        if (g_watch.IsWatching()) {
            g_watch.RequestStop();
            RepaintHighScores();
        } else if (CanTrackMouse(g_game)) {
            const POINT point = {static_cast<short>(LOWORD(lParam)),
                                 static_cast<short>(HIWORD(lParam))};
            TrackMouseMove(g_game, graphics, hWnd, point);
        }
        break;
    case WM_QUERYNEWPALETTE:
        graphics.RefreshPalette();
        break;
    case WM_GETDPISCALEDSIZE: {
        // Asked before a move to a monitor of other dots per inch. The size is the one the scale
        // there gives, and the system suggests a place for it, from which the window does not
        // reach back into the monitor it came from.
        const auto dpi = static_cast<UINT>(wParam);
        *reinterpret_cast<SIZE*>(lParam) =
            FrameWindowSize(hWnd, ChooseFrameScaleForMove(hWnd, dpi), dpi);
        return TRUE;
    }
    case WM_DPICHANGED:
        // Moved to a monitor of other dots per inch: the frame takes the scale for it, in the
        // place the system suggests.
        graphics.FitWindowToDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

// Registers the window class, loads the accelerator table and creates the (hidden) main
// window; false when the class or the window cannot be made. A missing accelerator table
// leaves *phAccel null.
bool CreateMainWindow(HINSTANCE hInstance, HWND* phWnd, HACCEL* phAccel) {
    WNDCLASSEXA windowClass = RobotWindowClass(hInstance, MainWndProc, kWindowClassName);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
    if (!RegisterClassExA(&windowClass)) {
        return false;
    }
    *phAccel = LoadAcceleratorsA(hInstance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    // The display gives the window its final size for the monitor it lands on.
    RECT rect = {0, 0, WINDOW_WIDTH, WINDOW_HEIGHT};
    AdjustWindowRectEx(&rect, kMainWindowStyle, TRUE, 0);
    *phWnd = CreateWindowExA(0, kWindowClassName, kProgramName, kMainWindowStyle, CW_USEDEFAULT,
                             CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                             nullptr, hInstance, nullptr);
    return *phWnd != nullptr;
}

// A window left minimised or maximised comes back in its normal state at its last normal
// position. A placement stored at other dots per inch gives the window its size there: it takes
// the scale of its monitor and, grown, is moved back inside the monitor's work area (the system
// rescues only windows that are wholly off the screen). All that happens before the window
// shows, so that it is seen only where it ends up.
void ShowMainWindow(HWND hWnd, const WindowPlacement& stored) {
    if (stored.length != 0) {
        WINDOWPLACEMENT placement = ToWin32(stored);
        placement.length = sizeof placement;
        placement.showCmd = SW_HIDE;
        if (SetWindowPlacement(hWnd, &placement)) {
            RECT rect = {};
            GetWindowRect(hWnd, &rect);
            g_host.Graphics().FitWindowToDpi(WindowDpi(hWnd), rect);
        }
    }
    ShowWindow(hWnd, SW_SHOW);
}

// Empties the queue, offering every message to the accelerator table; false once the quit
// request has arrived.
bool DispatchQueuedMessages(const CGameUI& ui) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            return false;
        }
        if (IsHighScoresListKey(msg) || !TranslateAcceleratorA(ui.m_hWnd, ui.m_hAccel, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

void RunDeferredCommand(HWND hWnd) {
    if (g_deferredCommand != 0 && !g_game.m_busy) {
        const int id = g_deferredCommand;
        g_deferredCommand = 0;
        HandleWindowCommand(hWnd, id);
    }
}

// Waits for input for one idle second, or until the next watched action is due. While the heaps
// smolder the wait also wakes for each of their frames, which do not end it: only input does, or
// its time running out.
DWORD WaitIdle(CGameGraphics& graphics) {
    const DWORD waitMs = WatchWaitMs(kIdleWaitMs);
    if (!graphics.HeapsSmolder()) {
        return WaitForInput(waitMs, kIdleWakeMask, 0);
    }
    const DWORD end = TickCount() + waitMs;
    for (;;) {
        const DWORD now = TickCount();
        const auto left = static_cast<DWORD>(std::max<int32_t>(static_cast<int32_t>(end - now), 0));
        const DWORD untilFrame = MsUntilNextSmolderFrame(now);
        if (untilFrame >= left || !graphics.HeapsSmolder()) {
            return WaitForInput(left, kIdleWakeMask, 0);
        }
        const DWORD woken = WaitForInput(untilFrame, kIdleWakeMask, 0);
        if (woken != WAIT_TIMEOUT) {
            return woken;
        }
        graphics.DrawSmolderingHeaps(now + untilFrame);
    }
}

// Not while the moment a game was lost is looked at, nor while a listed game is watched.
bool DemoMayStart(const CGame& game) {
    if (g_host.Graphics().ShowsLostMoment() || g_watch.IsWatching()) {
        return false;
    }
    return game.m_gameOver || (!game.m_demoMode && game.m_moveLogLength == 0);
}

// The loop doubles as the idle clock: after eleven quiet seconds with no game under way the
// demo starts, and a running demo makes one move per quiet second. Any input holds it back. A
// watched game plays by its own clock and holds the demo back.
int RunMainLoop(CGame& game, const CGameUI& ui) {
    int idleTimeouts = 0;
    for (;;) {
        if (!DispatchQueuedMessages(ui)) {
            return 1;
        }
        RunDeferredCommand(ui.m_hWnd);
        RunWatch();
        const DWORD woken = WaitIdle(g_host.Graphics());
        if (woken == WAIT_OBJECT_0) {
            idleTimeouts = 0;
            continue;
        }
        if (woken != WAIT_TIMEOUT || g_watch.IsWatching()) {
            continue;
        }
        if (++idleTimeouts > kIdleTimeoutsBeforeDemo) {
            idleTimeouts = 0;
            if (DemoMayStart(game)) {
                NewGame(game, kBuiltInDemoSeed, kBuiltInDemoMoves, false);
            }
        } else if (game.m_demoMode) {
            ReplayNextMove(game);
            idleTimeouts = 0;
        }
    }
}

} // namespace

void UpdateMenus(HWND hWnd, const CGame& game) {
    HMENU hMenu = GetMenu(hWnd);
    if (!hMenu) {
        return;
    }
    char aboutText[64] = {};
    std::snprintf(aboutText, sizeof aboutText, "&About %s...", kProgramName);
    ModifyMenuA(hMenu, IDM_ABOUT, MF_BYCOMMAND | MF_STRING, IDM_ABOUT, aboutText);
    CheckMenuItem(hMenu, IDM_SOUND,
                  MF_BYCOMMAND | (game.m_prefs.m_soundOn != 0 ? MF_CHECKED : MF_UNCHECKED));
    for (UINT id : {IDM_TELEPORT, IDM_SCREWDRIVER, IDM_LAST_STAND, IDM_LAST_STAND_MINUS_1,
                    IDM_LAST_STAND_MINUS_2}) {
        EnableMenuItem(hMenu, id, MF_BYCOMMAND | (game.m_gameOver ? MF_GRAYED : MF_ENABLED));
    }
    EnableMenuItem(hMenu, IDM_SAVE_ANIMATION,
                   MF_BYCOMMAND | (CanSaveGameAnimation(game) ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(hMenu, IDM_LOST_MOMENT,
                   MF_BYCOMMAND | (HasLostMoment(game) ? MF_ENABLED : MF_GRAYED));
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    EnableDpiAwareness();
    CGameUI& ui = g_host.UI();
    ui.m_hInstance = hInstance;
    // Held until the process ends, so that only one copy of either build runs at a time.
    HANDLE hMutex = CreateMutexA(nullptr, FALSE, kMutexName);
    if (!hMutex) {
        StartupError("CreateMutex failed. The program will now exit. ");
        return 0;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        StartupError("Clankmere is already running.");
        return 0;
    }
    char switchValue[2] = {};
    g_surfaceLossSwitch =
        GetEnvironmentVariableA(kSurfaceLossSwitch, switchValue, sizeof switchValue) == 1 &&
        switchValue[0] == '1';
    if (kProbeImageFolder && !ImageFolderIsHere()) {
        SetProgramDirectory(hInstance);
    }
    HWND hWnd = nullptr;
    HACCEL hAccel = nullptr;
    if (!CreateMainWindow(hInstance, &hWnd, &hAccel)) {
        return 0;
    }
    if (!hAccel) {
        StartupError("Initial window and resource loading failed. The program will now exit. ");
        return 0;
    }
    CGameGraphics& graphics = g_host.Graphics();
    const HRESULT hr = graphics.InitGraphics(hWnd);
    if (hr == kNoDirectDraw7) {
        StartupError("Clankmere needs DirectX 7 or later, which this system does not have. The "
                     "program will now exit.");
        return 0;
    }
    if (FAILED(hr)) {
        ShowErrorMessage("DirectDraw initialization failed. The program will now exit", hr);
        return 0;
    }
    ui.m_hWnd = hWnd;
    ui.m_hAccel = hAccel;
    graphics.CreateFonts();
    ResumeSavedGame();
    CheckMenuItem(GetMenu(hWnd), IDM_SOUND,
                  MF_BYCOMMAND | (g_game.m_prefs.m_soundOn != 0 ? MF_CHECKED : MF_UNCHECKED));
    ShowMainWindow(hWnd, g_game.m_prefs.m_mainWindowPlacement);
    return RunMainLoop(g_game, ui);
}
