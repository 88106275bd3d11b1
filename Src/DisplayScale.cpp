#include "DisplayScale.h"

#include <algorithm>

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

namespace {

// How far apart two spans are, squared: 0 when they touch or overlap.
long long SquaredGap(const ScreenSpan& a, const ScreenSpan& b) {
    const long long dx = std::max({0, b.left - a.right, a.left - b.right});
    const long long dy = std::max({0, b.top - a.bottom, a.top - b.bottom});
    return dx * dx + dy * dy;
}

long long OverlapArea(const ScreenSpan& a, const ScreenSpan& b) {
    const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

} // namespace

int MonitorMovedTo(const ScreenSpan* monitors, int count, int dpi, const ScreenSpan& window) {
    int chosen = -1;
    for (int i = 0; i < count; ++i) {
        if (monitors[i].dpi != dpi) {
            continue;
        }
        if (chosen < 0) {
            chosen = i;
            continue;
        }
        const long long overlap = OverlapArea(monitors[i], window);
        const long long chosenOverlap = OverlapArea(monitors[chosen], window);
        if (overlap > chosenOverlap ||
            (overlap == chosenOverlap &&
             SquaredGap(monitors[i], window) < SquaredGap(monitors[chosen], window))) {
            chosen = i;
        }
    }
    return chosen;
}

int KeepInside(int start, int size, int low, int high) {
    if (start + size > high) {
        start = high - size;
    }
    return start < low ? low : start;
}
