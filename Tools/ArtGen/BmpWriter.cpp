#include "BmpWriter.h"

#include <stdexcept>

namespace artgen {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 2835; // 72 dots per inch

std::uint32_t paddedRowSize(int width, int bitsPerPixel) {
    const auto bits = static_cast<std::uint32_t>(width * bitsPerPixel);
    return (bits + 31) / 32 * 4;
}

void writeHeaders(ByteWriter& out, const Image& image, std::uint16_t bitsPerPixel,
                  std::uint32_t paletteEntries) {
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + paletteEntries * 4;
    const std::uint32_t pixelBytes =
        paddedRowSize(image.width(), bitsPerPixel) * static_cast<std::uint32_t>(image.height());
    out.tag("BM");
    out.u32(pixelOffset + pixelBytes);
    out.u32(0); // reserved
    out.u32(pixelOffset);
    out.u32(kInfoHeaderSize);
    out.i32(image.width());
    out.i32(image.height()); // positive: bottom-up
    out.u16(1);              // planes
    out.u16(bitsPerPixel);
    out.u32(0); // BI_RGB, no compression
    out.u32(pixelBytes);
    out.i32(kPixelsPerMetre);
    out.i32(kPixelsPerMetre);
    out.u32(paletteEntries);
    out.u32(0); // all colours important
}

void writePaletteEntry(ByteWriter& out, Rgb colour) {
    out.u8(colour.b);
    out.u8(colour.g);
    out.u8(colour.r);
    out.u8(0);
}

void padRow(ByteWriter& out, std::size_t rowStart, std::uint32_t rowSize) {
    out.zeros(rowStart + rowSize - out.size());
}

void writeTrueColourRow(ByteWriter& out, const Image& image, int y) {
    const std::size_t rowStart = out.size();
    for (int x = 0; x < image.width(); ++x) {
        const Rgb colour = image.at(x, y);
        out.u8(colour.b);
        out.u8(colour.g);
        out.u8(colour.r);
    }
    padRow(out, rowStart, paddedRowSize(image.width(), 24));
}

bool isWhitePixel(const Image& image, int x, int y) {
    const Rgb colour = image.at(x, y);
    if (colour != kWhite && colour != kBlack) {
        throw std::invalid_argument("a 1-bit bitmap takes only black and white");
    }
    return colour == kWhite;
}

void writeOneBitRow(ByteWriter& out, const Image& image, int y) {
    const std::size_t rowStart = out.size();
    for (int x = 0; x < image.width(); x += 8) {
        std::uint8_t packed = 0;
        for (int bit = 0; bit < 8 && x + bit < image.width(); ++bit) {
            if (isWhitePixel(image, x + bit, y)) {
                packed = static_cast<std::uint8_t>(packed | (0x80 >> bit));
            }
        }
        out.u8(packed);
    }
    padRow(out, rowStart, paddedRowSize(image.width(), 1));
}

} // namespace

Bytes encodeBmp24(const Image& image) {
    ByteWriter out;
    writeHeaders(out, image, 24, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        writeTrueColourRow(out, image, y);
    }
    return out.bytes();
}

Bytes encodeBmp1(const Image& image) {
    ByteWriter out;
    writeHeaders(out, image, 1, 2);
    writePaletteEntry(out, kBlack);
    writePaletteEntry(out, kWhite);
    for (int y = image.height() - 1; y >= 0; --y) {
        writeOneBitRow(out, image, y);
    }
    return out.bytes();
}

} // namespace artgen
