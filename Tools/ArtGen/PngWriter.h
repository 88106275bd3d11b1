#pragma once

#include "ByteWriter.h"
#include "Image.h"

namespace artgen {

// A PNG file of the picture: 8-bit RGBA, kTransparent pixels fully transparent, compressed
// with fixed Huffman codes and matches one pixel to the left or one row above, which is what
// pictures scaled up from pixel art repeat.
Bytes encodePng(const Image& picture);

} // namespace artgen
