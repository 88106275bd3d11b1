#include "AdvancedOptions.h"

#include "TextUtil.h"

#include <cstdio>

TeleportBoxes TeleportRuleToBoxes(int16_t rule) {
    switch (rule) {
    case 1:
        return {true, false, true};
    case 2:
        return {false, true, true};
    case 3:
        return {true, true, true};
    case 5:
        return {false, false, false};
    default: // 4, and values the dialog cannot show, which it reads back as 4
        return {false, false, true};
    }
}

int16_t TeleportRuleFromBoxes(TeleportBoxes boxes) {
    if (!boxes.adjacent) {
        return 5;
    }
    if (boxes.robots && boxes.heaps) {
        return 3;
    }
    if (boxes.robots) {
        return 1;
    }
    return boxes.heaps ? 2 : 4;
}

LastStandSpeed LastStandSpeedOf(uint8_t fast, uint8_t untimed) {
    if (fast != 0) {
        return kLastStandFast;
    }
    return untimed != 0 ? kLastStandUntimed : kLastStandNormal;
}

int16_t ReadEditNumber(const char* text) {
    char cut[15];
    CopyBounded(cut, sizeof cut, text);
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(ParseSigned32(cut))));
}

void FormatEditNumber(int32_t value, char (&text)[kEditTextSize]) {
    char formatted[kEditTextSize + 8];
    std::snprintf(formatted, sizeof formatted, "%ld", static_cast<long>(value));
    CopyBounded(text, sizeof text, formatted);
}
