#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

using Bytes = std::vector<std::uint8_t>;

// Appends little-endian fields, as every Windows file header stores them.
class ByteWriter {
public:
    void u8(std::uint8_t value);
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void i16(std::int16_t value);
    void i32(std::int32_t value);
    void tag(const std::string& fourCharacters);
    void zeros(std::size_t count);

    std::size_t size() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }

private:
    Bytes bytes_;
};

} // namespace artgen
