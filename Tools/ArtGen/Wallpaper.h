#pragma once

#include "Image.h"

namespace artgen {

constexpr int kWallpaperSize = 64;

// A quiet, seamlessly tiling texture in pale green for behind the board.
Image wallpaper();

} // namespace artgen
