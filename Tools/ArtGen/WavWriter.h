#pragma once

#include "ByteWriter.h"

#include <vector>

namespace artgen {

// A RIFF WAVE file of 16-bit mono PCM. Samples run from -1 to 1; louder ones are clipped.
Bytes encodeWav(const std::vector<double>& samples, int sampleRate);

} // namespace artgen
