// The check that keeps damaged image files away from the bitmap loader.
#include "BitmapFile.h"

#include "ByteOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Layout {
    int32_t width = 3;
    int32_t height = 2;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t colors = 0; // colour table entries
    uint32_t imageSize = 0;
    uint32_t infoSize = 40;
};

// A file with its information header (the fields of the 40-byte one, zeros after them, or the
// 12-byte core header), the colour masks of a bit-field image after the first 40 bytes of it,
// its colour table and rows of four-byte multiples.
Bytes BitmapFile(const Layout& layout) {
    const bool core = layout.infoSize == 12;
    const uint32_t masks =
        layout.compression == 3 && layout.infoSize < 52 ? 52 - layout.infoSize : 0;
    const uint32_t offset = 14 + layout.infoSize + masks + layout.colors * (core ? 3 : 4);
    const uint32_t rowBytes = (uint32_t(layout.width) * layout.bitCount + 31) / 32 * 4;
    const uint32_t rows = uint32_t(layout.height < 0 ? -layout.height : layout.height);
    const uint32_t pixels = layout.imageSize != 0 ? layout.imageSize : rowBytes * rows;
    Bytes file(offset + pixels);
    CByteWriter out(file.data());
    out.U16('B' | 'M' << 8);
    for (uint32_t field : {uint32_t(file.size()), 0u, offset, layout.infoSize}) {
        out.U32(field);
    }
    if (core) {
        for (int field : {layout.width, layout.height, 1, int(layout.bitCount)}) {
            out.U16(uint16_t(field));
        }
        return file;
    }
    for (uint32_t field :
         {uint32_t(layout.width), uint32_t(layout.height), 1u | layout.bitCount << 16,
          layout.compression, layout.imageSize, 0u, 0u, layout.colors}) {
        out.U32(field);
    }
    return file;
}

Bytes Cut(Bytes file, size_t size) {
    file.resize(size);
    return file;
}

Bytes With32(Bytes file, size_t at, uint32_t value) {
    CByteWriter(file.data() + at).U32(value);
    return file;
}

TEST(BitmapFileTest, AcceptsWholeFilesAndRefusesDamagedOnes) {
    const Bytes plain = BitmapFile({});
    const Bytes palette = BitmapFile({4, 4, 8, 0, 256, 0});
    const Bytes core = BitmapFile({4, 4, 8, 0, 256, 0, 12});
    // What is wrong, the file, whether it is whole.
    const std::tuple<const char*, Bytes, bool> cases[] = {
        {"24-bit", plain, true},
        {"top-down", BitmapFile({3, -2}), true},
        {"8-bit with its colour table", palette, true},
        {"32-bit with colour masks", BitmapFile({2, 2, 32, 3}), true},
        {"run-length with its stated size", BitmapFile({4, 4, 8, 1, 2, 6}), true},
        {"zero length", {}, false},
        {"headers only", Cut(plain, 54), false},
        {"one byte short", Cut(plain, plain.size() - 1), false},
        {"colour table cut", Cut(palette, 14 + 40 + 100), false},
        {"MM", With32(plain, 0, 'M' | 'M' << 8), false},
        {"BA", With32(plain, 0, 'B' | 'A' << 8), false},
        {"pixels beyond the end", With32(plain, 10, uint32_t(plain.size())), false},
        {"colour table past the pixel offset", With32(Cut(palette, 14 + 40 + 16), 10, 54), false},
        {"core header with its colour table", core, true},
        {"core colour table past the pixel offset", With32(core, 10, 14 + 12 + 256 * 3 - 1), false},
        {"OS/2 2.x header of 64 bytes", BitmapFile({4, 4, 8, 0, 16, 0, 64}), true},
        {"52-byte header with its masks", BitmapFile({2, 2, 32, 3, 0, 0, 52}), true},
        {"56-byte header", BitmapFile({3, 2, 24, 0, 0, 0, 56}), true},
        {"108-byte header", BitmapFile({2, 2, 16, 3, 0, 0, 108}), true},
        {"124-byte header", BitmapFile({3, -2, 24, 0, 0, 0, 124}), true},
        {"44-byte header, masks beyond it", BitmapFile({2, 2, 32, 3, 0, 0, 44}), true},
        {"1000-byte header", BitmapFile({3, 2, 24, 0, 0, 0, 1000}), true},
        {"OS/2 2.x header of 16 bytes", With32(plain, 14, 16), false},
        {"39-byte information header", With32(plain, 14, 39), false},
        {"13-byte information header", With32(plain, 14, 13), false},
        {"header running into the pixels", With32(plain, 14, 64), false},
        {"header longer than the file", With32(plain, 14, 0xFFFFFFF0), false},
        {"44-byte header, masks cut", With32(BitmapFile({2, 2, 32, 3, 0, 0, 44}), 10, 62), false},
        {"width zero", With32(plain, 18, 0), false},
        {"height zero", With32(plain, 22, 0), false},
        {"huge width", With32(plain, 18, 0x7FFFFFFF), false},
        {"huge height", With32(plain, 22, 0x7FFFFFFF), false},
        {"two planes", With32(plain, 26, 2 | (24 << 16)), false},
        {"7 bits per pixel", With32(plain, 26, 1 | (7 << 16)), false},
        {"unknown compression", With32(plain, 30, 4), false},
        {"run-length without a size", BitmapFile({4, 4, 8, 1, 2, 0}), false},
        {"run-length top-down", BitmapFile({4, -4, 8, 1, 2, 6}), false},
        {"bit fields without their masks", With32(BitmapFile({2, 2, 32, 3}), 10, 54), false},
    };
    for (const auto& [name, file, whole] : cases) {
        const size_t head = std::min(file.size(), kBitmapHeadBytes);
        EXPECT_EQ(IsWholeBitmapFile(file.data(), head, file.size()), whole) << name;
    }
    const Bytes longer = Cut(plain, plain.size() + 1);
    EXPECT_FALSE(IsWholeBitmapFile(longer.data(), longer.size(), plain.size()))
        << "a head longer than the file is not trusted";
}

} // namespace
