// Hand-made bitmaps for the decoder tests: every header field can be set,
// including to nonsense.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

using Rgb = std::array<unsigned char, 3>;

struct TestBitmap {
    int32_t width = 0;
    int32_t height = 0;  // negative: top-down
    uint16_t planes = 1;
    uint16_t bitCount = 8;
    uint32_t compression = 0;  // 0 uncompressed, 1 RLE8
    uint32_t infoSize = 40;
    std::vector<Rgb> palette;
    int64_t coloursUsed = -1;   // -1: the palette's size
    int64_t pixelOffset = -1;   // -1: right after the palette
    int64_t imageSize = -1;     // -1: the pixel data's size
    std::vector<unsigned char> pixels;  // stored rows (padded) or the RLE8 stream

    std::vector<unsigned char> bytes() const;
};

// Stored rows of an uncompressed bitmap, each padded to 4 bytes, in the order
// given (the caller lists bottom-up files bottom row first).
std::vector<unsigned char> paddedRows(const std::vector<std::vector<unsigned char>>& rows);
