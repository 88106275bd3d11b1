#include "PngWriter.h"

#include <array>
#include <string>

namespace artgen {

namespace {

constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 258;
constexpr int kBytesPerPixel = 4;

// The bytes PNG compresses: each row a filter byte (0, none) and its pixels.
Bytes scanlines(const Image& picture) {
    Bytes raw;
    for (int y = 0; y < picture.height(); ++y) {
        raw.push_back(0);
        for (int x = 0; x < picture.width(); ++x) {
            const bool clear = picture.isTransparent(x, y);
            const Rgb colour = clear ? Rgb{0, 0, 0} : picture.at(x, y);
            raw.insert(raw.end(), {colour.r, colour.g, colour.b, std::uint8_t(clear ? 0 : 255)});
        }
    }
    return raw;
}

// Deflate's bit stream: fields from the least significant bit, Huffman codes from the most.
class BitWriter {
public:
    void bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            put((value >> i) & 1);
        }
    }
    void code(std::uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i) {
            put((value >> i) & 1);
        }
    }
    Bytes finish() {
        if (used_ != 0) {
            bytes_.push_back(current_);
        }
        return bytes_;
    }

private:
    void put(std::uint32_t bit) {
        current_ = static_cast<std::uint8_t>(current_ | (bit << used_));
        if (++used_ == 8) {
            bytes_.push_back(current_);
            current_ = 0;
            used_ = 0;
        }
    }

    Bytes bytes_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

// The fixed literal/length code of a symbol 0..287.
void writeSymbol(BitWriter& out, int symbol) {
    if (symbol < 144) {
        out.code(0x30 + symbol, 8);
    } else if (symbol < 256) {
        out.code(0x190 + symbol - 144, 9);
    } else if (symbol < 280) {
        out.code(symbol - 256, 7);
    } else {
        out.code(0xC0 + symbol - 280, 8);
    }
}

// A length or distance as its code (from `firstCode`), counting up through the bases.
void writeRanged(BitWriter& out, int value, const int* bases, const int* extras, int count,
                 int firstCode, bool distance) {
    int index = count - 1;
    while (bases[index] > value) {
        --index;
    }
    if (distance) {
        out.code(static_cast<std::uint32_t>(index), 5);
    } else {
        writeSymbol(out, firstCode + index);
    }
    out.bits(static_cast<std::uint32_t>(value - bases[index]), extras[index]);
}

constexpr int kLengthBases[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtras[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistanceBases[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                  33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                  1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistanceExtras[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                   6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

int matchLength(const Bytes& data, std::size_t at, std::size_t distance) {
    if (distance > at) {
        return 0;
    }
    int length = 0;
    while (length < kMaxMatch && at + length < data.size() &&
           data[at + length] == data[at + length - distance]) {
        ++length;
    }
    return length;
}

// One final block with the fixed codes.
Bytes deflate(const Bytes& data, std::size_t rowBytes) {
    BitWriter out;
    out.bits(1, 1); // final block
    out.bits(1, 2); // fixed Huffman codes
    const std::array<std::size_t, 2> distances = {kBytesPerPixel, rowBytes};
    for (std::size_t at = 0; at < data.size();) {
        int best = 0;
        std::size_t bestDistance = 0;
        for (const std::size_t distance : distances) {
            const int length = matchLength(data, at, distance);
            if (length > best) {
                best = length;
                bestDistance = distance;
            }
        }
        if (best >= kMinMatch) {
            writeRanged(out, best, kLengthBases, kLengthExtras, 29, 257, false);
            writeRanged(out, static_cast<int>(bestDistance), kDistanceBases, kDistanceExtras, 30, 0,
                        true);
            at += static_cast<std::size_t>(best);
        } else {
            writeSymbol(out, data[at]);
            ++at;
        }
    }
    writeSymbol(out, 256); // end of block
    return out.finish();
}

std::uint32_t adler32(const Bytes& data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::uint32_t crc32(const Bytes& data, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = from; i < data.size(); ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
        }
    }
    return ~crc;
}

void putBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void putChunk(Bytes& out, const std::string& type, const Bytes& content) {
    putBigEndian(out, static_cast<std::uint32_t>(content.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), content.begin(), content.end());
    putBigEndian(out, crc32(out, typeStart));
}

} // namespace

Bytes encodePng(const Image& picture) {
    Bytes header;
    putBigEndian(header, static_cast<std::uint32_t>(picture.width()));
    putBigEndian(header, static_cast<std::uint32_t>(picture.height()));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace

    const Bytes raw = scanlines(picture);
    Bytes compressed = {0x78, 0x01}; // zlib: deflate, 32 KiB window, no dictionary
    const Bytes body = deflate(raw, static_cast<std::size_t>(picture.width()) * kBytesPerPixel + 1);
    compressed.insert(compressed.end(), body.begin(), body.end());
    putBigEndian(compressed, adler32(raw));

    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", compressed);
    putChunk(out, "IEND", {});
    return out;
}

} // namespace artgen
