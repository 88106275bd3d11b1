#pragma once

#include "Image.h"

namespace artgen {

constexpr int kHelpWidth = 504;
constexpr int kHelpHeight = 283;

// The How to Play picture: black text and small pictures on white, in two columns.
Image helpPicture();

} // namespace artgen
