#pragma once

#include <cstdint>

namespace artgen {

// A small fixed-seed generator (xorshift32). Its sequence is the same on every compiler and
// library, which the standard distributions do not promise.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9u : seed) {}

    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 8) / 16777216.0; }

    // Uniform in [-1, 1).
    double signedUnit() { return unit() * 2.0 - 1.0; }

private:
    std::uint32_t state_;
};

} // namespace artgen
