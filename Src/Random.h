// The program's one random number generator: an additive feedback generator with a 31-word
// state and separation 3. A game's start time seeds it, which is what makes a stored move
// string replay the same game, so its outputs must never change.
#pragma once

#include <cstdint>

void SeedRandom(uint32_t seed);

// The generator's whole state: an action can be tried and the generator put back as it was.
struct RandomState {
    static constexpr int kDegree = 31;
    uint32_t words[kDegree];
    int front;
    int rear;
};
RandomState SaveRandomState();
void RestoreRandomState(const RandomState& state);

// A whole number from 0 to n inclusive; always consumes exactly one output.
uint16_t RandomUpTo(uint16_t n);
