#include "GifWriter.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeWidth = 12;
constexpr int kDisposalKeep = 1;

// Codes packed least significant bit first into sub-blocks of up to 255 bytes.
class CCodePacker {
public:
    explicit CCodePacker(std::vector<uint8_t>& out) : m_out(out) {}

    void Put(int code, int width) {
        m_bits |= static_cast<uint32_t>(code) << m_bitCount;
        m_bitCount += width;
        while (m_bitCount >= 8) {
            PutByte(static_cast<uint8_t>(m_bits));
            m_bits >>= 8;
            m_bitCount -= 8;
        }
    }

    void Close() {
        if (m_bitCount > 0) {
            PutByte(static_cast<uint8_t>(m_bits));
        }
        FlushBlock();
        m_out.push_back(0);
    }

private:
    void PutByte(uint8_t byte) {
        m_block[m_blockSize++] = byte;
        if (m_blockSize == 255) {
            FlushBlock();
        }
    }

    void FlushBlock() {
        if (m_blockSize > 0) {
            m_out.push_back(static_cast<uint8_t>(m_blockSize));
            m_out.insert(m_out.end(), m_block, m_block + m_blockSize);
            m_blockSize = 0;
        }
    }

    std::vector<uint8_t>& m_out;
    uint32_t m_bits = 0;
    int m_bitCount = 0;
    uint8_t m_block[255] = {};
    int m_blockSize = 0;
};

} // namespace

// No longer string has the code 0: that is the one-index string of index 0. A reset clears
// only the rows of the one-index strings; every other row is cleared when its code is handed out.
void CGifLzw::Append(const std::vector<uint8_t>& indices, int codeBits, std::vector<uint8_t>& out) {
    const int alphabet = 1 << codeBits;
    const int clearCode = alphabet;
    const int endCode = clearCode + 1;
    m_next.resize(std::max(m_next.size(), static_cast<size_t>(kMaxCodes) * alphabet));
    out.push_back(static_cast<uint8_t>(codeBits));
    CCodePacker packer(out);
    int width = codeBits + 1;
    int nextCode = endCode + 1;
    auto reset = [&] {
        std::fill(m_next.begin(), m_next.begin() + static_cast<size_t>(alphabet) * alphabet, 0);
        width = codeBits + 1;
        nextCode = endCode + 1;
    };
    packer.Put(clearCode, width);
    reset();
    int prefix = indices.empty() ? -1 : indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        uint16_t& longer = m_next[static_cast<size_t>(prefix) * alphabet + indices[i]];
        if (longer != 0) {
            prefix = longer;
            continue;
        }
        packer.Put(prefix, width);
        const int code = nextCode++;
        longer = static_cast<uint16_t>(code);
        std::fill_n(m_next.begin() + static_cast<std::ptrdiff_t>(code) * alphabet, alphabet, 0);
        // The decoder learns each code one code later, and widens when it has handed out the
        // last code of the current width: the same moment as this.
        if (code >= (1 << width) && width < kMaxCodeWidth) {
            ++width;
        }
        if (code == kMaxCodes - 1) {
            packer.Put(clearCode, width);
            reset();
        }
        prefix = indices[i];
    }
    if (prefix >= 0) {
        packer.Put(prefix, width);
    }
    packer.Put(endCode, width);
    packer.Close();
}

CGifWriter::CGifWriter(int width, int height, int scale, const std::vector<uint32_t>& palette)
    : m_width(width), m_height(height), m_scale(scale), m_codeBits(2),
      m_transparentIndex(static_cast<uint8_t>(palette.size())) {
    while ((1u << m_codeBits) < palette.size() + 1) {
        ++m_codeBits;
    }
    const char header[] = "GIF89a";
    m_bytes.assign(header, header + 6);
    U16(width * scale);
    U16(height * scale);
    m_bytes.push_back(static_cast<uint8_t>(0x80 | (m_codeBits - 1) << 4 | (m_codeBits - 1)));
    m_bytes.push_back(0); // background colour index
    m_bytes.push_back(0); // square pixels
    for (int i = 0; i < 1 << m_codeBits; ++i) {
        const uint32_t rgb = i < static_cast<int>(palette.size()) ? palette[i] : 0;
        m_bytes.push_back(static_cast<uint8_t>(rgb >> 16));
        m_bytes.push_back(static_cast<uint8_t>(rgb >> 8));
        m_bytes.push_back(static_cast<uint8_t>(rgb));
    }
    // The application extension that makes viewers play the frames over and over.
    const uint8_t loop[] = {0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P',
                            'E',  '2',  '.', '0', 3,   1,   0,   0,   0};
    m_bytes.insert(m_bytes.end(), loop, loop + sizeof loop);
}

void CGifWriter::U16(int value) {
    m_bytes.push_back(static_cast<uint8_t>(value));
    m_bytes.push_back(static_cast<uint8_t>(value >> 8));
}

// The smallest rectangle holding every pixel that differs from the previous frame; one pixel
// when none does, since every frame must hold a picture to carry its delay.
CGifWriter::Area CGifWriter::ChangedArea(const std::vector<uint8_t>& frame) const {
    Area area = {m_width, m_height, 0, 0};
    for (int y = 0; y < m_height; ++y) {
        const uint8_t* row = frame.data() + static_cast<size_t>(y) * m_width;
        const uint8_t* before = m_previous.data() + static_cast<size_t>(y) * m_width;
        if (std::memcmp(row, before, m_width) == 0) {
            continue;
        }
        area.top = std::min(area.top, y);
        area.bottom = y + 1;
        int left = 0;
        while (row[left] == before[left]) {
            ++left;
        }
        int right = m_width;
        while (row[right - 1] == before[right - 1]) {
            --right;
        }
        area.left = std::min(area.left, left);
        area.right = std::max(area.right, right);
    }
    return area.right == 0 ? Area{0, 0, 1, 1} : area;
}

void CGifWriter::WriteFrameHeader(const Area& area, int delayMs, bool transparent) {
    const int hundredths = std::max(2, (delayMs + 5) / 10);
    const uint8_t control[] = {0x21, 0xF9, 4,
                               static_cast<uint8_t>(kDisposalKeep << 2 | (transparent ? 1 : 0))};
    m_bytes.insert(m_bytes.end(), control, control + sizeof control);
    U16(std::min(hundredths, 0xFFFF));
    m_bytes.push_back(m_transparentIndex);
    m_bytes.push_back(0);
    m_bytes.push_back(0x2C);
    U16(area.left * m_scale);
    U16(area.top * m_scale);
    U16((area.right - area.left) * m_scale);
    U16((area.bottom - area.top) * m_scale);
    m_bytes.push_back(0); // no colour table of its own, not interlaced
}

void CGifWriter::WritePixels(const std::vector<uint8_t>& frame, const Area& area,
                             bool transparent) {
    std::vector<uint8_t> indices;
    indices.reserve(static_cast<size_t>(area.right - area.left) * (area.bottom - area.top) *
                    m_scale * m_scale);
    for (int y = area.top; y < area.bottom; ++y) {
        const size_t rowStart = indices.size();
        for (int x = area.left; x < area.right; ++x) {
            const size_t at = static_cast<size_t>(y) * m_width + x;
            const uint8_t index =
                transparent && frame[at] == m_previous[at] ? m_transparentIndex : frame[at];
            indices.insert(indices.end(), static_cast<size_t>(m_scale), index);
        }
        for (int copy = 1; copy < m_scale; ++copy) {
            indices.insert(indices.end(), indices.begin() + static_cast<std::ptrdiff_t>(rowStart),
                           indices.begin() + static_cast<std::ptrdiff_t>(rowStart) +
                               (area.right - area.left) * m_scale);
        }
    }
    m_lzw.Append(indices, m_codeBits, m_bytes);
}

void CGifWriter::AddFrame(const std::vector<uint8_t>& frame, int delayMs) {
    const bool first = m_frameCount == 0;
    const Area area = first ? Area{0, 0, m_width, m_height} : ChangedArea(frame);
    WriteFrameHeader(area, delayMs, !first);
    WritePixels(frame, area, !first);
    m_previous = frame;
    ++m_frameCount;
}

const std::vector<uint8_t>& CGifWriter::Finish() {
    if (!m_finished) {
        m_bytes.push_back(0x3B);
        m_finished = true;
    }
    return m_bytes;
}
