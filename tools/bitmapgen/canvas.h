// Drawing surfaces for the picture generator: a colour canvas and coverage
// masks, antialiased by supersampling. Only arithmetic and sqrt, so that every
// build gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Colour {
    float r = 0, g = 0, b = 0;
};

Colour rgb(int r, int g, int b);
Colour mix(Colour a, Colour b, float t);
Colour scale(Colour c, float f);

// Top row first.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels;

    Canvas(int w, int h, Colour fill);
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Colour& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Colour& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Lays `c` over the pixel with coverage `a`; outside pixels are ignored.
    void blend(int x, int y, Colour c, float a);
};

// Coverage 0..1 per pixel, top row first.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<float> a;

    Mask(int w, int h);
    float at(int x, int y) const;  // 0 outside
    void raise(int x, int y, float value);  // keeps the larger coverage
};

// Samples per pixel side for antialiased shapes.
inline constexpr int Supersample = 4;

// Covers the pixels of the box [x0, x1) x [y0, y1) by how many of their
// samples satisfy inside(x, y).
template <class Inside>
void coverShape(Mask& mask, float x0, float y0, float x1, float y1, Inside inside)
{
    const int px0 = x0 < 0 ? 0 : static_cast<int>(x0);
    const int py0 = y0 < 0 ? 0 : static_cast<int>(y0);
    const int px1 = x1 + 1 > mask.width ? mask.width : static_cast<int>(x1) + 1;
    const int py1 = y1 + 1 > mask.height ? mask.height : static_cast<int>(y1) + 1;
    for (int y = py0; y < py1; ++y)
        for (int x = px0; x < px1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < Supersample; ++sy)
                for (int sx = 0; sx < Supersample; ++sx)
                    if (inside(x + (sx + 0.5f) / Supersample, y + (sy + 0.5f) / Supersample))
                        ++hits;
            if (hits)
                mask.raise(x, y, static_cast<float>(hits) / (Supersample * Supersample));
        }
}

void coverCircle(Mask& mask, float cx, float cy, float r);
void coverCapsule(Mask& mask, float ax, float ay, float bx, float by, float r);
void coverRoundedRect(Mask& mask, float x0, float y0, float x1, float y1, float radius);
struct Point {
    float x, y;
};
void coverPolygon(Mask& mask, const std::vector<Point>& corners);

// Paints `colour` through the mask (times `opacity`).
void paint(Canvas& canvas, const Mask& mask, Colour colour, float opacity = 1);
// Paints a colour that depends on the pixel through the mask.
template <class ColourAt>
void paintWith(Canvas& canvas, const Mask& mask, ColourAt colourAt)
{
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            if (const float a = mask.at(x, y); a > 0)
                canvas.blend(x, y, colourAt(x, y), a);
}

// Grows the mask by `radius` pixels (a square neighbourhood): outlines.
Mask grow(const Mask& mask, int radius);
// The mask moved by (dx, dy) pixels: shadows.
Mask shifted(const Mask& mask, int dx, int dy);

// Crisp rectangle [x0, x1) x [y0, y1), clipped.
void fillRect(Canvas& canvas, int x0, int y0, int x1, int y1, Colour colour);
// A vertical gradient from `top` at y0 to `bottom` at y1 - 1.
void fillVerticalGradient(Canvas& canvas, int x0, int y0, int x1, int y1, Colour top, Colour bottom);

// Deterministic noise: a hash of the lattice point in [0, 1), and smooth
// value noise over a lattice of `cell` pixels.
float hashNoise(int x, int y, uint32_t seed);
float valueNoise(float x, float y, float cell, uint32_t seed);
