// An offscreen GL surface: an EGL pbuffer on Mesa's surfaceless platform with a
// desktop OpenGL compatibility context. For quelmar-render, tests and benchmarks.
#pragma once

#include <cstdint>
#include <string>

// Creates the surface and makes its context current. On failure returns false
// and puts one line saying why into `error`.
bool createOffscreenSurface(int32_t width, int32_t height, std::string& error);

// Releases the context and the surface; safe to call when none exists.
void destroyOffscreenSurface();

// Reads the colour buffer as RGBA, bottom row first (GL order).
void readOffscreenPixels(int32_t width, int32_t height, unsigned char* rgba);
