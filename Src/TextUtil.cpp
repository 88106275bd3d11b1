#include "TextUtil.h"

#include <cstring>

void CopyBounded(char* out, size_t size, const char* text) {
    if (size == 0) {
        return;
    }
    size_t length = text ? strnlen(text, size - 1) : 0;
    if (length > 0) {
        std::memmove(out, text, length);
    }
    std::memset(out + length, 0, size - length);
}

void AppendBounded(char* out, size_t size, const char* piece) {
    if (size == 0) {
        return;
    }
    size_t used = strnlen(out, size);
    if (used >= size - 1) {
        return;
    }
    CopyBounded(out + used, size - used, piece);
}

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

namespace {

// Reads white space, a sign and digits; the magnitude saturates at `limit`.
uint64_t ParseMagnitude(const char*& text, bool& negative, uint64_t limit) {
    while (IsCSpace(*text)) {
        ++text;
    }
    negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + static_cast<uint64_t>(*text - '0');
        if (value > limit) {
            value = limit;
        }
    }
    return value;
}

} // namespace

int32_t ParseSigned32(const char* text) {
    bool negative = false;
    uint64_t magnitude = ParseMagnitude(text, negative, uint64_t{1} << 31);
    if (negative) {
        return static_cast<int32_t>(-static_cast<int64_t>(magnitude));
    }
    return magnitude > INT32_MAX ? INT32_MAX : static_cast<int32_t>(magnitude);
}

uint32_t ParseUnsigned32(const char* text) {
    bool negative = false;
    uint64_t magnitude = ParseMagnitude(text, negative, uint64_t{UINT32_MAX} + 1);
    if (magnitude > UINT32_MAX) {
        return UINT32_MAX;
    }
    uint32_t value = static_cast<uint32_t>(magnitude);
    return negative ? 0u - value : value;
}
