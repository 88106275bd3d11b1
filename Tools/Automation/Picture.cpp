#include "Automation.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

std::string DescribeColor(uint32_t color) {
    return Format("RGB(%u, %u, %u)", (color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

namespace {

// Uncompressed pixels; a negative height puts the top row first.
BITMAPINFO BitmapFormat(LONG width, LONG height, WORD bitsPerPixel) {
    return {{sizeof(BITMAPINFOHEADER), width, height, 1, bitsPerPixel, BI_RGB, 0, 0, 0, 0, 0}, {}};
}

// Copies `bitmap` (any format) into a top-down 32-bit picture.
Picture ReadBitmap(HBITMAP bitmap, int width, int height) {
    Picture picture(width, height, 0);
    BITMAPINFO info = BitmapFormat(width, -height, 32);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), picture.pixels.data(),
                               &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height) {
        Fail("cannot read the pixels of a %d x %d bitmap", width, height);
    }
    for (uint32_t& pixel : picture.pixels) {
        pixel &= 0x00FFFFFF;
    }
    return picture;
}

} // namespace

Picture CaptureClient(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) {
        Fail("the main window has an empty client area");
    }
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, source);
    if (!copied) {
        DeleteObject(bitmap);
        Fail("cannot copy the pixels of the main window (error %lu)", GetLastError());
    }
    Picture picture = ReadBitmap(bitmap, width, height);
    DeleteObject(bitmap);
    return picture;
}

Picture LoadBitmapPicture(const std::string& file, const std::string& module, int resourceId,
                          int width, int height) {
    HANDLE image = nullptr;
    std::string source;
    if (GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
        source = file;
        image = LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, width, height,
                           LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    } else {
        source = Format("bitmap resource %d of %s", resourceId, module.c_str());
        HMODULE data = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (data) {
            image = LoadImageA(data, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, width, height,
                               LR_CREATEDIBSECTION);
            FreeLibrary(data);
        }
    }
    if (!image) {
        Fail("cannot load the picture from %s", source.c_str());
    }
    Picture picture = ReadBitmap(static_cast<HBITMAP>(image), width, height);
    DeleteObject(image);
    return picture;
}

void SavePicture(const Picture& picture, const std::string& path) {
    const DWORD rowBytes = (static_cast<DWORD>(picture.width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER file = {};
    const BITMAPINFOHEADER header = BitmapFormat(picture.width, picture.height, 24).bmiHeader;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + rowBytes * static_cast<DWORD>(picture.height);
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        Fail("cannot write %s", path.c_str());
    }
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&header, sizeof header, 1, out);
    std::vector<uint8_t> row(rowBytes, 0);
    for (int y = picture.height; y-- > 0;) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t pixel = picture.At(x, y);
            row[size_t(x) * 3] = static_cast<uint8_t>(pixel);
            row[size_t(x) * 3 + 1] = static_cast<uint8_t>(pixel >> 8);
            row[size_t(x) * 3 + 2] = static_cast<uint8_t>(pixel >> 16);
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    std::fclose(out);
}

double NowMs() {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

Picture WaitForSteadyPicture(HWND window, DWORD stillMs, std::optional<RECT> region) {
    const auto capture = [&] {
        return region ? Crop(CaptureClient(window), *region) : CaptureClient(window);
    };
    Picture picture = capture();
    double lastChange = NowMs();
    if (!WaitUntil([&] {
            Picture now = capture();
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
        const BITMAPINFO info = BitmapFormat(rect.right - rect.left, rect.top - rect.bottom, 32);
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

// The /proc entry of the process started as `program`, or empty.
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

} // namespace

// User and kernel time: fields 14 and 15 of /proc/PID/stat, counted after the command name,
// which is in parentheses and may hold blanks (Wine's GetProcessTimes gives no user time of
// another process).
double Game::CpuMs() {
    if (!m_statPath) {
        m_statPath = FindStatPath(m_programPath);
    }
    if (m_statPath->empty()) {
        Fail("%s is not among the processes in /proc", m_programPath.c_str());
    }
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
