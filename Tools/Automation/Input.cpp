#include "Automation.h"

namespace {

// Page Up, Page Down, End, Home, the arrows, Insert, Delete and NumLock.
bool IsExtendedKey(WORD vk) {
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE ||
           vk == VK_NUMLOCK;
}

bool SendKey(WORD vk, bool up) noexcept {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return SendInput(1, &input, sizeof input) == 1;
}

void SendKeyOrFail(WORD vk, bool up) {
    if (!SendKey(vk, up)) {
        Fail("SendInput refused the key 0x%02X (error %lu)", vk, GetLastError());
    }
}

void SendMouse(POINT at, DWORD flags) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Absolute positions run from 0 to 65535 over the screen; aim at the pixel's centre.
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + 32768) / width);
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + 32768) / height);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
    if (SendInput(1, &input, sizeof input) != 1) {
        Fail("SendInput refused a mouse event at (%ld, %ld)", at.x, at.y);
    }
}

constexpr WORD kModifierKeys[] = {VK_SHIFT, VK_CONTROL, VK_MENU};

} // namespace

HeldKey::HeldKey(WORD vk) : m_vk(vk) {
    SendKeyOrFail(vk, false);
}

HeldKey::~HeldKey() {
    SendKey(m_vk, true);
}

void PressKey(WORD vk, unsigned modifiers) {
    for (unsigned i = 0; i < 3; ++i) {
        if (modifiers & (1u << i)) {
            SendKeyOrFail(kModifierKeys[i], false);
        }
    }
    SendKeyOrFail(vk, false);
    SendKeyOrFail(vk, true);
    for (unsigned i = 3; i-- > 0;) {
        if (modifiers & (1u << i)) {
            SendKeyOrFail(kModifierKeys[i], true);
        }
    }
}

void BringToFront(HWND window, const char* what) {
    if (!WaitUntil([&] {
            if (GetForegroundWindow() == window) {
                return true;
            }
            SetForegroundWindow(window);
            return false;
        })) {
        Fail("%s never became the foreground window", what);
    }
}

void EnsureNumLockOn() {
    if (GetKeyState(VK_NUMLOCK) & 1) {
        return;
    }
    PressKey(VK_NUMLOCK);
    if (!WaitUntil([] { return (GetKeyState(VK_NUMLOCK) & 1) != 0; })) {
        Fail("NumLock did not come on");
    }
}

void MouseDown(POINT at) {
    SendMouse(at, MOUSEEVENTF_LEFTDOWN);
}

void MouseMoveTo(POINT at) {
    SendMouse(at, 0);
}

void MouseUp(POINT at) {
    SendMouse(at, MOUSEEVENTF_LEFTUP);
}

void ClickAt(POINT at) {
    MouseMoveTo(at);
    MouseDown(at);
    MouseUp(at);
}

void RightClickAt(POINT at) {
    MouseMoveTo(at);
    SendMouse(at, MOUSEEVENTF_RIGHTDOWN);
    SendMouse(at, MOUSEEVENTF_RIGHTUP);
}

void DoubleClickAt(POINT at) {
    ClickAt(at);
    MouseDown(at);
    MouseUp(at);
}

void TypeText(const std::string& text) {
    for (const char c : text) {
        const SHORT key = VkKeyScanA(c);
        if (key == -1) {
            Fail("no key types '%c'", c);
        }
        PressKey(LOBYTE(key), (HIBYTE(key) & 1) != 0 ? kShift : kNoModifiers);
    }
}
