#include "PixelGrid.h"

#include <stdexcept>

namespace artgen {

PixelGrid::PixelGrid(int width, int height)
    : width_(width), height_(height), rows_(static_cast<std::size_t>(height),
                                            std::string(static_cast<std::size_t>(width), kClear)) {}

PixelGrid PixelGrid::fromRows(const std::vector<std::string>& rows) {
    if (rows.empty()) {
        throw std::invalid_argument("pixel grid without rows");
    }
    PixelGrid grid(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (const std::string& row : rows) {
        if (row.size() != rows.front().size()) {
            throw std::invalid_argument("pixel grid rows differ in length: " + row);
        }
    }
    grid.rows_ = rows;
    return grid;
}

char PixelGrid::at(int x, int y) const {
    if (!contains(x, y)) {
        throw std::out_of_range("pixel outside the grid");
    }
    return rows_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
}

void PixelGrid::set(int x, int y, char letter) {
    if (!contains(x, y)) {
        throw std::out_of_range("pixel outside the grid");
    }
    rows_[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = letter;
}

void PixelGrid::plot(int x, int y, char letter) {
    if (contains(x, y)) {
        set(x, y, letter);
    }
}

void PixelGrid::draw(const PixelGrid& picture, int left, int top) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (!picture.isClear(x, y)) {
                plot(left + x, top + y, picture.at(x, y));
            }
        }
    }
}

PixelGrid PixelGrid::mirroredLeftRight() const {
    PixelGrid result(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            result.set(width_ - 1 - x, y, at(x, y));
        }
    }
    return result;
}

PixelGrid PixelGrid::mirroredTopBottom() const {
    PixelGrid result(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            result.set(x, height_ - 1 - y, at(x, y));
        }
    }
    return result;
}

PixelGrid PixelGrid::transposed() const {
    PixelGrid result(height_, width_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            result.set(y, x, at(x, y));
        }
    }
    return result;
}

namespace {

bool touchesPicture(const PixelGrid& grid, int x, int y) {
    const int offsets[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& offset : offsets) {
        const int nx = x + offset[0];
        const int ny = y + offset[1];
        if (grid.contains(nx, ny) && !grid.isClear(nx, ny)) {
            return true;
        }
    }
    return false;
}

} // namespace

PixelGrid PixelGrid::outlined(char letter) const {
    PixelGrid result = *this;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (isClear(x, y) && touchesPicture(*this, x, y)) {
                result.set(x, y, letter);
            }
        }
    }
    return result;
}

} // namespace artgen
