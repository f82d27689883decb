// 256-colour images: quantising a canvas to a palette of its own, and the
// Windows bitmap and icon files made from such images.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

struct Rgb8 {
    uint8_t r = 0, g = 0, b = 0;
    uint32_t packed() const { return static_cast<uint32_t>(r) << 16 | g << 8 | b; }
    bool operator==(const Rgb8&) const = default;
};

Rgb8 toRgb8(Colour c);

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::array<Rgb8, 256> palette{};
    std::vector<uint8_t> index;  // top row first
};

// At most 256 distinct colours are kept exactly (in ascending order, the
// rest of the palette black); more are reduced by median cut, with
// Floyd-Steinberg error diffusion when `dither`. `reserved` colours (for
// example an icon's black) always get an entry of their own.
IndexedImage quantise(const Canvas& canvas, bool dither, const std::vector<Rgb8>& reserved = {});

// The same mapping for several images at once: one palette for all (the
// sizes of an icon).
std::vector<IndexedImage> quantiseTogether(const std::vector<const Canvas*>& canvases, bool dither,
                                           const std::vector<Rgb8>& reserved = {});

// An 8-bit Windows bitmap file with a 256-colour palette, uncompressed or RLE8.
std::vector<uint8_t> bitmapFile(const IndexedImage& image, bool rle8);

// One image of an icon: pixels where `opaque` is false are transparent.
struct IconImage {
    IndexedImage image;
    std::vector<bool> opaque;  // top row first
};
// A Windows icon file with 8-bit images.
std::vector<uint8_t> iconFile(const std::vector<IconImage>& images);

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
