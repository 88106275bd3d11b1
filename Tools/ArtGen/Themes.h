#pragma once

#include "Palette.h"

namespace artgen {

// Colours for one sprite sheet. The sheet stores every picture twice: once in `main` and once in
// `variant` (darker arrows, deeper flames).
struct SpriteTheme {
    Palette main;
    Palette variant;
};

// Steel robots for the light green board; also the sheet built into the program.
SpriteTheme classicTheme();
// Black ink on paper, for the plain white board.
SpriteTheme inkTheme();
// Brass robots and bright clothes, for the light green board.
SpriteTheme brightTheme();

} // namespace artgen
