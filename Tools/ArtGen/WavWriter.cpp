#include "WavWriter.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace {

constexpr std::uint16_t kPcmFormat = 1;
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint16_t kBytesPerFrame = kChannels * kBitsPerSample / 8;

std::int16_t toPcm(double sample) {
    const double clipped = std::clamp(sample, -1.0, 1.0);
    return static_cast<std::int16_t>(std::lround(clipped * 32767.0));
}

} // namespace

Bytes encodeWav(const std::vector<double>& samples, int sampleRate) {
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * kBytesPerFrame);
    ByteWriter out;
    out.tag("RIFF");
    out.u32(4 + 8 + 16 + 8 + dataSize); // "WAVE", the fmt chunk, the data chunk
    out.tag("WAVE");
    out.tag("fmt ");
    out.u32(16);
    out.u16(kPcmFormat);
    out.u16(kChannels);
    out.u32(static_cast<std::uint32_t>(sampleRate));
    out.u32(static_cast<std::uint32_t>(sampleRate) * kBytesPerFrame);
    out.u16(kBytesPerFrame);
    out.u16(kBitsPerSample);
    out.tag("data");
    out.u32(dataSize);
    for (double sample : samples) {
        out.i16(toPcm(sample));
    }
    return out.bytes();
}

} // namespace artgen
