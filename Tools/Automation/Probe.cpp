#include "Automation.h"

#include <algorithm>
#include <sstream>

namespace {

std::string ProbeDllPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dll = path;
    dll.erase(dll.find_last_of('\\') + 1);
    return dll + "clankmere-probe.dll";
}

HANDLE CreateProbeEvent(const char* kind, DWORD pid) {
    char name[96];
    ProbeObjectName(name, sizeof name, kind, pid);
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, name);
    if (!event) {
        Fail("cannot create the event %s (error %lu)", name, GetLastError());
    }
    return event;
}

void LoadIntoProcess(HANDLE process, const std::string& dll) {
    if (GetFileAttributesA(dll.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Fail("the helper DLL %s is missing", dll.c_str());
    }
    void* remotePath =
        VirtualAllocEx(process, nullptr, dll.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remotePath ||
        !WriteProcessMemory(process, remotePath, dll.c_str(), dll.size() + 1, nullptr)) {
        Fail("cannot write the helper DLL's path into the game (error %lu)", GetLastError());
    }
    // kernel32 sits at the same address in every process, so our LoadLibraryA is the game's.
    FARPROC loadLibrary = GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA");
    HANDLE thread = CreateRemoteThread(
        process, nullptr, 0,
        reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(loadLibrary)), remotePath,
        0, nullptr);
    if (!thread) {
        Fail("cannot start a thread in the game (error %lu)", GetLastError());
    }
    DWORD loaded = 0;
    const bool finished = WaitForSingleObject(thread, kPatienceMs) == WAIT_OBJECT_0;
    GetExitCodeThread(thread, &loaded);
    CloseHandle(thread);
    if (!finished || loaded == 0) {
        Fail("the game did not load the helper DLL %s", dll.c_str());
    }
}

} // namespace

ProbeClient::ProbeClient(HANDLE process, DWORD pid, HWND mainWindow) {
    char name[96];
    ProbeObjectName(name, sizeof name, kProbeMappingKind, pid);
    m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                   sizeof(ProbeShared), name);
    m_shared = m_mapping ? static_cast<ProbeShared*>(
                               MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, sizeof(ProbeShared)))
                         : nullptr;
    if (!m_shared) {
        Fail("cannot create the memory shared with the helper DLL (error %lu)", GetLastError());
    }
    m_request = CreateProbeEvent(kProbeRequestKind, pid);
    m_reply = CreateProbeEvent(kProbeReplyKind, pid);
    m_shared->mainWindow = mainWindow;
    LoadIntoProcess(process, ProbeDllPath());
    if (!WaitUntil([this] { return m_shared->ready != 0; }) || m_shared->ready < 0) {
        Fail("the helper DLL could not watch the game's main window");
    }
}

ProbeClient::~ProbeClient() {
    UnmapViewOfFile(m_shared);
    CloseHandle(m_mapping);
    CloseHandle(m_request);
    CloseHandle(m_reply);
}

std::vector<int> ProbeClient::CommandsSince(LONG mark) const {
    const LONG done = m_shared->commandsDone;
    if (done - mark > kCommandLogSize) {
        Fail("more than %ld commands were handled since the mark", kCommandLogSize);
    }
    std::vector<int> commands;
    for (LONG n = mark; n < done; ++n) {
        commands.push_back(m_shared->commandLog[n % kCommandLogSize]);
    }
    return commands;
}

std::string ProbeClient::WaitsSince(LONG mark) const {
    const LONG logged = m_shared->waitsLogged;
    if (logged - mark > kWaitLogSize) {
        Fail("more than %ld waits were logged since the mark", kWaitLogSize);
    }
    std::string waits;
    for (LONG n = mark; n < logged;) {
        const LONG ms = m_shared->waitLog[n % kWaitLogSize];
        LONG run = 1;
        while (n + run < logged && m_shared->waitLog[(n + run) % kWaitLogSize] == ms) {
            ++run;
        }
        waits += (waits.empty() ? "" : " ") + (run > 1 ? Format("%ld*", run) : std::string()) +
                 Format("%+ld", ms);
        n += run;
    }
    return waits;
}

std::vector<DrawnText> ProbeClient::TextsDrawn() const {
    std::vector<DrawnText> texts;
    // The game may draw while the log is copied: copy again until it has not.
    for (LONG before = -1; before != m_shared->textsDrawn;) {
        before = m_shared->textsDrawn;
        texts.clear();
        for (LONG n = std::max<LONG>(0, before - kTextLogSize); n < before; ++n) {
            texts.push_back(m_shared->textLog[n % kTextLogSize]);
        }
    }
    return texts;
}

std::vector<std::string> ProbeClient::Ask(ProbeRequest request, const char* what) {
    m_shared->request = request;
    SetEvent(m_request);
    if (WaitForSingleObject(m_reply, kPatienceMs) != WAIT_OBJECT_0) {
        Fail("the helper DLL in the game did not answer with the %s", what);
    }
    std::vector<std::string> lines;
    std::istringstream text(m_shared->menuText);
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> ProbeClient::ReadDialogLabels() {
    return Ask(kProbeDialogLabels, "dialog labels");
}

std::vector<Menu> ProbeClient::ReadMenus() {
    std::vector<Menu> menus;
    for (const std::string& line : Ask(kProbeMenus, "menus")) {
        if (line.rfind("menu ", 0) == 0) {
            menus.push_back({line.substr(5), {}});
            continue;
        }
        int id = 0;
        unsigned state = 0;
        int textStart = 0;
        if (menus.empty() || std::sscanf(line.c_str(), "%d %u %n", &id, &state, &textStart) < 2) {
            Fail("the helper DLL sent a line it should not: %s", line.c_str());
        }
        menus.back().items.push_back({(state & MF_SEPARATOR) != 0, id, (state & MF_GRAYED) != 0,
                                      (state & MF_DISABLED) != 0, (state & MF_CHECKED) != 0,
                                      line.substr(static_cast<size_t>(textStart))});
    }
    return menus;
}

std::optional<SIZE> ProbeClient::AskDpiScaledSize(UINT dpi, HWND target) {
    m_shared->dpiWindow = target ? target : m_shared->mainWindow;
    RECT window = {};
    GetWindowRect(m_shared->dpiWindow, &window);
    m_shared->dpi = static_cast<LONG>(dpi);
    m_shared->dpiSize = {window.right - window.left, window.bottom - window.top};
    Ask(kProbeDpiScaledSize, "answer to WM_GETDPISCALEDSIZE");
    if (!m_shared->dpiAnswer) {
        return std::nullopt;
    }
    return m_shared->dpiSize;
}

void ProbeClient::SendDpiChanged(UINT dpi, const RECT& suggested, HWND target) {
    m_shared->dpiWindow = target ? target : m_shared->mainWindow;
    m_shared->dpi = static_cast<LONG>(dpi);
    m_shared->dpiRect = suggested;
    Ask(kProbeDpiChanged, "handling of WM_DPICHANGED");
}

void ProbeClient::LeaveKeyDown(WORD key) {
    m_shared->keyLeftDown = key;
    Ask(kProbeKeyLeftDown, "key left down");
}

void ProbeClient::ChangeFrameMetrics(int captionGrowth, int menuGrowth, UINT message) {
    m_shared->captionGrowth = captionGrowth;
    m_shared->menuGrowth = menuGrowth;
    m_shared->metricsMessage = static_cast<LONG>(message);
    Ask(kProbeFrameMetrics, "frame's new metrics");
}
