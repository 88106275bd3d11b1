#pragma once

#include "Image.h"

namespace artgen {

// The program's icon: the robot at 16 x 16 pixels and doubled up at 32 x 32.
Image smallRobotIcon();
Image largeRobotIcon();

} // namespace artgen
