#pragma once

#include "ByteWriter.h"
#include "Image.h"

namespace artgen {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// An uncompressed 24-bit Windows bitmap, rows stored bottom-up.
Bytes encodeBmp24(const Image& image);
// An uncompressed 1-bit Windows bitmap with the palette black, white. The image may hold only
// those two colours.
Bytes encodeBmp1(const Image& image);

} // namespace artgen
