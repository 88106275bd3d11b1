#pragma once

#include "Image.h"

namespace artgen {

// Black-and-white pictures for beside the paragraphs of the How to Play picture. Their
// background is white.
Image chasingRobotPicture();
Image scrapHeapPicture();
Image teleportPicture();
Image screwdriverPicture();
Image movesPicture();
Image keyPicture(char letter);
Image robotCrowdPicture();

} // namespace artgen
