#include "Image.h"

#include <stdexcept>

namespace artgen {

Image::Image(int width, int height, Rgb fill)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {
    if (width <= 0 || height <= 0) {
        throw std::invalid_argument("image size must be positive");
    }
}

int Image::index(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        throw std::out_of_range("pixel outside the image");
    }
    return y * width_ + x;
}

Rgb Image::at(int x, int y) const {
    return pixels_[static_cast<std::size_t>(index(x, y))];
}

void Image::set(int x, int y, Rgb colour) {
    pixels_[static_cast<std::size_t>(index(x, y))] = colour;
}

void Image::draw(const Image& picture, int left, int top) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (!picture.isTransparent(x, y)) {
                set(left + x, top + y, picture.at(x, y));
            }
        }
    }
}

Image Image::scaled(int factor) const {
    Image result(width_ * factor, height_ * factor);
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            result.set(x, y, at(x / factor, y / factor));
        }
    }
    return result;
}

} // namespace artgen
