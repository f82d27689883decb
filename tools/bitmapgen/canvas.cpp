#include "canvas.h"

#include <algorithm>
#include <cmath>

Colour rgb(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }

Colour mix(Colour a, Colour b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scale(Colour c, float f) { return {c.r * f, c.g * f, c.b * f}; }

Canvas::Canvas(int w, int h, Colour fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

void Canvas::blend(int x, int y, Colour c, float a)
{
    if (!inside(x, y) || a <= 0)
        return;
    Colour& p = at(x, y);
    p = mix(p, c, std::min(a, 1.0f));
}

Mask::Mask(int w, int h) : width(w), height(h), a(static_cast<size_t>(w) * h, 0.0f) {}

float Mask::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    return a[static_cast<size_t>(y) * width + x];
}

void Mask::raise(int x, int y, float value)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    float& v = a[static_cast<size_t>(y) * width + x];
    v = std::max(v, std::min(value, 1.0f));
}

void coverCircle(Mask& mask, float cx, float cy, float r)
{
    coverShape(mask, cx - r, cy - r, cx + r, cy + r, [=](float x, float y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    });
}

void coverCapsule(Mask& mask, float ax, float ay, float bx, float by, float r)
{
    const float dx = bx - ax, dy = by - ay;
    const float length2 = dx * dx + dy * dy;
    coverShape(mask, std::min(ax, bx) - r, std::min(ay, by) - r, std::max(ax, bx) + r, std::max(ay, by) + r,
               [=](float x, float y) {
                   float t = length2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / length2 : 0;
                   t = std::clamp(t, 0.0f, 1.0f);
                   const float ex = ax + t * dx - x, ey = ay + t * dy - y;
                   return ex * ex + ey * ey <= r * r;
               });
}

void coverRoundedRect(Mask& mask, float x0, float y0, float x1, float y1, float radius)
{
    coverShape(mask, x0, y0, x1, y1, [=](float x, float y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1)
            return false;
        const float cx = std::clamp(x, x0 + radius, x1 - radius);
        const float cy = std::clamp(y, y0 + radius, y1 - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    });
}

void coverPolygon(Mask& mask, const std::vector<Point>& corners)
{
    float x0 = corners[0].x, y0 = corners[0].y, x1 = x0, y1 = y0;
    for (const Point& p : corners) {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
    }
    coverShape(mask, x0, y0, x1, y1, [&](float x, float y) {
        bool in = false;  // even-odd crossing test
        for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
            const Point& a = corners[i];
            const Point& b = corners[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                in = !in;
        }
        return in;
    });
}

void paint(Canvas& canvas, const Mask& mask, Colour colour, float opacity)
{
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            if (const float a = mask.at(x, y); a > 0)
                canvas.blend(x, y, colour, a * opacity);
}

Mask grow(const Mask& mask, int radius)
{
    Mask out(mask.width, mask.height);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            float v = 0;
            for (int dy = -radius; dy <= radius; ++dy)
                for (int dx = -radius; dx <= radius; ++dx)
                    v = std::max(v, mask.at(x + dx, y + dy));
            out.raise(x, y, v);
        }
    return out;
}

Mask shifted(const Mask& mask, int dx, int dy)
{
    Mask out(mask.width, mask.height);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            out.raise(x, y, mask.at(x - dx, y - dy));
    return out;
}

void fillRect(Canvas& canvas, int x0, int y0, int x1, int y1, Colour colour)
{
    for (int y = std::max(y0, 0); y < std::min(y1, canvas.height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, canvas.width); ++x)
            canvas.at(x, y) = colour;
}

void fillVerticalGradient(Canvas& canvas, int x0, int y0, int x1, int y1, Colour top, Colour bottom)
{
    const float span = static_cast<float>(std::max(y1 - y0 - 1, 1));
    for (int y = std::max(y0, 0); y < std::min(y1, canvas.height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, canvas.width); ++x)
            canvas.at(x, y) = mix(top, bottom, static_cast<float>(y - y0) / span);
}

float hashNoise(int x, int y, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<float>(h >> 8) / static_cast<float>(1u << 24);
}

float valueNoise(float x, float y, float cell, uint32_t seed)
{
    const float fx = x / cell, fy = y / cell;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    float tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const float top = hashNoise(ix, iy, seed) + (hashNoise(ix + 1, iy, seed) - hashNoise(ix, iy, seed)) * tx;
    const float bottom =
        hashNoise(ix, iy + 1, seed) + (hashNoise(ix + 1, iy + 1, seed) - hashNoise(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}
