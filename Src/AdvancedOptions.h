// The platform-free half of the Advanced Options dialog: how settings map to its controls and
// how the text of an edit box becomes a number.
#pragma once

#include <cstddef>
#include <cstdint>

// The three "Allow teleport onto:" check boxes.
struct TeleportBoxes {
    bool robots;
    bool heaps;
    bool adjacent;
};

TeleportBoxes TeleportRuleToBoxes(int16_t rule);
int16_t TeleportRuleFromBoxes(TeleportBoxes boxes);

// The Last Stand speed radio buttons: normal, 4x, untimed.
enum LastStandSpeed { kLastStandNormal, kLastStandFast, kLastStandUntimed };
LastStandSpeed LastStandSpeedOf(uint8_t fast, uint8_t untimed);

constexpr size_t kEditTextSize = 16;
// Reads at most 14 characters as a signed decimal number (blanks, a sign, digits; anything else
// ends it, no digits gives 0, the signed 32-bit range saturates) and keeps its low 16 bits.
int16_t ReadEditNumber(const char* text);
void FormatEditNumber(int32_t value, char (&text)[kEditTextSize]);
