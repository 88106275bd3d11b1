#pragma once

#include "Image.h"

namespace artgen {

// Five square outlines the game draws in every board square to show the grid: dotted lines
// along the top and right edges in black, grey and white every second pixel, then grey and
// white every fourth pixel.
Image gridIcons();

} // namespace artgen
