#pragma once

#include "Image.h"
#include "PixelGrid.h"

#include <map>
#include <utility>

namespace artgen {

// Maps the letters of pixel art to colours. kClear always maps to kTransparent.
class Palette {
public:
    Palette() = default;
    Palette(std::initializer_list<std::pair<const char, Rgb>> colours);

    // A copy with `letter` set to `colour`.
    Palette with(char letter, Rgb colour) const;
    Rgb colourOf(char letter) const;
    Image paint(const PixelGrid& grid) const;

private:
    void define(char letter, Rgb colour);

    std::map<char, Rgb> colours_;
};

} // namespace artgen
