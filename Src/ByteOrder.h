// Little-endian field access for the stored records, independent of the host's byte order.
#pragma once

#include <cstddef>
#include <cstdint>

class CByteWriter {
public:
    explicit CByteWriter(uint8_t* out) : m_out(out) {}
    void U8(uint8_t v) { m_out[m_pos++] = v; }
    void U16(uint16_t v) {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Bytes(const void* data, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            U8(static_cast<const uint8_t*>(data)[i]);
        }
    }
    size_t Position() const { return m_pos; }

private:
    uint8_t* m_out;
    size_t m_pos = 0;
};

class CByteReader {
public:
    explicit CByteReader(const uint8_t* in) : m_in(in) {}
    uint8_t U8() { return m_in[m_pos++]; }
    uint16_t U16() {
        uint16_t low = U8();
        return static_cast<uint16_t>(low | (U8() << 8));
    }
    uint32_t U32() {
        uint32_t low = U16();
        return low | (static_cast<uint32_t>(U16()) << 16);
    }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    void Bytes(void* data, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            static_cast<uint8_t*>(data)[i] = U8();
        }
    }
    size_t Position() const { return m_pos; }

private:
    const uint8_t* m_in;
    size_t m_pos = 0;
};
