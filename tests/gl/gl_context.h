// Real GL for tests: one offscreen Mesa context per test program, and helpers
// to read back pixels and state.
#pragma once

#include <cstdint>
#include <vector>

#include "surface/gl.h"

inline constexpr int32_t TestWidth = 320;
inline constexpr int32_t TestHeight = 240;

// The RGBA of one pixel of the colour buffer; (0, 0) is the bottom-left corner.
struct Pixel {
    unsigned char r, g, b, a;
};
Pixel readPixel(int x, int y);

// The whole colour buffer, bottom row first.
std::vector<Pixel> readFrame(int32_t width = TestWidth, int32_t height = TestHeight);

// Pixels brighter than `threshold` in any channel.
int countLitPixels(const std::vector<Pixel>& frame, int threshold = 8);

// Resets every scene module to its program-start state, installs a scripted
// clock at `startSeconds`, loads default settings and runs InitScene at the
// test size. Frames are then driven with advanceClock and drawFrame.
void startTestScene(int32_t startSeconds = 1000000);
void advanceClockMs(int64_t milliseconds);
void setClock(int32_t seconds, int32_t microseconds);

bool glEnabled(GLenum capability);
GLint glInteger(GLenum name);
