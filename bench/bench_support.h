// Shared set-up for the benchmarks: an offscreen context of a chosen size and
// a scene started on a scripted clock.
#pragma once

#include <cstdint>

// Makes an offscreen context of width x height current (replacing any other)
// and starts the scene with the given counts at a fixed scripted time.
bool startBenchScene(int32_t width, int32_t height, int32_t stars = 600, int32_t warpLines = 600);

// Moves the scripted clock by `milliseconds`.
void advanceBenchClock(int64_t milliseconds);
