#include "BitmapFile.h"

#include "ByteOrder.h"

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;
constexpr uint32_t kInfoHeaderBytes = 40;
// The colour masks of a bit-field image follow the 40-byte header; the longer headers hold
// them in the same place.
constexpr uint32_t kMasksEnd = kInfoHeaderBytes + 12;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kCompressionBitFields = 3;

struct BitmapHeader {
    uint32_t pixelOffset = 0;
    uint32_t infoSize = 0;
    int64_t width = 0;
    int64_t height = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = kCompressionNone;
    uint32_t imageSize = 0;
    uint32_t colorsUsed = 0;
};

// Windows reads the 12-byte core header, and any header of at least 40 bytes as the 40-byte
// one with further fields after it (its own later headers, the 64-byte OS/2 2.x one). The
// shorter OS/2 2.x headers, 16 to 39 bytes, it refuses.
bool IsAcceptedInfoSize(uint32_t size) {
    return size == kCoreHeaderBytes || size >= kInfoHeaderBytes;
}

bool ReadHeader(const uint8_t* head, size_t headSize, BitmapHeader& header) {
    if (headSize < kFileHeaderBytes + 4 || head[0] != 'B' || head[1] != 'M') {
        return false;
    }
    CByteReader file(head + 10);
    header.pixelOffset = file.U32();
    header.infoSize = file.U32();
    // The fields read below; the rest of a longer header is checked against the file's size.
    const uint32_t fieldBytes =
        header.infoSize == kCoreHeaderBytes ? kCoreHeaderBytes : kInfoHeaderBytes;
    if (!IsAcceptedInfoSize(header.infoSize) || headSize < kFileHeaderBytes + fieldBytes) {
        return false;
    }
    CByteReader info(head + kFileHeaderBytes + 4);
    if (header.infoSize == kCoreHeaderBytes) {
        header.width = info.U16();
        header.height = info.U16();
        header.planes = info.U16();
        header.bitCount = info.U16();
        return true;
    }
    header.width = info.I32();
    header.height = info.I32();
    header.planes = info.U16();
    header.bitCount = info.U16();
    header.compression = info.U32();
    header.imageSize = info.U32();
    info.U32(); // horizontal resolution
    info.U32(); // vertical resolution
    header.colorsUsed = info.U32();
    return true;
}

bool IsKnownFormat(const BitmapHeader& header) {
    const uint16_t bits = header.bitCount;
    if (header.planes != 1 || header.width <= 0 || header.height == 0) {
        return false;
    }
    switch (header.compression) {
    case kCompressionNone:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kCompressionRle8:
        return bits == 8 && header.height > 0;
    case kCompressionRle4:
        return bits == 4 && header.height > 0;
    case kCompressionBitFields:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// The bytes between the file header and the pixels: the information header, the colour masks
// of a bit-field image where the header does not hold them, and the colour table.
uint64_t TablesEnd(const BitmapHeader& header) {
    uint64_t end = kFileHeaderBytes + header.infoSize;
    if (header.compression == kCompressionBitFields && header.infoSize < kMasksEnd) {
        end = kFileHeaderBytes + kMasksEnd;
    }
    uint64_t colors = header.colorsUsed;
    if (colors == 0 && header.bitCount <= 8) {
        colors = uint64_t(1) << header.bitCount;
    }
    return end + colors * (header.infoSize == kCoreHeaderBytes ? 3 : 4);
}

// Compressed pixels take the size the header states; plain rows are padded to four bytes.
bool PixelsFit(const BitmapHeader& header, uint64_t available) {
    if (header.compression == kCompressionRle8 || header.compression == kCompressionRle4) {
        return header.imageSize != 0 && header.imageSize <= available;
    }
    const uint64_t rowBytes = (uint64_t(header.width) * header.bitCount + 31) / 32 * 4;
    const uint64_t rows = header.height < 0 ? uint64_t(-header.height) : uint64_t(header.height);
    return rows <= available / rowBytes;
}

} // namespace

bool IsWholeBitmapFile(const uint8_t* head, size_t headSize, uint64_t fileSize) {
    BitmapHeader header;
    if (headSize > fileSize || !ReadHeader(head, headSize, header) || !IsKnownFormat(header)) {
        return false;
    }
    const uint64_t tablesEnd = TablesEnd(header);
    return tablesEnd <= header.pixelOffset && header.pixelOffset <= fileSize &&
           PixelsFit(header, fileSize - header.pixelOffset);
}
