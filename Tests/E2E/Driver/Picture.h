// Pixels as the screen shows them: 0x00RRGGBB, rows from the top.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    Picture() = default;
    Picture(int w, int h, uint32_t fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    uint32_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    uint32_t& At(int x, int y) { return pixels[size_t(y) * width + x]; }
    bool operator==(const Picture& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return (r << 16) | (g << 8) | b;
}

std::string DescribeColor(uint32_t color);

// The window's client area as it is on the screen (GetDC + BitBlt: PrintWindow sees nothing
// of what DirectDraw presents).
Picture CaptureClient(HWND window);

// A bitmap loaded the way the game loads its images: from `file` when it exists, else from
// bitmap resource `resourceId` of the module `module`; stretched to width x height.
Picture LoadBitmapPicture(const std::string& file, const std::string& module, int resourceId,
                          int width, int height);

// Writes the picture as a 24-bit BMP file.
void SavePicture(const Picture& picture, const std::string& path);
