#pragma once

#include <cstdint>
#include <vector>

namespace artgen {

struct Rgb {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;

    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

// The game treats this colour as "see-through" when it draws a sprite.
constexpr Rgb kTransparent{255, 255, 0};

// A true-colour picture whose pixels equal to kTransparent are not part of it.
class Image {
public:
    Image(int width, int height, Rgb fill = kTransparent);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const;
    void set(int x, int y, Rgb colour);
    bool isTransparent(int x, int y) const { return at(x, y) == kTransparent; }

    // Copies the opaque pixels of `picture` with its top-left corner at (left, top).
    void draw(const Image& picture, int left, int top);
    Image scaled(int factor) const;

private:
    int index(int x, int y) const;

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

} // namespace artgen
