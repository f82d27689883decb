// Real GL for tests: one offscreen Mesa context per test program, helpers to
// drive frames and read back pixels and state, and the golden frames.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "surface/gl.h"

inline constexpr int32_t TestWidth = 320;
inline constexpr int32_t TestHeight = 240;

// The RGBA of one pixel; (0, 0) is the bottom-left corner.
struct Pixel {
    unsigned char r, g, b, a;
};
Pixel readPixel(int x, int y);
std::vector<Pixel> readFrame();  // bottom row first
int countLitPixels(const std::vector<Pixel>& frame, int threshold = 8);

// Every scene module back at its program-start state, default settings, a
// scripted clock at `startSeconds` and InitScene at the test size.
void startTestScene(int32_t startSeconds = 1000000);
void setClock(int32_t seconds, int32_t microseconds);
void frame(int count = 1);  // each 16 ms after the last
void lookFrom(float ex, float ey, float ez, float tx, float ty, float tz);  // the renderer's fixed view

bool glEnabled(GLenum capability);
GLint glInteger(GLenum name);

// The colour buffer against tests/gl/golden/<name>.png: passes when at most
// `maxBadFraction` of the pixels differ by more than `tolerance` in a channel.
// QUELMAR_UPDATE_GOLDENS=1 (scripts/update-goldens.sh) writes them anew.
::testing::AssertionResult matchesGolden(const std::string& name, int tolerance = 24, double maxBadFraction = 0.01);
