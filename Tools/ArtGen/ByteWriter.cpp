#include "ByteWriter.h"

namespace artgen {

void ByteWriter::u8(std::uint8_t value) {
    bytes_.push_back(value);
}

void ByteWriter::u16(std::uint16_t value) {
    u8(static_cast<std::uint8_t>(value & 0xFF));
    u8(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::u32(std::uint32_t value) {
    u16(static_cast<std::uint16_t>(value & 0xFFFF));
    u16(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::i16(std::int16_t value) {
    u16(static_cast<std::uint16_t>(value));
}

void ByteWriter::i32(std::int32_t value) {
    u32(static_cast<std::uint32_t>(value));
}

void ByteWriter::tag(const std::string& fourCharacters) {
    for (char c : fourCharacters) {
        u8(static_cast<std::uint8_t>(c));
    }
}

void ByteWriter::zeros(std::size_t count) {
    bytes_.insert(bytes_.end(), count, 0);
}

} // namespace artgen
