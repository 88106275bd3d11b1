#pragma once

#include "ByteWriter.h"
#include "Image.h"

#include <vector>

namespace artgen {

// A Windows icon file with one 32-bit image per picture: colour with alpha plus the AND mask
// older Windows versions read, or at 256 pixels a PNG. kTransparent pixels become fully
// transparent. Pictures must be square and at most 256 pixels wide.
Bytes encodeIco(const std::vector<Image>& pictures);

} // namespace artgen
