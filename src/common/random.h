// The scene's one pseudo-random sequence: a 32-bit linear congruential
// generator, identical on every platform (the C library's rand() is not).
#pragma once

#include <cstdint>

struct RandomGenerator {
    uint32_t state = 1;  // seeded once per scene by InitScene
    uint64_t calls = 0;  // draws since program start, for traces and tests
};

extern RandomGenerator sceneRandom;

// Sets the state. Called by InitScene with the start seconds, and by tests.
void seedRandom(uint32_t seed);

// The next value, 0..32767: state = state * 214013 + 2531011 (mod 2^32),
// result (state >> 16) & 0x7FFF.
int sceneRand();
