// Any file as an image dropped into the Graphics folder: the check reads no byte beyond the head
// it is given, and a file it passes can be read the way the platform's loader reads it, taking
// its headers at their word, without a byte beyond its end. The head and the file are held in
// buffers of their exact size, so that AddressSanitizer reports any such read.
#include "BitmapFile.h"
#include "ByteOrder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

uint64_t SumOf(const uint8_t* from, uint64_t count) {
    uint64_t sum = 0;
    for (uint64_t i = 0; i < count; ++i) {
        sum += from[i];
    }
    return sum;
}

// Every byte the loader reads: the headers, the colour masks, the colour table and the pixels.
uint64_t ReadAsTheLoader(const Bytes& file) {
    const uint8_t* bytes = file.data();
    CByteReader fileHeader(bytes + 10);
    const uint32_t pixelOffset = fileHeader.U32();
    const uint32_t infoSize = fileHeader.U32();
    CByteReader info(bytes + 18);
    const bool core = infoSize == 12;
    const int64_t width = core ? info.U16() : info.I32();
    const int64_t height = core ? info.U16() : info.I32();
    info.U16(); // planes
    const uint16_t bitCount = info.U16();
    const uint32_t compression = core ? 0 : info.U32();
    const uint32_t imageSize = core ? 0 : info.U32();
    uint64_t colors = 0;
    if (!core) {
        info.U32(); // horizontal resolution
        info.U32(); // vertical resolution
        colors = info.U32();
    }
    if (colors == 0 && bitCount <= 8) {
        colors = uint64_t(1) << bitCount;
    }
    // The masks of a bit-field image stand right after the first 40 bytes of the header.
    const uint64_t masksEnd = compression == 3 ? 40 + 12 : 0;
    const uint64_t tableStart = 14 + std::max<uint64_t>(infoSize, masksEnd);
    const uint64_t sum =
        SumOf(bytes, tableStart) + SumOf(bytes + tableStart, colors * (core ? 3 : 4));
    const uint64_t rowBytes = (uint64_t(width) * bitCount + 31) / 32 * 4;
    const uint64_t rows = uint64_t(height < 0 ? -height : height);
    const bool runLength = compression == 1 || compression == 2;
    return sum + SumOf(bytes + pixelOffset, runLength ? imageSize : rowBytes * rows);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Bytes file(data, data + size);
    const Bytes head(data, data + std::min(size, kBitmapHeadBytes));
    // The parts the loader reads lie one after the other in the file: their bytes add up to no
    // more than all of its bytes.
    if (IsWholeBitmapFile(head.data(), head.size(), file.size()) &&
        ReadAsTheLoader(file) > 255 * uint64_t(file.size())) {
        std::abort();
    }
    return 0;
}
