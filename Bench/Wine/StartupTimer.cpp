// clankmere-startup-timer PROGRAM
// Starts the program, prints how many milliseconds passed until its main window was shown and
// until its first frame was on the screen, then closes it. A frame counts as presented once
// the window's client area is no longer one plain colour (the window class's background).
// Runs under Wine beside the program; it measures, it never judges.
#include "MainWindow.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr DWORD kGiveUpMs = 20000;

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double MillisecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(Now().QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// Whether the client area shows more than one colour.
bool ShowsAFrame(HWND hWnd) {
    RECT client;
    if (!GetClientRect(hWnd, &client) || client.right <= 0 || client.bottom <= 0) {
        return false;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC hWindowDC = GetDC(hWnd);
    HDC hMemoryDC = CreateCompatibleDC(hWindowDC);
    HBITMAP hBitmap = CreateDIBSection(hWindowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ hOld = SelectObject(hMemoryDC, hBitmap);
    BitBlt(hMemoryDC, 0, 0, client.right, client.bottom, hWindowDC, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    const size_t count = static_cast<size_t>(client.right) * static_cast<size_t>(client.bottom);
    bool varied = false;
    for (size_t i = 1; i < count && !varied; ++i) {
        varied = (pixels[i] & 0xFFFFFF) != (pixels[0] & 0xFFFFFF);
    }
    SelectObject(hMemoryDC, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hMemoryDC);
    ReleaseDC(hWnd, hWindowDC);
    return varied;
}

// The program's folder, where it finds its pictures.
std::vector<char> FolderOf(const char* program) {
    std::vector<char> folder(program, program + std::strlen(program) + 1);
    char* separator = std::strrchr(folder.data(), '\\');
    if (separator) {
        *separator = '\0';
    } else {
        std::strcpy(folder.data(), ".");
    }
    return folder;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: clankmere-startup-timer PROGRAM\n");
        return 2;
    }
    std::vector<char> commandLine(argv[1], argv[1] + std::strlen(argv[1]) + 1);
    const std::vector<char> folder = FolderOf(argv[1]);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const LARGE_INTEGER start = Now();
    if (!CreateProcessA(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.data(), &startup, &process)) {
        std::fprintf(stderr, "clankmere-startup-timer: cannot start %s\n", argv[1]);
        return 1;
    }
    HWND hWnd = nullptr;
    double windowMs = 0;
    double frameMs = 0;
    while (MillisecondsSince(start) < kGiveUpMs) {
        if (!hWnd && (hWnd = VisibleMainWindow(process.dwProcessId)) != nullptr) {
            windowMs = MillisecondsSince(start);
        }
        if (hWnd && ShowsAFrame(hWnd)) {
            frameMs = MillisecondsSince(start);
            break;
        }
        Sleep(1);
    }
    if (frameMs == 0) {
        std::fprintf(stderr, "clankmere-startup-timer: no frame within %lu ms\n", kGiveUpMs);
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    std::printf("window %.0f ms, first frame %.0f ms\n", windowMs, frameMs);
    PostMessageA(hWnd, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, kGiveUpMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
