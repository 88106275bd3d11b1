#include "Automation.h"

#include <algorithm>

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
    BITMAP own = {};
    if (width == 0 && GetObjectA(image, sizeof own, &own)) {
        width = own.bmWidth;
        height = own.bmHeight < 0 ? -own.bmHeight : own.bmHeight;
    }
    Picture picture = ReadBitmap(static_cast<HBITMAP>(image), width, height);
    DeleteObject(image);
    return picture;
}

Picture IconPicture(HICON icon, int width, int height, uint32_t background) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(
        RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
    const RECT all = {0, 0, width, height};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    const bool drawn = DrawIconEx(memory, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    SelectObject(memory, old);
    DeleteDC(memory);
    Picture picture = drawn ? ReadBitmap(bitmap, width, height) : Picture();
    DeleteObject(bitmap);
    if (!drawn) {
        Fail("cannot draw an icon (error %lu)", GetLastError());
    }
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

RECT InkBox(const Picture& picture, const RECT& region) {
    const uint32_t background = picture.At(region.left, region.top);
    RECT ink = {region.right, region.bottom, region.left, region.top};
    for (LONG y = region.top; y < region.bottom; ++y) {
        for (LONG x = region.left; x < region.right; ++x) {
            if (picture.At(x, y) != background) {
                ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
                       std::max(ink.bottom, y + 1)};
            }
        }
    }
    if (IsRectEmpty(&ink)) {
        return {};
    }
    OffsetRect(&ink, -region.left, -region.top);
    return ink;
}

std::string ShrinkBlocks(const Picture& shown, int scale, Picture* shrunk) {
    if (shown.width % scale != 0 || shown.height % scale != 0) {
        return Format("%d x %d pixels are no whole number of %d x %d blocks", shown.width,
                      shown.height, scale, scale);
    }
    *shrunk = Picture(shown.width / scale, shown.height / scale, 0);
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            const uint32_t corner = shown.At(x - x % scale, y - y % scale);
            if (shown.At(x, y) != corner) {
                return Format("the block at (%d, %d) is not one colour: (%d, %d) is %s", x / scale,
                              y / scale, x, y, DescribeColor(shown.At(x, y)).c_str());
            }
            shrunk->At(x / scale, y / scale) = corner;
        }
    }
    return {};
}
