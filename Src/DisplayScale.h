// The whole-number factor by which the frame is shown on screens of more than 96 dots per inch,
// so that every pixel of the board becomes an exact square block.
#pragma once

// The frame every picture of the game is composed in, and the status line's strip at its
// foot, below the board.
#define WINDOW_WIDTH 496
#define WINDOW_HEIGHT 322
constexpr int kStatusStripTop = 292;

// The dots per inch of a screen at 100 %.
constexpr int kBaseDpi = 96;

// The whole number nearest to dpi / 96, at least 1, made smaller while a window of the frame's
// size times the factor, plus `extraWidth` x `extraHeight` of caption, menu and border, would
// not fit a work area of `workWidth` x `workHeight`.
int ChooseDisplayScale(int dpi, int frameWidth, int frameHeight, int extraWidth, int extraHeight,
                       int workWidth, int workHeight);

// A window coordinate in frame pixels: the block of `scale` pixels it lies in, also left of
// and above the window.
int ToFramePixel(int windowPixel, int scale);

// A rectangle of the virtual screen with the dots per inch of what stands there.
struct ScreenSpan {
    int left;
    int top;
    int right;
    int bottom;
    int dpi;
};

// The monitor that a window at `window` moves onto when the system says its dots per inch
// become `dpi`: of the `count` monitors of that dpi, the one the window overlaps most, else the
// nearest; -1 when no monitor has that dpi.
int MonitorMovedTo(const ScreenSpan* monitors, int count, int dpi, const ScreenSpan& window);

// Where a window `size` long that starts at `start` starts once it lies inside the span from
// `low` to `high`: moved no farther than needed, and at `low` when it is longer than the span.
int KeepInside(int start, int size, int low, int high);
