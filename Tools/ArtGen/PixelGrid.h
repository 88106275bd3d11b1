#pragma once

#include <string>
#include <vector>

namespace artgen {

// A pixel of a grid that is left out of the picture.
constexpr char kClear = '.';

// Pixel art as a grid of letters; a Palette later turns each letter into a colour.
class PixelGrid {
public:
    PixelGrid(int width, int height);
    // Every row must have the same length.
    static PixelGrid fromRows(const std::vector<std::string>& rows);

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    char at(int x, int y) const;
    bool isClear(int x, int y) const { return at(x, y) == kClear; }
    void set(int x, int y, char letter);
    // Like set(), but pixels that fall outside the grid are dropped.
    void plot(int x, int y, char letter);

    // Copies the non-clear pixels of `picture` with its top-left corner at (left, top); pixels that
    // fall outside this grid are dropped.
    void draw(const PixelGrid& picture, int left, int top);
    PixelGrid mirroredLeftRight() const;
    PixelGrid mirroredTopBottom() const;
    PixelGrid transposed() const;
    // Surrounds the picture with `letter` wherever a clear pixel touches it side-on.
    PixelGrid outlined(char letter) const;

private:
    int width_;
    int height_;
    std::vector<std::string> rows_;
};

} // namespace artgen
