#include "Watcher.h"

#include "MainWindow.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr DWORD kGiveUpMs = 20000;
constexpr DWORD kStillMs = 300;

[[noreturn]] void GiveUp(const char* what) {
    std::fprintf(stderr, "clankmere-animation-timer: %s\n", what);
    std::exit(1);
}

std::string FolderOf(const char* program) {
    const std::string path = program;
    const size_t separator = path.find_last_of('\\');
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

double FileTimeMs(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

// The clock ticks of the kernel's process figures.
constexpr double kMsPerClockTick = 10;

std::string FirstArgumentIn(const std::string& cmdlinePath) {
    std::ifstream in(cmdlinePath, std::ios::binary);
    std::string first;
    std::getline(in, first, '\0');
    return first;
}

// The /proc entry of the process started with `program`, or empty when there is none to be
// seen (the process does not run under Wine).
std::string FindStatPath(const char* program) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string statPath;
    do {
        const std::string entry = std::string("Z:\\proc\\") + found.cFileName;
        if (std::isdigit(static_cast<unsigned char>(found.cFileName[0])) &&
            _stricmp(FirstArgumentIn(entry + "\\cmdline").c_str(), program) == 0) {
            statPath = entry + "\\stat";
        }
    } while (statPath.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return statPath;
}

} // namespace

ProcessClock::ProcessClock(HANDLE process, const char* program)
    : m_process(process), m_statPath(FindStatPath(program)) {}

// User and kernel time: fields 14 and 15 of /proc/PID/stat, counted after the command name,
// which is in parentheses and may hold blanks.
double ProcessClock::CpuMs() const {
    if (!m_statPath.empty()) {
        std::ifstream in(m_statPath);
        std::string stat;
        std::getline(in, stat);
        std::istringstream fields(stat.substr(stat.rfind(')') + 1));
        std::string skipped;
        for (int field = 3; field < 14; ++field) {
            fields >> skipped;
        }
        double user = 0;
        double kernel = 0;
        fields >> user >> kernel;
        return (user + kernel) * kMsPerClockTick;
    }
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    if (!GetProcessTimes(m_process, &created, &exited, &kernel, &user)) {
        return 0;
    }
    return FileTimeMs(kernel) + FileTimeMs(user);
}

// Copies of the watched regions of the window, each in a DIB section of its own; Read takes
// them all again and tells which ones changed.
class RegionReader {
public:
    RegionReader(HWND window, const std::vector<RECT>& regions);
    ~RegionReader();
    RegionReader(const RegionReader&) = delete;
    RegionReader& operator=(const RegionReader&) = delete;

    // Sets changed[i] for every region whose pixels differ from the last read.
    void Read(std::vector<bool>& changed);
    // Whether anything differs from the last read, which it replaces.
    bool ReadAnyChange();

private:
    struct Copy {
        RECT rect;
        HBITMAP bitmap;
        const DWORD* bits;
        std::vector<DWORD> last;
    };

    HWND m_window;
    HDC m_windowDC;
    HDC m_memoryDC;
    std::vector<Copy> m_copies;
};

RegionReader::RegionReader(HWND window, const std::vector<RECT>& regions)
    : m_window(window), m_windowDC(GetDC(window)), m_memoryDC(CreateCompatibleDC(m_windowDC)) {
    for (const RECT& rect : regions) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = rect.right - rect.left;
        info.bmiHeader.biHeight = -(rect.bottom - rect.top);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(m_windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap) {
            GiveUp("cannot make a bitmap for a watched region");
        }
        const size_t pixels =
            static_cast<size_t>(rect.right - rect.left) * (rect.bottom - rect.top);
        m_copies.push_back(
            {rect, bitmap, static_cast<const DWORD*>(bits), std::vector<DWORD>(pixels)});
    }
}

RegionReader::~RegionReader() {
    for (const Copy& copy : m_copies) {
        DeleteObject(copy.bitmap);
    }
    DeleteDC(m_memoryDC);
    ReleaseDC(m_window, m_windowDC);
}

void RegionReader::Read(std::vector<bool>& changed) {
    changed.assign(m_copies.size(), false);
    for (size_t i = 0; i < m_copies.size(); ++i) {
        Copy& copy = m_copies[i];
        HGDIOBJ old = SelectObject(m_memoryDC, copy.bitmap);
        BitBlt(m_memoryDC, 0, 0, copy.rect.right - copy.rect.left, copy.rect.bottom - copy.rect.top,
               m_windowDC, copy.rect.left, copy.rect.top, SRCCOPY);
        SelectObject(m_memoryDC, old);
        GdiFlush();
        if (!std::equal(copy.last.begin(), copy.last.end(), copy.bits)) {
            std::copy(copy.bits, copy.bits + copy.last.size(), copy.last.begin());
            changed[i] = true;
        }
    }
}

bool RegionReader::ReadAnyChange() {
    std::vector<bool> changed;
    Read(changed);
    for (const bool one : changed) {
        if (one) {
            return true;
        }
    }
    return false;
}

double NowMs() {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

WatchedProgram::WatchedProgram(const char* path) {
    std::string commandLine = std::string("\"") + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(path, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        FolderOf(path).c_str(), &startup, &m_process)) {
        GiveUp("cannot start the program");
    }
    const double start = NowMs();
    while (!(m_window = VisibleMainWindow(m_process.dwProcessId))) {
        if (NowMs() - start > kGiveUpMs) {
            GiveUp("the program showed no window");
        }
        Sleep(10);
    }
    WaitForStillPicture();
    m_clock = std::make_unique<ProcessClock>(m_process.hProcess, path);
}

WatchedProgram::~WatchedProgram() {
    TerminateProcess(m_process.hProcess, 0);
    WaitForSingleObject(m_process.hProcess, kGiveUpMs);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

// The window appears before its first frame: the picture counts as still once the whole
// client area has not changed for a while.
void WatchedProgram::WaitForStillPicture() {
    RECT client = {};
    GetClientRect(m_window, &client);
    RegionReader reader(m_window, {client});
    const double start = NowMs();
    double lastChange = start;
    while (NowMs() - lastChange < kStillMs) {
        if (reader.ReadAnyChange()) {
            lastChange = NowMs();
        }
        if (NowMs() - start > kGiveUpMs) {
            GiveUp("the picture never settled");
        }
        Sleep(20);
    }
}

double WatchedProgram::CpuMs() const {
    return m_clock->CpuMs();
}

std::vector<Change> WatchedProgram::PostAndRecord(int command, const std::vector<RECT>& regions,
                                                  DWORD quietMs, DWORD limitMs) {
    RegionReader reader(m_window, regions);
    std::vector<bool> changed;
    reader.Read(changed);
    std::vector<Change> changes;
    const double start = NowMs();
    PostMessageA(m_window, WM_COMMAND, static_cast<WPARAM>(command), 0);
    for (;;) {
        reader.Read(changed);
        const double now = NowMs() - start;
        if (std::find(changed.begin(), changed.end(), true) != changed.end()) {
            const double cpu = CpuMs();
            for (size_t i = 0; i < changed.size(); ++i) {
                if (changed[i]) {
                    changes.push_back({i, now, cpu});
                }
            }
        }
        const bool quiet = !changes.empty() && now - changes.back().ms > quietMs;
        if (quiet || now > limitMs) {
            return changes;
        }
        Sleep(1);
    }
}
