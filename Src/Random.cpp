#include "Random.h"

namespace {

constexpr int kDegree = RandomState::kDegree;
constexpr int kSeparation = 3;
constexpr int kDiscardedAfterSeeding = 310;

RandomState g_random = {{}, kSeparation, 0};

uint32_t NextOutput() {
    g_random.words[g_random.front] += g_random.words[g_random.rear];
    uint32_t result = g_random.words[g_random.front] >> 1;
    if (++g_random.front == kDegree) {
        g_random.front = 0;
    }
    if (++g_random.rear == kDegree) {
        g_random.rear = 0;
    }
    return result;
}

} // namespace

void SeedRandom(uint32_t seed) {
    g_random.words[0] = seed;
    for (int i = 1; i < kDegree; ++i) {
        g_random.words[i] = g_random.words[i - 1] * 1103515245u + 12345u;
    }
    g_random.front = kSeparation;
    g_random.rear = 0;
    for (int i = 0; i < kDiscardedAfterSeeding; ++i) {
        NextOutput();
    }
}

uint16_t RandomUpTo(uint16_t n) {
    return static_cast<uint16_t>(NextOutput() % (static_cast<uint32_t>(n) + 1));
}

RandomState SaveRandomState() {
    return g_random;
}

void RestoreRandomState(const RandomState& state) {
    g_random = state;
}
