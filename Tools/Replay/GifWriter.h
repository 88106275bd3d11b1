// An animated GIF built in memory: one palette for every frame, and of each frame only the
// rectangle that changed, its unchanged pixels left transparent, so that a long game stays small.
#pragma once

#include <cstdint>
#include <vector>

// LZW as the format packs it: variable-width codes from 3 to 12 bits, least significant bit
// first, in sub-blocks of at most 255 bytes.
class CGifLzw {
public:
    // Appends `indices` packed, with the format's minimum code size `codeBits`.
    void Append(const std::vector<uint8_t>& indices, int codeBits, std::vector<uint8_t>& out);

private:
    // For each code and next index, the longer string's code, 0 for none. Kept from call to
    // call: rows are cleared as their codes are handed out, never the whole table.
    std::vector<uint16_t> m_next;
};

class CGifWriter {
public:
    // Frames are `width` x `height` palette indices, rows from the top; each frame pixel is
    // stored as a `scale` x `scale` block. The palette (0x00RRGGBB) holds at most 255 colours:
    // the next index is the transparent one.
    CGifWriter(int width, int height, int scale, const std::vector<uint32_t>& palette);

    // Appends a frame shown for `delayMs` (kept to the format's hundredths of a second).
    void AddFrame(const std::vector<uint8_t>& frame, int delayMs);
    // The trailer once, then the whole file.
    const std::vector<uint8_t>& Finish();
    int FrameCount() const { return m_frameCount; }

private:
    struct Area {
        int left, top, right, bottom;
    };
    Area ChangedArea(const std::vector<uint8_t>& frame) const;
    void WriteFrameHeader(const Area& area, int delayMs, bool transparent);
    void WritePixels(const std::vector<uint8_t>& frame, const Area& area, bool transparent);
    void U16(int value);

    int m_width;
    int m_height;
    int m_scale;
    int m_codeBits;
    uint8_t m_transparentIndex;
    int m_frameCount = 0;
    bool m_finished = false;
    std::vector<uint8_t> m_previous;
    std::vector<uint8_t> m_bytes;
    CGifLzw m_lzw;
};
