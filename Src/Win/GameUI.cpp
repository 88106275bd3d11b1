#include "GameUI.h"

#include "resource.h"

#include "Flavour.h"
#include "HighScore.h"

#include <cstdlib>
#include <ctime>

#include <mmsystem.h>
// The system header names PlaySoundA "PlaySound", which is also the name of a host operation.
#undef PlaySound

namespace {

const char* const kSoundFiles[kNumGameSounds] = {
    "Sounds\\Robot Dies.wav",  "Sounds\\Intro.wav",    "Sounds\\Player Dies.wav",
    "Sounds\\Screwdriver.wav", "Sounds\\Teleport.wav",
};

constexpr DWORD kRefusalBeepHz = 750;
constexpr DWORD kRefusalBeepMs = 300;

// Milliseconds until the tick count passes `deadline`; 0 once it has. The signed difference
// keeps this right when the counter wraps around after 49 days.
DWORD TimeLeft(DWORD deadline) {
    const int32_t left = static_cast<int32_t>(deadline - TickCount()) + 1;
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

// Sleeps and message waits end on the system timer's interrupts; while one of these exists
// they come every millisecond, so that a wait ends within a millisecond of its deadline.
class CFineTimer {
public:
    CFineTimer() : m_raised(timeBeginPeriod(1) == TIMERR_NOERROR) {}
    ~CFineTimer() {
        if (m_raised) {
            timeEndPeriod(1);
        }
    }
    CFineTimer(const CFineTimer&) = delete;
    CFineTimer& operator=(const CFineTimer&) = delete;

private:
    bool m_raised;
};

// Sleeps without looking at any message: a message wait that no message can end. Unlike Sleep
// it lets the system show what was presented before it (Wine copies a window's pixels to the
// screen only while the program waits for messages).
void Rest(DWORD milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, 0);
}

int64_t CounterFrequency() {
    LARGE_INTEGER frequency;
    return QueryPerformanceFrequency(&frequency) ? frequency.QuadPart : 0;
}

} // namespace

void CGameUI::HideCursor() {
    if (m_cursorVisible) {
        ::ShowCursor(FALSE);
        m_cursorVisible = FALSE;
    }
}

void CGameUI::ShowCursor() {
    if (!m_cursorVisible) {
        ::ShowCursor(TRUE);
        m_cursorVisible = TRUE;
    }
}

void CGameUI::FlushKeyboardInput() {
    MSG msg;
    while (PeekMessageA(&msg, m_hWnd, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}

void CGameUI::PumpMessages() {
    MSG msg;
    while (!m_quitPending && PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            // Only the main loop ends the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            m_quitPending = true;
            return;
        }
        if (IsHighScoresListKey(msg) || !TranslateAcceleratorA(m_hWnd, m_hAccel, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void CGameUI::WaitPastTick(DWORD deadline) {
    const CFineTimer fineTimer;
    for (;;) {
        PumpMessages();
        const DWORD left = TimeLeft(deadline);
        // Waiting, even for no time at all, also brings the last frame to the screen.
        if (m_quitPending) {
            Rest(left);
        } else {
            WaitForInput(left, kAnyInputMask, MWMO_INPUTAVAILABLE);
        }
        if (left == 0) {
            return;
        }
    }
}

DWORD TickCount() {
    static const int64_t frequency = CounterFrequency();
    LARGE_INTEGER count;
    if (frequency <= 0 || !QueryPerformanceCounter(&count)) {
        return GetTickCount();
    }
    // In two parts, so that a fast counter does not overflow in the multiplication.
    const int64_t seconds = count.QuadPart / frequency;
    const int64_t rest = count.QuadPart % frequency;
    return static_cast<DWORD>(seconds * 1000 + rest * 1000 / frequency);
}

void SleepPastTick(DWORD deadline) {
    const CFineTimer fineTimer;
    DWORD left = 0;
    do {
        left = TimeLeft(deadline);
        Rest(left);
    } while (left != 0);
}

void FatalError(const char* text) {
    // A second fatal error raised while the first one's box is open ends the process quietly.
    static int16_t fatalErrors = 0;
    if (++fatalErrors == 1) {
        MessageBoxA(nullptr, text, "Fatal Error", MB_ICONERROR | MB_OK);
    }
    std::exit(1);
}

WindowPlacement FromWin32(const WINDOWPLACEMENT& placement) {
    WindowPlacement stored;
    stored.length = placement.length;
    stored.flags = placement.flags;
    stored.showCmd = placement.showCmd;
    stored.minX = placement.ptMinPosition.x;
    stored.minY = placement.ptMinPosition.y;
    stored.maxX = placement.ptMaxPosition.x;
    stored.maxY = placement.ptMaxPosition.y;
    stored.normalLeft = placement.rcNormalPosition.left;
    stored.normalTop = placement.rcNormalPosition.top;
    stored.normalRight = placement.rcNormalPosition.right;
    stored.normalBottom = placement.rcNormalPosition.bottom;
    return stored;
}

WINDOWPLACEMENT ToWin32(const WindowPlacement& stored) {
    WINDOWPLACEMENT placement;
    placement.length = stored.length;
    placement.flags = stored.flags;
    placement.showCmd = stored.showCmd;
    placement.ptMinPosition = {stored.minX, stored.minY};
    placement.ptMaxPosition = {stored.maxX, stored.maxY};
    placement.rcNormalPosition = {stored.normalLeft, stored.normalTop, stored.normalRight,
                                  stored.normalBottom};
    return placement;
}

CWinGameHost::CWinGameHost(CGame& game)
    : m_game(game), m_graphics(game, m_ui), m_highScores(HighScoresFilePath().c_str()) {}

void CWinGameHost::PlaySound(GameSound sound) {
    PlaySoundA(kSoundFiles[sound], nullptr, SND_FILENAME | SND_ASYNC);
}

void CWinGameHost::RefuseAction() {
    if (kBeepOnRefusal && MessageBeep(0)) {
        Beep(kRefusalBeepHz, kRefusalBeepMs);
    }
}

// Notes shown while the window is up belong to it, so that its menus wait for the answer.
HWND CWinGameHost::MessageOwner() const {
    return m_ui.m_hWnd && IsWindowVisible(m_ui.m_hWnd) ? m_ui.m_hWnd : nullptr;
}

void CWinGameHost::ShowMessage(const char* text) {
    MessageBoxA(MessageOwner(), text, "Message", MB_ICONINFORMATION | MB_OK);
}

bool CWinGameHost::ConfirmMessage(const char* text) {
    return MessageBoxA(MessageOwner(), text, "Message", MB_ICONINFORMATION | MB_OKCANCEL) == IDOK;
}

void CWinGameHost::BringWindowToTop() {
    ::BringWindowToTop(m_ui.m_hWnd);
}

void CWinGameHost::Pause(uint32_t milliseconds) {
    m_ui.WaitPastTick(TickCount() + milliseconds);
}

int64_t CWinGameHost::CurrentTime() {
    return static_cast<int64_t>(std::time(nullptr));
}

bool CWinGameHost::IsAltKeyDown() {
    return GetAsyncKeyState(VK_MENU) < 0;
}

void CWinGameHost::CloseWindows() {
    CloseHighScores();
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(m_ui.m_hWnd, &placement)) {
        m_game.m_prefs.m_mainWindowPlacement = FromWin32(placement);
    }
    PostMessageA(m_ui.m_hWnd, WM_CLOSE, 0, 0);
}

WNDCLASSEXA RobotWindowClass(HINSTANCE hInstance, WNDPROC procedure, const char* className) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = hInstance;
    windowClass.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_ROBOT));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageA(hInstance, MAKEINTRESOURCEA(IDI_ROBOT_SMALL), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    return windowClass;
}
