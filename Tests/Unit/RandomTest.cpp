// The generator is pinned by golden values: every stored game replays through it.
#include "Random.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint16_t> Draw(uint32_t seed, uint16_t n, int count) {
    SeedRandom(seed);
    std::vector<uint16_t> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(RandomUpTo(n));
    }
    return values;
}

TEST(Random, GoldenValuesAfterSeeding) {
    EXPECT_EQ(Draw(0x4D2B71EC, 30, 10), (std::vector<uint16_t>{8, 19, 26, 4, 9, 30, 12, 8, 4, 12}));
    EXPECT_EQ(Draw(0, 65535, 5), (std::vector<uint16_t>{1595, 57477, 27076, 15179, 16044}));
    EXPECT_EQ(Draw(0xFFFFFFFF, 999, 5), (std::vector<uint16_t>{848, 40, 212, 752, 513}));
}

TEST(Random, SameSeedSameSequence) {
    EXPECT_EQ(Draw(1294692844, 17, 200), Draw(1294692844, 17, 200));
    EXPECT_NE(Draw(1294692844, 17, 200), Draw(1294692845, 17, 200));
}

TEST(Random, UpToZeroIsZeroAndStillConsumesAnOutput) {
    SeedRandom(0x4D2B71EC);
    EXPECT_EQ(RandomUpTo(0), 0);
    EXPECT_EQ(RandomUpTo(30), 19); // the second value of the golden sequence
}

} // namespace
