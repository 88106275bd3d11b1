#include "GameUI.h"

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
    const int32_t left = static_cast<int32_t>(deadline - GetTickCount()) + 1;
    return left > 0 ? static_cast<DWORD>(left) : 0;
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
        if (!TranslateAcceleratorA(m_hWnd, m_hAccel, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void CGameUI::WaitPastTick(DWORD deadline) {
    for (;;) {
        PumpMessages();
        const DWORD left = TimeLeft(deadline);
        if (left == 0) {
            return;
        }
        if (m_quitPending) {
            Sleep(left);
        } else {
            MsgWaitForMultipleObjectsEx(0, nullptr, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }
}

void SleepPastTick(DWORD deadline) {
    for (DWORD left = TimeLeft(deadline); left != 0; left = TimeLeft(deadline)) {
        Sleep(left);
    }
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
    m_ui.WaitPastTick(GetTickCount() + milliseconds);
}

int64_t CWinGameHost::CurrentTime() {
    return static_cast<int64_t>(std::time(nullptr));
}

// The key state of the message being handled tells whether Alt+X quit; the live state tells
// whether Alt is held while the program starts, before any key message has arrived.
bool CWinGameHost::IsAltKeyDown() {
    return GetKeyState(VK_MENU) < 0 || GetAsyncKeyState(VK_MENU) < 0;
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
