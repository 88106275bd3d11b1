// How the Advanced Options dialog shows settings and reads them back.
#include "AdvancedOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(AdvancedOptions, TeleportRulesRoundTripThroughTheBoxes) {
    for (int16_t rule = 1; rule <= 5; ++rule) {
        EXPECT_EQ(TeleportRuleFromBoxes(TeleportRuleToBoxes(rule)), rule);
    }
}

TEST(AdvancedOptions, RulesTheBoxesCannotShowReadBackAsOnlyAdjacent) {
    for (int16_t rule : {0, 6, -1, 32767}) {
        const TeleportBoxes boxes = TeleportRuleToBoxes(rule);
        EXPECT_FALSE(boxes.robots);
        EXPECT_FALSE(boxes.heaps);
        EXPECT_TRUE(boxes.adjacent);
        EXPECT_EQ(TeleportRuleFromBoxes(boxes), 4);
    }
}

TEST(AdvancedOptions, WithoutAdjacentCellsTheRuleIsFive) {
    EXPECT_EQ(TeleportRuleFromBoxes({true, true, false}), 5);
    EXPECT_EQ(TeleportRuleFromBoxes({false, true, true}), 2);
}

TEST(AdvancedOptions, LastStandSpeedPrefersFast) {
    EXPECT_EQ(LastStandSpeedOf(0, 0), kLastStandNormal);
    EXPECT_EQ(LastStandSpeedOf(1, 0), kLastStandFast);
    EXPECT_EQ(LastStandSpeedOf(1, 1), kLastStandFast);
    EXPECT_EQ(LastStandSpeedOf(0, 1), kLastStandUntimed);
}

TEST(AdvancedOptions, EditNumbers) {
    EXPECT_EQ(ReadEditNumber("abc"), 0) << "letters store 0";
    EXPECT_EQ(ReadEditNumber("-3"), -3);
    EXPECT_EQ(ReadEditNumber("  +12x5"), 12);
    EXPECT_EQ(ReadEditNumber("70000"), 70000 - 65536) << "wraps modulo 65536";
    EXPECT_EQ(ReadEditNumber("32768"), -32768);
    EXPECT_EQ(ReadEditNumber("99999999999999"), -1) << "saturates at 2^31 - 1, low bits 0xFFFF";
    EXPECT_EQ(ReadEditNumber("-99999999999999"), 0) << "saturates at -2^31, low bits 0";
    EXPECT_EQ(ReadEditNumber("000000000000007"), 0) << "only 14 characters are read";
    EXPECT_EQ(ReadEditNumber(""), 0);
}

TEST(AdvancedOptions, EditTextsShowSignedValues) {
    char text[kEditTextSize];
    FormatEditNumber(-3, text);
    EXPECT_STREQ(text, "-3");
    FormatEditNumber(INT32_MIN, text);
    EXPECT_STREQ(text, "-2147483648");
}

} // namespace
