#pragma once

#include "Image.h"

namespace artgen {

// The program's icon: the robot of 16 x 16 pixels, its pixels grown to blocks so that it is
// `side` pixels wide (a multiple of 16).
Image robotIcon(int side);

} // namespace artgen
