#include "IcoWriter.h"

#include "PngWriter.h"

#include <stdexcept>

namespace artgen {

namespace {

constexpr std::uint32_t kDirectoryHeaderSize = 6;
constexpr std::uint32_t kDirectoryEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint16_t kIconResourceType = 1;

std::uint32_t maskRowSize(int width) {
    return (static_cast<std::uint32_t>(width) + 31) / 32 * 4;
}

std::uint32_t dibSize(const Image& picture) {
    const auto side = static_cast<std::uint32_t>(picture.width());
    return kInfoHeaderSize + side * side * 4 + maskRowSize(picture.width()) * side;
}

void checkIconSize(const Image& picture) {
    if (picture.width() != picture.height() || picture.width() > 256) {
        throw std::invalid_argument("icon pictures must be square and at most 256 pixels");
    }
}

void writeDirectoryEntry(ByteWriter& out, const Image& picture, std::uint32_t size,
                         std::uint32_t offset) {
    out.u8(static_cast<std::uint8_t>(picture.width() & 0xFF)); // 0 stands for 256
    out.u8(static_cast<std::uint8_t>(picture.height() & 0xFF));
    out.u8(0);   // no palette
    out.u8(0);   // reserved
    out.u16(1);  // planes
    out.u16(32); // bits per pixel
    out.u32(size);
    out.u32(offset);
}

void writeInfoHeader(ByteWriter& out, const Image& picture) {
    out.u32(kInfoHeaderSize);
    out.i32(picture.width());
    out.i32(picture.height() * 2); // colour image and mask stacked
    out.u16(1);
    out.u16(32);
    out.u32(0); // BI_RGB
    out.u32(dibSize(picture) - kInfoHeaderSize);
    out.zeros(16); // resolution and palette counts, unused for icons
}

void writeColours(ByteWriter& out, const Image& picture) {
    for (int y = picture.height() - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb colour = picture.isTransparent(x, y) ? Rgb{0, 0, 0} : picture.at(x, y);
            out.u8(colour.b);
            out.u8(colour.g);
            out.u8(colour.r);
            out.u8(picture.isTransparent(x, y) ? 0 : 255);
        }
    }
}

// One bit per pixel, set where the picture is transparent.
void writeMask(ByteWriter& out, const Image& picture) {
    for (int y = picture.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < picture.width(); x += 8) {
            std::uint8_t packed = 0;
            for (int bit = 0; bit < 8 && x + bit < picture.width(); ++bit) {
                if (picture.isTransparent(x + bit, y)) {
                    packed = static_cast<std::uint8_t>(packed | (0x80 >> bit));
                }
            }
            out.u8(packed);
        }
        out.zeros(rowStart + maskRowSize(picture.width()) - out.size());
    }
}

// The 256-pixel image as PNG, as the systems that show that size read it; smaller ones as a
// bitmap with its mask, which every system reads.
Bytes encodeImage(const Image& picture) {
    if (picture.width() == 256) {
        return encodePng(picture);
    }
    ByteWriter out;
    writeInfoHeader(out, picture);
    writeColours(out, picture);
    writeMask(out, picture);
    return out.bytes();
}

} // namespace

Bytes encodeIco(const std::vector<Image>& pictures) {
    std::vector<Bytes> images;
    for (const Image& picture : pictures) {
        checkIconSize(picture);
        images.push_back(encodeImage(picture));
    }
    ByteWriter out;
    out.u16(0); // reserved
    out.u16(kIconResourceType);
    out.u16(static_cast<std::uint16_t>(pictures.size()));
    auto offset =
        static_cast<std::uint32_t>(kDirectoryHeaderSize + kDirectoryEntrySize * pictures.size());
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const auto size = static_cast<std::uint32_t>(images[i].size());
        writeDirectoryEntry(out, pictures[i], size, offset);
        offset += size;
    }
    for (const Bytes& image : images) {
        for (const std::uint8_t byte : image) {
            out.u8(byte);
        }
    }
    return out.bytes();
}

} // namespace artgen
