// Loaded into the running game by the end-to-end driver. Under Wine a menu belongs to its
// process, so menu texts and states can only be read from inside the game; and a hook on the
// main window's thread tells the driver when a command has been handled completely, so that it
// never sends a key while the game is still about to flush its keyboard queue. The game's
// imports of the beeps, the sounds, the message waits and the board's validation are redirected
// here to be counted, and its import of DrawTextA to keep the texts it draws (the status line's
// among them); its import of the performance counter, its clock, to be stopped.
#include "ProbeProtocol.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

HMODULE g_module;
HHOOK g_hook;
ProbeShared* g_shared;
// Sent to the main window with a request in wParam, which the hook then carries out on the
// game's thread: the table GetKeyState reads belongs to each thread, and the game is to see the
// frame change while it handles its own messages.
UINT g_onGameThreadMessage;

// Alt or Ctrl, with its left key.
void LeaveKeyDown() {
    const bool alt = g_shared->keyLeftDown == VK_MENU;
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[alt ? VK_MENU : VK_CONTROL] |= 0x80;
    keys[alt ? VK_LMENU : VK_LCONTROL] |= 0x80;
    SetKeyboardState(keys);
}

void ChangeFrameMetrics() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.iCaptionHeight += g_shared->captionGrowth;
    metrics.iMenuHeight += g_shared->menuGrowth;
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    SetWindowPos(g_shared->mainWindow, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const auto message = static_cast<UINT>(g_shared->metricsMessage);
    SendMessageA(g_shared->mainWindow, message,
                 message == WM_SETTINGCHANGE ? SPI_SETNONCLIENTMETRICS : 0, 0);
}

void RunOnGameThread(WPARAM request) {
    if (request == kProbeKeyLeftDown) {
        LeaveKeyDown();
    } else if (request == kProbeFrameMetrics) {
        ChangeFrameMetrics();
    }
}

LRESULT CALLBACK AfterWindowProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->hwnd == g_shared->mainWindow) {
        if (message->message == WM_COMMAND) {
            const LONG done = g_shared->commandsDone;
            InterlockedExchange(&g_shared->commandLog[done % kCommandLogSize],
                                LOWORD(message->wParam));
            InterlockedExchange(&g_shared->commandsDone, done + 1);
        } else if (message->message == g_onGameThreadMessage) {
            RunOnGameThread(message->wParam);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

std::string ItemText(HMENU menu, int position) {
    char text[256] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

std::string DescribeItems(HMENU popup) {
    std::string out;
    for (int j = 0; popup && j < GetMenuItemCount(popup); ++j) {
        out += std::to_string(static_cast<int>(GetMenuItemID(popup, j))) + " " +
               std::to_string(GetMenuState(popup, j, MF_BYPOSITION)) + " " + ItemText(popup, j) +
               "\n";
    }
    return out;
}

// The menu bar's menus, then a context menu of the game's that is open, titled "(open)".
std::string DescribeMenuBar() {
    std::string out;
    HMENU bar = GetMenu(g_shared->mainWindow);
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        out += "menu " + ItemText(bar, i) + "\n" + DescribeItems(GetSubMenu(bar, i));
    }
    for (HWND menu = nullptr; (menu = FindWindowExA(nullptr, menu, "#32768", nullptr));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(menu, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(menu)) {
            out += "menu (open)\n" +
                   DescribeItems(reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)));
        }
    }
    return out;
}

BOOL CALLBACK CollectDialog(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    reinterpret_cast<std::vector<LPSTR>*>(param)->push_back(name);
    return TRUE;
}

INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

std::string WindowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// "&&" shows one ampersand; a single one marks the mnemonic and takes no room.
std::string ShownText(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        shown += text[i];
    }
    return shown;
}

bool HasCheckGlyph(HWND control) {
    constexpr unsigned kGlyphTypes = 1u << BS_CHECKBOX | 1u << BS_AUTOCHECKBOX |
                                     1u << BS_RADIOBUTTON | 1u << BS_AUTORADIOBUTTON |
                                     1u << BS_3STATE | 1u << BS_AUTO3STATE;
    return (kGlyphTypes >> (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK)) & 1;
}

bool IsTextStatic(HWND control) {
    const LONG type = GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK;
    return type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
}

// A label that breaks at words loses its last words once GetTextExtentPoint32 says the text is
// wider than the control.
bool WrapsAtWords(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) <= SS_RIGHT;
}

// How far the drawn text reaches. Under Wine the dialog font draws narrower than
// GetTextExtentPoint32 measures it, and a label that never wraps shows whole if its ink does.
LONG InkWidth(HDC dc, const std::string& text, SIZE extent) {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, extent.cx + 1, extent.cy);
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    const HGDIOBJ oldFont = SelectObject(memory, GetCurrentObject(dc, OBJ_FONT));
    RECT all = {0, 0, extent.cx + 1, extent.cy};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutA(memory, 0, 0, text.c_str(), static_cast<int>(text.size()));
    LONG width = 0;
    for (LONG x = 0; x <= extent.cx; ++x) {
        for (LONG y = 0; y < extent.cy; ++y) {
            if (GetPixel(memory, x, y) != RGB(255, 255, 255)) {
                width = x + 1;
            }
        }
    }
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return width;
}

// A check box's text starts four pixels after its glyph.
constexpr LONG kGlyphGap = 4;

// Empty when the text fits.
std::string DescribeLabel(HWND dialog, HWND control) {
    char className[32] = {};
    GetClassNameA(control, className, sizeof className);
    const bool glyph = lstrcmpiA(className, "Button") == 0 && HasCheckGlyph(control);
    const bool text = lstrcmpiA(className, "Static") == 0 && IsTextStatic(control);
    if (!glyph && !text) {
        return "";
    }
    const std::string shown = ShownText(WindowText(control));
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
    LONG needed = text && WrapsAtWords(control) ? extent.cx : InkWidth(dc, shown, extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (glyph) {
        needed += GetSystemMetrics(SM_CXMENUCHECK) + kGlyphGap;
    }
    RECT client = {};
    GetClientRect(control, &client);
    if (needed <= client.right) {
        return "";
    }
    return "label " + WindowText(dialog) + "|" + shown + "|" + std::to_string(needed) + "|" +
           std::to_string(client.right) + "\n";
}

std::string DescribeDialogLabels() {
    std::vector<LPSTR> names;
    const HMODULE game = GetModuleHandleA(nullptr);
    EnumResourceNamesA(game, RT_DIALOG, CollectDialog, reinterpret_cast<LONG_PTR>(&names));
    std::string out;
    for (LPSTR name : names) {
        const HWND dialog = CreateDialogParamA(game, name, nullptr, InertDialogProc, 0);
        for (HWND child = GetWindow(dialog, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            out += DescribeLabel(dialog, child);
        }
        DestroyWindow(dialog);
    }
    return out;
}

// The idle wait of the main loop lasts a second; the waits of animations are shorter.
constexpr DWORD kIdleWaitMs = 1000;
constexpr DWORD kRefusalToneHz = 750;
constexpr DWORD kRefusalToneMs = 300;

void NoteWakeMask(DWORD timeoutMs, DWORD wakeMask) {
    if (timeoutMs >= kIdleWaitMs) {
        InterlockedExchange(&g_shared->idleWakeMask, static_cast<LONG>(wakeMask));
    }
    InterlockedOr(&g_shared->wakeMasks, static_cast<LONG>(wakeMask));
}

BOOL WINAPI CountedMessageBeep(UINT type) {
    const BOOL done = MessageBeep(type);
    InterlockedIncrement(&g_shared->messageBeeps);
    if (done) {
        InterlockedIncrement(&g_shared->messageBeepsDone);
    }
    return done;
}

BOOL WINAPI CountedBeep(DWORD frequency, DWORD duration) {
    if (frequency == kRefusalToneHz && duration == kRefusalToneMs) {
        InterlockedIncrement(&g_shared->refusalTones);
    }
    return Beep(frequency, duration);
}

BOOL WINAPI CountedPlaySound(LPCSTR sound, HMODULE module, DWORD flags) {
    lstrcpynA(g_shared->lastSound, sound ? sound : "", sizeof g_shared->lastSound);
    if (!GetFullPathNameA(g_shared->lastSound, sizeof g_shared->lastSoundPath,
                          g_shared->lastSoundPath, nullptr)) {
        g_shared->lastSoundPath[0] = '\0';
    }
    InterlockedIncrement(&g_shared->sounds);
    if (!(flags & SND_ASYNC)) {
        InterlockedIncrement(&g_shared->soundsWaitedFor);
    }
    return PlaySoundA(sound, module, flags);
}

BOOL WINAPI CountedMoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    InterlockedIncrement(&g_shared->replacingMoves);
    InterlockedOr(&g_shared->replacingMoveFlags, static_cast<LONG>(flags));
    return MoveFileExA(from, to, flags);
}

BOOL WINAPI CountedMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
    InterlockedIncrement(&g_shared->replacingMoves);
    InterlockedOr(&g_shared->replacingMoveFlags, static_cast<LONG>(flags));
    return MoveFileExW(from, to, flags);
}

BOOL WINAPI CountedMoveFileA(LPCSTR from, LPCSTR to) {
    InterlockedIncrement(&g_shared->plainMoves);
    return MoveFileA(from, to);
}

BOOL WINAPI CountedFlushFileBuffers(HANDLE file) {
    InterlockedIncrement(&g_shared->fileFlushes);
    return FlushFileBuffers(file);
}

int WINAPI LoggedDrawText(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format) {
    const LONG n = g_shared->textsDrawn;
    DrawnText& entry = g_shared->textLog[n % kTextLogSize];
    entry.rect = rect ? *rect : RECT{};
    entry.format = format;
    const int shown = length < 0 ? lstrlenA(text) : length;
    lstrcpynA(entry.text, text, std::min<int>(shown + 1, sizeof entry.text));
    InterlockedExchange(&g_shared->textsDrawn, n + 1);
    return DrawTextA(dc, text, length, rect, format);
}

BOOL WINAPI CountedValidateRect(HWND window, const RECT* rect) {
    InterlockedIncrement(&g_shared->rectsValidated);
    return ValidateRect(window, rect);
}

// The game's clock while it is stopped, in milliseconds as the game counts them; only the
// game's thread reads the counter and waits, so only it touches these.
LONGLONG g_frequency;
LONGLONG g_stoppedClockMs = -1;

LONGLONG CounterMs(LONGLONG count) {
    return count / g_frequency * 1000 + count % g_frequency * 1000 / g_frequency;
}

LONGLONG RealMs() {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return CounterMs(count.QuadPart);
}

bool ClockStopped() {
    if (!g_shared->clockStopped || g_frequency <= 0) {
        return false;
    }
    if (g_stoppedClockMs < 0) {
        g_stoppedClockMs = RealMs();
    }
    return true;
}

// The count rounded up, so that the game's conversion gives back the same milliseconds.
BOOL WINAPI StoppableCounter(LARGE_INTEGER* count) {
    if (!ClockStopped()) {
        return QueryPerformanceCounter(count);
    }
    count->QuadPart = g_stoppedClockMs / 1000 * g_frequency +
                      (g_stoppedClockMs % 1000 * g_frequency + 999) / 1000;
    return TRUE;
}

void LogWait(LONG ms) {
    const LONG n = g_shared->waitsLogged;
    InterlockedExchange(&g_shared->waitLog[n % kWaitLogSize], ms);
    InterlockedExchange(&g_shared->waitsLogged, n + 1);
}

// Every wait really waits, so that the window shows what it shows otherwise.
template <typename Wait> DWORD NotedWait(DWORD timeoutMs, DWORD wakeMask, Wait wait) {
    NoteWakeMask(timeoutMs, wakeMask);
    if (!ClockStopped()) {
        return wait();
    }
    const bool idle = timeoutMs == INFINITE || (wakeMask != 0 && !(wakeMask & QS_SENDMESSAGE));
    const LONGLONG before = RealMs();
    const DWORD result = wait();
    if (idle) {
        g_stoppedClockMs += RealMs() - before;
    } else if (timeoutMs > 0) {
        g_stoppedClockMs += timeoutMs;
        LogWait(wakeMask == 0 ? -static_cast<LONG>(timeoutMs) : static_cast<LONG>(timeoutMs));
    }
    return result;
}

DWORD WINAPI NotedMsgWait(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD timeoutMs,
                          DWORD wakeMask) {
    return NotedWait(timeoutMs, wakeMask, [=] {
        return MsgWaitForMultipleObjects(count, handles, waitAll, timeoutMs, wakeMask);
    });
}

DWORD WINAPI NotedMsgWaitEx(DWORD count, const HANDLE* handles, DWORD timeoutMs, DWORD wakeMask,
                            DWORD flags) {
    return NotedWait(timeoutMs, wakeMask, [=] {
        return MsgWaitForMultipleObjectsEx(count, handles, timeoutMs, wakeMask, flags);
    });
}

// Points the game's import of `function` at `replacement` (this DLL's own imports still reach
// the original); a function the game does not import is left alone.
template <typename Function> void RedirectImport(const char* function, Function replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         dll->Name != 0; ++dll) {
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) ||
                std::strcmp(
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)
                        ->Name,
                    function) != 0) {
                continue;
            }
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                           &protection);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
        }
    }
}

// The game waits for input and posted messages only: a posted WM_NULL wakes it up for the sent
// message. The message's parameters point into the shared memory, which outlives a late answer.
LRESULT SendToGame(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    do {
        PostMessageA(g_shared->mainWindow, WM_NULL, 0, 0);
    } while (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 100, &result));
    return static_cast<LRESULT>(result);
}

std::string Answer(LONG request) {
    const auto dpi = static_cast<WORD>(g_shared->dpi);
    switch (request) {
    case kProbeDialogLabels:
        return DescribeDialogLabels();
    case kProbeDpiScaledSize:
        g_shared->dpiAnswer =
            static_cast<LONG>(SendToGame(g_shared->dpiWindow, WM_GETDPISCALEDSIZE, dpi,
                                         reinterpret_cast<LPARAM>(&g_shared->dpiSize)));
        return "";
    case kProbeDpiChanged:
        SendToGame(g_shared->dpiWindow, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&g_shared->dpiRect));
        return "";
    case kProbeKeyLeftDown:
    case kProbeFrameMetrics:
        SendToGame(g_shared->mainWindow, g_onGameThreadMessage, static_cast<WPARAM>(request), 0);
        return "";
    default:
        return DescribeMenuBar();
    }
}

HANDLE OpenProbeEvent(const char* kind) {
    char name[96];
    ProbeObjectName(name, sizeof name, kind, GetCurrentProcessId());
    return OpenEventA(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name);
}

DWORD WINAPI Serve(LPVOID) {
    char name[96];
    ProbeObjectName(name, sizeof name, kProbeMappingKind, GetCurrentProcessId());
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
    HANDLE request = OpenProbeEvent(kProbeRequestKind);
    HANDLE reply = OpenProbeEvent(kProbeReplyKind);
    if (!mapping || !request || !reply) {
        return 1;
    }
    g_shared = static_cast<ProbeShared*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    if (!g_shared) {
        return 1;
    }
    g_onGameThreadMessage = RegisterWindowMessageA("clankmere-probe-on-game-thread");
    const DWORD thread = GetWindowThreadProcessId(g_shared->mainWindow, nullptr);
    g_hook =
        thread ? SetWindowsHookExA(WH_CALLWNDPROCRET, AfterWindowProc, g_module, thread) : nullptr;
    RedirectImport("MessageBeep", &CountedMessageBeep);
    RedirectImport("Beep", &CountedBeep);
    RedirectImport("PlaySoundA", &CountedPlaySound);
    RedirectImport("MsgWaitForMultipleObjects", &NotedMsgWait);
    RedirectImport("MsgWaitForMultipleObjectsEx", &NotedMsgWaitEx);
    RedirectImport("DrawTextA", &LoggedDrawText);
    RedirectImport("ValidateRect", &CountedValidateRect);
    RedirectImport("MoveFileExA", &CountedMoveFileExA);
    RedirectImport("MoveFileExW", &CountedMoveFileExW);
    RedirectImport("MoveFileA", &CountedMoveFileA);
    RedirectImport("FlushFileBuffers", &CountedFlushFileBuffers);
    LARGE_INTEGER frequency;
    g_frequency = QueryPerformanceFrequency(&frequency) ? frequency.QuadPart : 0;
    RedirectImport("QueryPerformanceCounter", &StoppableCounter);
    GetCurrentDirectoryA(sizeof g_shared->currentDirectory, g_shared->currentDirectory);
    g_shared->ready = g_hook ? 1 : -1;
    for (;;) {
        WaitForSingleObject(request, INFINITE);
        const std::string text = Answer(g_shared->request);
        lstrcpynA(g_shared->menuText, text.c_str(), sizeof g_shared->menuText);
        SetEvent(reply);
    }
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
        // The loader lock is held here; the thread starts once LoadLibrary has returned.
        HANDLE thread = CreateThread(nullptr, 0, Serve, nullptr, 0, nullptr);
        if (thread) {
            CloseHandle(thread);
        }
    }
    return TRUE;
}
