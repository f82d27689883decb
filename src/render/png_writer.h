#pragma once

#include <cstdint>
#include <string>

// Writes an RGBA image given bottom row first (GL order) as an RGB PNG.
// Returns false with one line in `error` on failure.
bool writePng(const std::string& path, int32_t width, int32_t height, const unsigned char* rgba,
              std::string& error);
