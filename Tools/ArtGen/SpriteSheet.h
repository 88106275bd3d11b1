#pragma once

#include "Image.h"
#include "Themes.h"

namespace artgen {

constexpr int kSheetWidth = 160;
constexpr int kSheetHeight = 120;

// The game's sprite sheet: arrows, robot and player; robot explosions with scrap heaps; player
// deaths. Each group is stored twice, the second time in the theme's variant colours.
Image spriteSheet(const SpriteTheme& theme);

} // namespace artgen
