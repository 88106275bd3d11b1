#include "DisplayScale.h"

int ChooseDisplayScale(int dpi, int frameWidth, int frameHeight, int extraWidth, int extraHeight,
                       int workWidth, int workHeight) {
    int scale = (dpi + kBaseDpi / 2) / kBaseDpi;
    while (scale > 1 && (frameWidth * scale + extraWidth > workWidth ||
                         frameHeight * scale + extraHeight > workHeight)) {
        --scale;
    }
    return scale < 1 ? 1 : scale;
}

int ToFramePixel(int windowPixel, int scale) {
    const int block = windowPixel / scale;
    return windowPixel % scale < 0 ? block - 1 : block;
}

int KeepInside(int start, int size, int low, int high) {
    if (start + size > high) {
        start = high - size;
    }
    return start < low ? low : start;
}
