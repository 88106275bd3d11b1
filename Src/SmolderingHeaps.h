// Smoldering scrap heaps: while the board is idle every heap steps through the three smoldering
// frames of the sprite image. The frames follow the tick count, so a heap resumes where it left
// off after an action; each heap is offset by its variant, so that neighbouring heaps do not
// pulse together.
#pragma once

#include <cstdint>

constexpr int kNumSmolderFrames = 3;
constexpr uint32_t kSmolderFrameMs = 250;

// The frame (0..2) that a heap of `variant` shows at tick `tickMs`.
constexpr int SmolderFrame(uint8_t variant, uint32_t tickMs) {
    return static_cast<int>((variant + tickMs / kSmolderFrameMs) % kNumSmolderFrames);
}

// Milliseconds from tick `tickMs` until the heaps show their next frame (1..kSmolderFrameMs).
constexpr uint32_t MsUntilNextSmolderFrame(uint32_t tickMs) {
    return kSmolderFrameMs - tickMs % kSmolderFrameMs;
}
