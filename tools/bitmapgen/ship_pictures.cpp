// The pictures made from renders of the ship: the settings dialog's title
// picture (102) and the program's icon (100).
#include <algorithm>
#include <string>

#include "pictures.h"
#include "pixel_font.h"

namespace {

// Letters with a dark rim and a soft drop shadow, filled by `fill`.
template <class Fill>
void titleLettering(Canvas& c, const Mask& letters, Colour rim, Fill fill)
{
    paint(c, shifted(grow(letters, 2), 2, 2), rgb(0, 0, 0), 0.55f);
    paint(c, grow(letters, 1), rim);
    paintWith(c, letters, fill);
}

// Darkens the picture towards `edge` rows from the top or bottom, so that
// lettering stays readable over the render.
void shade(Canvas& c, int from, int to, float strongest)
{
    const int step = to > from ? 1 : -1;
    const int rows = (to - from) * step;
    for (int k = 0; k < rows; ++k) {
        const float t = 1 - static_cast<float>(k) / rows;
        for (int x = 0; x < c.width; ++x) {
            Colour& p = c.at(x, from + k * step);
            p = scale(p, 1 - strongest * t * t);
        }
    }
}

} // namespace

Canvas titlePicture(const Canvas& render)
{
    constexpr int Width = 221, Height = 186;
    constexpr int Factor = 4;  // the render is 4 times the size: each pixel a 4 x 4 average
    Canvas c(Width, Height, rgb(0, 0, 0));
    const int top = render.height - Height * Factor;  // the caption strip's rows are cut away
    auto luminance = [](const Colour& p) { return (p.r + p.g + p.b) / 3; };
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            Colour sum, brightest;
            int lit = 0;
            for (int dy = 0; dy < Factor; ++dy)
                for (int dx = 0; dx < Factor; ++dx) {
                    const Colour& p = render.at(x * Factor + dx, top + y * Factor + dy);
                    sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b};
                    if (luminance(p) > luminance(brightest))
                        brightest = p;
                    lit += luminance(p) > 0.3f;
                }
            Colour average = scale(sum, 1.0f / (Factor * Factor));
            // A star is a pixel or two: averaging would all but put it out.
            if (lit > 0 && lit <= 3 && luminance(average) < 0.15f)
                average = scale(brightest, 0.85f);
            // A faint nebula behind, fading out where the render is lit.
            const float cloud = valueNoise(x, y, 48, 7) * 0.7f + valueNoise(x, y, 17, 8) * 0.3f;
            const float glow = std::max(cloud - 0.4f, 0.0f) * 1.6f * (1 - std::min(luminance(average) * 6, 1.0f));
            const Colour nebula = mix(rgb(40, 20, 90), rgb(20, 60, 120), valueNoise(x, y, 60, 9));
            c.at(x, y) = {average.r + nebula.r * glow, average.g + nebula.g * glow, average.b + nebula.b * glow};
        }
    shade(c, 0, 72, 0.75f);
    shade(c, Height - 1, Height - 34, 0.8f);

    // The title over the top, its fill running from ice white to steel blue.
    const std::string title = "QUELMAR";
    Mask titleMask(Width, Height);
    const float titleScale = 4.5f;
    const float titleWidth = textCells(title, 1) * titleScale;
    const float titleTop = 7;
    coverTextSmooth(titleMask, (Width - titleWidth) / 2 - 2, titleTop, title, titleScale, 1.25f, 0.14f);
    const float titleBottom = titleTop + FontCapHeight * titleScale;
    titleLettering(c, titleMask, rgb(8, 14, 44), [&](int, int y) {
        const float t = std::clamp((y - titleTop) / (titleBottom - titleTop), 0.0f, 1.0f);
        return t < 0.5f ? mix(rgb(246, 250, 255), rgb(170, 200, 240), t * 2)
                        : mix(rgb(120, 150, 214), rgb(196, 218, 250), (t - 0.5f) * 2);
    });

    const std::string subtitle = "3D SCREEN SAVER";
    Mask subtitleMask(Width, Height);
    const float subtitleWidth = textCells(subtitle, 1) * 2.0f;
    coverTextSmooth(subtitleMask, (Width - subtitleWidth) / 2, titleBottom + 7, subtitle, 2, 1.15f, 0.14f);
    titleLettering(c, subtitleMask, rgb(40, 18, 0), [](int, int) { return rgb(255, 196, 80); });

    // The maker's credits along the bottom.
    Mask credits(Width, Height);
    const std::string maker = "A Dellmora Star Yards production";
    const std::string version = "Version 1.0";
    coverTextCrisp(credits, (Width - textCells(maker, 1)) / 2, Height - 25, maker, 1);
    coverTextCrisp(credits, (Width - textCells(version, 1)) / 2, Height - 13, version, 1);
    paint(c, shifted(credits, 1, 1), rgb(0, 0, 0));
    paint(c, credits, rgb(200, 206, 220));
    return c;
}

namespace {

// The ship's pixels: the largest 8-connected patch brighter than the
// background, with its enclosed dark parts (the stars are small patches
// of their own).
std::vector<bool> shipMask(const Canvas& render)
{
    const int w = render.width, h = render.height;
    const size_t n = static_cast<size_t>(w) * h;
    std::vector<bool> bright(n);
    for (size_t i = 0; i < n; ++i) {
        const Colour& p = render.pixels[i];
        bright[i] = p.r + p.g + p.b > 0.09f;
    }
    // Label the patches by flood fill and keep the largest.
    std::vector<int> label(n, -1);
    std::vector<size_t> stack;
    int best = -1;
    size_t bestSize = 0;
    for (size_t seed = 0; seed < n; ++seed) {
        if (!bright[seed] || label[seed] >= 0)
            continue;
        const int id = static_cast<int>(seed);
        size_t size = 0;
        stack.push_back(seed);
        label[seed] = id;
        while (!stack.empty()) {
            const size_t i = stack.back();
            stack.pop_back();
            ++size;
            const int x = static_cast<int>(i % w), y = static_cast<int>(i / w);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                        continue;
                    const size_t j = static_cast<size_t>(ny) * w + nx;
                    if (bright[j] && label[j] < 0) {
                        label[j] = id;
                        stack.push_back(j);
                    }
                }
        }
        if (size > bestSize) {
            bestSize = size;
            best = id;
        }
    }
    // Everything not reachable from the border without crossing the ship
    // belongs to it.
    std::vector<bool> outside(n, false);
    for (int x = 0; x < w; ++x)
        for (const int y : {0, h - 1})
            stack.push_back(static_cast<size_t>(y) * w + x);
    for (int y = 0; y < h; ++y)
        for (const int x : {0, w - 1})
            stack.push_back(static_cast<size_t>(y) * w + x);
    while (!stack.empty()) {
        const size_t i = stack.back();
        stack.pop_back();
        if (outside[i] || label[i] == best)
            continue;
        outside[i] = true;
        const int x = static_cast<int>(i % w), y = static_cast<int>(i / w);
        if (x > 0)
            stack.push_back(i - 1);
        if (x + 1 < w)
            stack.push_back(i + 1);
        if (y > 0)
            stack.push_back(i - w);
        if (y + 1 < h)
            stack.push_back(i + w);
    }
    std::vector<bool> ship(n);
    for (size_t i = 0; i < n; ++i)
        ship[i] = !outside[i];
    return ship;
}

struct Sized {
    Canvas colour;
    std::vector<bool> opaque;
};

// The ship scaled into a square of `size` pixels: each pixel averages
// Samples x Samples points of the ship's square; it is opaque when at least
// half of them are on the ship, and then takes their mean colour.
Sized scaleShip(const Canvas& render, const std::vector<bool>& ship, int x0, int y0, int side, int size)
{
    constexpr int Samples = 8;
    Sized out{Canvas(size, size, rgb(0, 0, 0)), std::vector<bool>(static_cast<size_t>(size) * size, false)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Colour sum;
            int hits = 0;
            for (int sy = 0; sy < Samples; ++sy)
                for (int sx = 0; sx < Samples; ++sx) {
                    const int rx = x0 + ((x * Samples + sx) * side + side / 2) / (size * Samples);
                    const int ry = y0 + ((y * Samples + sy) * side + side / 2) / (size * Samples);
                    if (rx < 0 || ry < 0 || rx >= render.width || ry >= render.height)
                        continue;
                    const size_t i = static_cast<size_t>(ry) * render.width + rx;
                    if (!ship[i])
                        continue;
                    ++hits;
                    sum = {sum.r + render.pixels[i].r, sum.g + render.pixels[i].g, sum.b + render.pixels[i].b};
                }
            if (2 * hits < Samples * Samples)
                continue;
            // More contrast than the render: at these sizes the hull's soft
            // shading would read as one flat grey.
            const Colour mean = scale(sum, 1.0f / hits);
            auto stretch = [](float v) { return (v - 0.18f) * 1.5f + 0.08f; };
            out.colour.at(x, y) = {stretch(mean.r), stretch(mean.g), stretch(mean.b)};
            out.opaque[static_cast<size_t>(y) * size + x] = true;
        }
    // A dark rim, so that the ship stands out on light desktops too.
    std::vector<bool> rimmed = out.opaque;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            if (out.opaque[static_cast<size_t>(y) * size + x])
                continue;
            bool next = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < size && ny < size && out.opaque[static_cast<size_t>(ny) * size + nx])
                        next = true;
                }
            if (next) {
                out.colour.at(x, y) = rgb(16, 20, 30);
                rimmed[static_cast<size_t>(y) * size + x] = true;
            }
        }
    out.opaque = rimmed;
    return out;
}

} // namespace

std::vector<IconImage> iconImages(const Canvas& render)
{
    const std::vector<bool> ship = shipMask(render);
    int x0 = render.width, y0 = render.height, x1 = -1, y1 = -1;
    for (int y = 0; y < render.height; ++y)
        for (int x = 0; x < render.width; ++x)
            if (ship[static_cast<size_t>(y) * render.width + x]) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
    // A square around the ship with a margin of 1/16 on each side (room for the rim).
    const int side = std::max(x1 - x0, y1 - y0) + 1;
    const int margin = side / 16;
    const int squareSide = side + 2 * margin;
    const int sx = (x0 + x1 + 1) / 2 - squareSide / 2;
    const int sy = (y0 + y1 + 1) / 2 - squareSide / 2;

    std::vector<Sized> sizes;
    for (const int size : {16, 32, 48})
        sizes.push_back(scaleShip(render, ship, sx, sy, squareSide, size));
    std::vector<const Canvas*> canvases;
    for (const Sized& s : sizes)
        canvases.push_back(&s.colour);
    // Transparent pixels must be black in the colour image: the mask and the
    // colour are combined by AND and XOR.
    const std::vector<IndexedImage> images = quantiseTogether(canvases, false, {{0, 0, 0}});
    std::vector<IconImage> icons;
    for (size_t i = 0; i < sizes.size(); ++i) {
        IconImage icon{images[i], sizes[i].opaque};
        for (size_t p = 0; p < icon.opaque.size(); ++p)
            if (!icon.opaque[p])
                icon.image.index[p] = 0;
        icons.push_back(icon);
    }
    return icons;
}
