#include "common/random.h"

RandomGenerator sceneRandom;

void seedRandom(uint32_t seed) { sceneRandom.state = seed; }

int sceneRand()
{
    sceneRandom.state = sceneRandom.state * 214013u + 2531011u;
    ++sceneRandom.calls;
    return static_cast<int>((sceneRandom.state >> 16) & 0x7FFFu);
}
