#include "Automation.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

double NowMs() {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

Picture WaitForSteadyPicture(HWND window, DWORD stillMs) {
    Picture picture = CaptureClient(window);
    double lastChange = NowMs();
    if (!WaitUntil([&] {
            Picture now = CaptureClient(window);
            if (!(now == picture)) {
                picture = std::move(now);
                lastChange = NowMs();
            }
            return NowMs() - lastChange >= stillMs;
        })) {
        Fail("the picture of the window \"%s\" never stood still", TextOf(window).c_str());
    }
    return picture;
}

Picture Crop(const Picture& picture, const RECT& rect) {
    Picture part(rect.right - rect.left, rect.bottom - rect.top, 0);
    for (int y = 0; y < part.height; ++y) {
        for (int x = 0; x < part.width; ++x) {
            part.At(x, y) = picture.At(rect.left + x, rect.top + y);
        }
    }
    return part;
}

RegionWatcher::RegionWatcher(HWND window, const std::vector<RECT>& regions)
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
            Fail("cannot make a bitmap for a watched region");
        }
        const size_t pixels = size_t(rect.right - rect.left) * size_t(rect.bottom - rect.top);
        m_copies.push_back({rect, bitmap, static_cast<const DWORD*>(bits), {}});
        m_copies.back().last.resize(pixels);
    }
}

RegionWatcher::~RegionWatcher() {
    for (const Copy& copy : m_copies) {
        DeleteObject(copy.bitmap);
    }
    DeleteDC(m_memoryDC);
    ReleaseDC(m_window, m_windowDC);
}

std::vector<bool> RegionWatcher::Read() {
    std::vector<bool> changed(m_copies.size(), false);
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
    return changed;
}

namespace {

// The clock ticks of the kernel's process figures.
constexpr double kMsPerClockTick = 10;

std::string FirstArgumentIn(const std::string& cmdlinePath) {
    std::ifstream in(cmdlinePath, std::ios::binary);
    std::string first;
    std::getline(in, first, '\0');
    return first;
}

// The /proc entry of the process started as `program`, or empty when there is none to be seen
// (the process does not run under Wine).
std::string FindStatPath(const std::string& program) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string statPath;
    do {
        const std::string entry = std::string("Z:\\proc\\") + found.cFileName;
        if (std::isdigit(static_cast<unsigned char>(found.cFileName[0])) &&
            _stricmp(FirstArgumentIn(entry + "\\cmdline").c_str(), program.c_str()) == 0) {
            statPath = entry + "\\stat";
        }
    } while (statPath.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return statPath;
}

double FileTimeMs(const FILETIME& time) {
    return static_cast<double>((uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
           10000.0;
}

} // namespace

// User and kernel time: fields 14 and 15 of /proc/PID/stat, counted after the command name,
// which is in parentheses and may hold blanks.
double Game::CpuMs() {
    if (!m_statPath) {
        m_statPath = FindStatPath(m_programPath);
    }
    if (!m_statPath->empty()) {
        std::ifstream in(*m_statPath);
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
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(m_process.hProcess, &created, &exited, &kernel, &user)) {
        return 0;
    }
    return FileTimeMs(kernel) + FileTimeMs(user);
}
