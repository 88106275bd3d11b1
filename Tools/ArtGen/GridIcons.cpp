#include "GridIcons.h"

#include "BmpWriter.h"

namespace artgen {

namespace {

constexpr int kIconSize = 16;
constexpr Rgb kGrey{128, 128, 128};

struct DottedLine {
    Rgb colour;
    int spacing;
};

// The dots keep the same rhythm across neighbouring squares, so the lines on the board run
// on evenly.
bool isDot(int x, int y, int spacing) {
    return (x + y) % spacing == 0;
}

void drawGridIcon(Image& strip, int left, DottedLine line) {
    const int right = kIconSize - 1;
    for (int i = 0; i < kIconSize; ++i) {
        if (isDot(i, 0, line.spacing)) {
            strip.set(left + i, 0, line.colour);
        }
        if (isDot(right, i, line.spacing)) {
            strip.set(left + right, i, line.colour);
        }
    }
}

} // namespace

Image gridIcons() {
    const DottedLine lines[] = {{kBlack, 2}, {kGrey, 2}, {kWhite, 2}, {kGrey, 4}, {kWhite, 4}};
    Image strip(kIconSize * 5, kIconSize);
    int left = 0;
    for (const DottedLine& line : lines) {
        drawGridIcon(strip, left, line);
        left += kIconSize;
    }
    return strip;
}

} // namespace artgen
