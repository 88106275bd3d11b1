// Which smoldering frame a heap shows when, and when the next one is due.
#include "SmolderingHeaps.h"

#include <gtest/gtest.h>

TEST(SmolderingHeapsTest, EachVariantStepsThroughTheThreeFramesFromItsOwnPhase) {
    // Variant, tick, frame shown, milliseconds to the next frame.
    const uint32_t cases[][4] = {{0, 0, 0, 250},   {0, 249, 0, 1}, {0, 500, 2, 250},
                                 {0, 750, 0, 250}, {1, 0, 1, 250}, {2, 260, 0, 240}};
    for (const auto& c : cases) {
        EXPECT_EQ(SmolderFrame(static_cast<uint8_t>(c[0]), c[1]), static_cast<int>(c[2])) << c[1];
        EXPECT_EQ(MsUntilNextSmolderFrame(c[1]), c[3]) << c[1];
    }
}
