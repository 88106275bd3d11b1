// clankmere-shot OUT.bmp
// Waits for the game's window, answers a note the game shows before its window appears, waits
// until the picture is steady and saves the window's client area (board and status line) as a
// 24-bit BMP file. Used to show the game on a machine without a screen.
#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

constexpr DWORD kTimeoutMs = 60000;

// Answers the game's own message boxes (the first start's note about the settings).
void AnswerMessageBoxes() {
    HWND box = nullptr;
    while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
        char caption[64] = {};
        GetWindowTextA(box, caption, sizeof caption - 1);
        if (lstrcmpA(caption, "Message") == 0 && IsWindowVisible(box)) {
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
}

HWND WaitForGameWindow() {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kTimeoutMs) {
        AnswerMessageBoxes();
        HWND window = FindWindowA("Clankmere", "Clankmere");
        if (window && IsWindowVisible(window)) {
            return window;
        }
        Sleep(100);
    }
    return nullptr;
}

std::vector<unsigned char> CaptureClient(HWND window, int& width, int& height) {
    RECT client;
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const size_t rowSize = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const auto* first = static_cast<const unsigned char*>(bits);
    std::vector<unsigned char> pixels(first, first + rowSize * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixels;
}

bool SaveBmp(const char* path, const std::vector<unsigned char>& pixels, int width, int height) {
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(pixels.size());
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    FILE* out = std::fopen(path, "wb");
    if (!out) {
        return false;
    }
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                   std::fwrite(&info, sizeof info, 1, out) == 1 &&
                   std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    return std::fclose(out) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: clankmere-shot OUT.bmp\n");
        return 2;
    }
    HWND window = WaitForGameWindow();
    if (!window) {
        std::fprintf(stderr, "clankmere-shot: the game's window did not appear\n");
        return 1;
    }
    int width = 0;
    int height = 0;
    std::vector<unsigned char> previous;
    std::vector<unsigned char> pixels = CaptureClient(window, width, height);
    // The window shows before its first frame: wait until two captures agree.
    for (int tries = 0; tries < 100 && pixels != previous; ++tries) {
        Sleep(200);
        previous = pixels;
        pixels = CaptureClient(window, width, height);
    }
    if (!SaveBmp(argv[1], pixels, width, height)) {
        std::fprintf(stderr, "clankmere-shot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
