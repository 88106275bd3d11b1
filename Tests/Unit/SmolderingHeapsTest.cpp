// Which smoldering frame a heap shows when, and when the next one is due.
#include "SmolderingHeaps.h"

#include <gtest/gtest.h>

namespace {

TEST(SmolderingHeapsTest, EachVariantStepsThroughTheThreeFramesFromItsOwnPhase) {
    struct Case {
        uint8_t variant;
        uint32_t tickMs;
        int frame;
        uint32_t msUntilNext;
    };
    const Case cases[] = {
        {0, 0, 0, 250}, {0, 249, 0, 1}, {0, 250, 1, 250}, {0, 500, 2, 250}, {0, 750, 0, 250},
        {1, 0, 1, 250}, {1, 499, 2, 1}, {2, 0, 2, 250},   {2, 260, 0, 240},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SmolderFrame(c.variant, c.tickMs), c.frame) << int(c.variant) << " " << c.tickMs;
        EXPECT_EQ(MsUntilNextSmolderFrame(c.tickMs), c.msUntilNext) << c.tickMs;
    }
}

} // namespace
