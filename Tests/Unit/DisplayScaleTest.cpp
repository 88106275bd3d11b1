// The scale of the frame on screens of more dots per inch, and window points in frame pixels.
#include "DisplayScale.h"

#include <gtest/gtest.h>

TEST(DisplayScale, NearestWholeNumberThatFitsTheWorkAreaAndPointsInTheirBlock) {
    // dpi, work area, scale for a 496 x 322 frame with 10 x 60 pixels of border, caption, menu.
    const int cases[][4] = {{96, 1920, 1040, 1},  {0, 1920, 1040, 1},   {143, 1920, 1040, 1},
                            {144, 1920, 1040, 2}, {240, 1920, 1040, 3}, {288, 1497, 2100, 2},
                            {288, 1498, 2100, 3}, {288, 3840, 1025, 2}, {288, 3840, 1026, 3},
                            {192, 400, 300, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseDisplayScale(c[0], 496, 322, 10, 60, c[1], c[2]), c[3]) << c[0] << c[1];
    }
    // Window pixel, scale, frame pixel: also left of and above the window.
    const int points[][3] = {{5, 1, 5},   {1, 2, 0},   {2, 2, 1},   {991, 2, 495},
                             {-1, 2, -1}, {-2, 2, -1}, {-3, 2, -2}, {-4, 3, -2}};
    for (const auto& c : points) {
        EXPECT_EQ(ToFramePixel(c[0], c[1]), c[2]) << c[0] << " at scale " << c[1];
    }
}

// A window dragged from a monitor of 96 dpi across onto one of 192 or 144, beside another of 96.
TEST(DisplayScale, AMoveThatChangesTheDpiGoesOntoTheMonitorOfThatDpi) {
    const ScreenSpan monitors[] = {{0, 0, 1920, 1080, 96},
                                   {1920, 0, 3286, 768, 192},
                                   {-1920, 0, 0, 1080, 96},
                                   {0, 1080, 1920, 2160, 144},
                                   {3286, 0, 4652, 768, 192}};
    // Window, dpi, the monitor it moves onto.
    const struct {
        ScreenSpan window;
        int dpi;
        int monitor;
    } cases[] = {
        {{1500, 100, 2030, 500, 0}, 192, 1}, {{1500, 100, 2030, 500, 0}, 96, 0},
        {{3200, 100, 3730, 500, 0}, 192, 4}, {{3000, 100, 3530, 500, 0}, 192, 1},
        {{100, 900, 630, 1300, 0}, 144, 3},  {{-600, 2000, -70, 2400, 0}, 144, 3},
        {{-600, 2000, -70, 2400, 0}, 96, 2}, {{100, 100, 630, 500, 0}, 120, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MonitorMovedTo(monitors, 5, c.dpi, c.window), c.monitor)
            << "a window at (" << c.window.left << ", " << c.window.top << ") to " << c.dpi;
    }
}

TEST(DisplayScale, WindowKeptInsideTheWorkAreaMovesNoFartherThanNeeded) {
    // start, size, work area from low to high, start inside it.
    const int cases[][5] = {
        {100, 500, 0, 1024, 100},      {524, 500, 0, 1024, 524},      {600, 500, 0, 1024, 524},
        {-30, 500, 0, 1024, 0},        {300, 1100, 0, 1024, 0},       {-50, 1100, 0, 1024, 0},
        {2000, 500, 1920, 3840, 2000}, {3500, 500, 1920, 3840, 3340}, {1800, 500, 1920, 3840, 1920},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeepInside(c[0], c[1], c[2], c[3]), c[4])
            << "a window of " << c[1] << " at " << c[0] << " in " << c[2] << ".." << c[3];
    }
}
