#pragma once

#include "PixelGrid.h"

#include <vector>

namespace artgen {

// Animation frames are taller than a board square: the square is rows 1-16 of the frame, which
// leaves room above and below for flames that spill over.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 20;
constexpr int kSquareTopInFrame = 1;

constexpr int kSmolderFrameCount = 3;
constexpr int kPlayerDeathFrameCount = 8;

// A robot bursting; the last frame is the finished scrap heap.
std::vector<PixelGrid> explosionFrames();
// Square-sized scrap heaps giving off a wisp of smoke.
std::vector<PixelGrid> smolderFrames();
// The player crumbling to dust; the last frame is what is left.
std::vector<PixelGrid> playerDeathFrames();

} // namespace artgen
