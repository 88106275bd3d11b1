#pragma once

#include "PixelGrid.h"

namespace artgen {

// Letters shared by all pixel art; each theme gives them colours.
//   k  outline / ink          l m d  light, middle and dark metal   e  robot eyes
//   a  antenna lamp           h  hair   s  skin   c  shirt   p  trousers   b  boots
//   f  arrow fill             n  arrow edge
//   w  white-hot   y  flame   o  orange flame   r  red flame   v  light smoke   x  dark smoke
//   u  rust        t  ash

// The eight move directions, in the order the sprite sheet stores their arrows.
enum class Direction { NorthWest, North, NorthEast, West, East, SouthWest, South, SouthEast };

constexpr int kSpriteSize = 16;

PixelGrid robotSprite();
PixelGrid playerSprite();
PixelGrid arrowSprite(Direction direction);
PixelGrid scrapHeapSprite();

} // namespace artgen
