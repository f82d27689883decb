// Real GL for tests: one offscreen Mesa context per test program, helpers to
// drive frames and read back pixels and state, and the golden frames.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "surface/gl.h"

inline constexpr int32_t TestWidth = 320;
inline constexpr int32_t TestHeight = 240;

struct Pixel {
    unsigned char r, g, b, a;
};
std::vector<Pixel> readFrame();  // bottom row first

// Every scene module back at its program-start state, default settings, a
// scripted clock and InitScene at the test size.
void startTestScene();
void frame(int count = 1);  // each 16 ms after the last
void lookFrom(const float* eye, const float* target);  // the renderer's fixed view
// The ship alone in a cleared frame, under the scene's perspective.
void drawShipAlone(const float* eye, const float* target);

bool glEnabled(GLenum capability);
GLint glInteger(GLenum name);
std::array<GLdouble, 16> glMatrix(GLenum name);

// The colour buffer against tests/gl/golden/<name>.png: passes when at most
// 1% of the pixels differ by more than 24 in a channel.
// QUELMAR_UPDATE_GOLDENS=1 (scripts/update-goldens.sh) writes them anew.
::testing::AssertionResult matchesGolden(const std::string& name);
