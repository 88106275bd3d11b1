#include "Palette.h"

#include <stdexcept>
#include <string>

namespace artgen {

Palette::Palette(std::initializer_list<std::pair<const char, Rgb>> colours) {
    for (const auto& [letter, colour] : colours) {
        define(letter, colour);
    }
}

void Palette::define(char letter, Rgb colour) {
    if (letter == kClear || colour == kTransparent) {
        throw std::invalid_argument(std::string("letter '") + letter +
                                    "' would be drawn in the transparent colour");
    }
    colours_[letter] = colour;
}

Palette Palette::with(char letter, Rgb colour) const {
    Palette copy = *this;
    copy.define(letter, colour);
    return copy;
}

Rgb Palette::colourOf(char letter) const {
    if (letter == kClear) {
        return kTransparent;
    }
    const auto found = colours_.find(letter);
    if (found == colours_.end()) {
        throw std::invalid_argument(std::string("no colour for letter '") + letter + "'");
    }
    return found->second;
}

Image Palette::paint(const PixelGrid& grid) const {
    Image image(grid.width(), grid.height());
    for (int y = 0; y < grid.height(); ++y) {
        for (int x = 0; x < grid.width(); ++x) {
            image.set(x, y, colourOf(grid.at(x, y)));
        }
    }
    return image;
}

} // namespace artgen
