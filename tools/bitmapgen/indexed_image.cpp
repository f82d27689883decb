#include "indexed_image.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

struct Counted {
    Rgb8 colour;
    int64_t count;
};

int channel(const Rgb8& c, int axis) { return axis == 0 ? c.r : axis == 1 ? c.g : c.b; }

// Median cut over distinct colours weighted by their counts. Deterministic:
// ties are broken by the colour's packed value.
std::vector<Rgb8> medianCut(std::vector<Counted> colours, size_t size)
{
    struct Box {
        size_t begin, end;
    };
    std::vector<Box> boxes{{0, colours.size()}};
    auto extent = [&](const Box& box, int axis) {
        int lo = 255, hi = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            lo = std::min(lo, channel(colours[i].colour, axis));
            hi = std::max(hi, channel(colours[i].colour, axis));
        }
        return hi - lo;
    };
    while (boxes.size() < size) {
        // The box with the most pixels times its widest extent goes first.
        int64_t best = 0;
        size_t chosen = boxes.size();
        int chosenAxis = 0;
        for (size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].end - boxes[b].begin < 2)
                continue;
            int64_t pixels = 0;
            for (size_t i = boxes[b].begin; i < boxes[b].end; ++i)
                pixels += colours[i].count;
            int axis = 0;
            for (int a = 1; a < 3; ++a)
                if (extent(boxes[b], a) > extent(boxes[b], axis))
                    axis = a;
            const int64_t score = pixels * extent(boxes[b], axis);
            if (score > best) {
                best = score;
                chosen = b;
                chosenAxis = axis;
            }
        }
        if (chosen == boxes.size())
            break;
        Box& box = boxes[chosen];
        std::sort(colours.begin() + box.begin, colours.begin() + box.end, [&](const Counted& a, const Counted& b) {
            const int ca = channel(a.colour, chosenAxis), cb = channel(b.colour, chosenAxis);
            return ca != cb ? ca < cb : a.colour.packed() < b.colour.packed();
        });
        int64_t total = 0;
        for (size_t i = box.begin; i < box.end; ++i)
            total += colours[i].count;
        int64_t running = 0;
        size_t split = box.begin + 1;
        for (size_t i = box.begin; i < box.end - 1; ++i) {
            running += colours[i].count;
            split = i + 1;
            if (2 * running >= total)
                break;
        }
        const Box upper{split, box.end};
        box.end = split;
        boxes.push_back(upper);
    }
    std::vector<Rgb8> palette;
    for (const Box& box : boxes) {
        int64_t n = 0, r = 0, g = 0, b = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            n += colours[i].count;
            r += colours[i].count * colours[i].colour.r;
            g += colours[i].count * colours[i].colour.g;
            b += colours[i].count * colours[i].colour.b;
        }
        palette.push_back({static_cast<uint8_t>((r + n / 2) / n), static_cast<uint8_t>((g + n / 2) / n),
                           static_cast<uint8_t>((b + n / 2) / n)});
    }
    return palette;
}

int nearest(const std::vector<Rgb8>& palette, int r, int g, int b)
{
    int best = 0;
    int64_t bestDistance = INT64_MAX;
    for (size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
        const int64_t d = int64_t{dr} * dr + int64_t{dg} * dg + int64_t{db} * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

IndexedImage mapToPalette(const Canvas& canvas, const std::vector<Rgb8>& palette, bool dither)
{
    IndexedImage image;
    image.width = canvas.width;
    image.height = canvas.height;
    std::copy(palette.begin(), palette.end(), image.palette.begin());
    image.index.resize(canvas.pixels.size());
    // The error carried to the next pixels, in 1/16 steps of a channel.
    std::vector<std::array<int, 3>> error(canvas.pixels.size() + canvas.width + 2, {0, 0, 0});
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const size_t i = static_cast<size_t>(y) * canvas.width + x;
            const Rgb8 c = toRgb8(canvas.pixels[i]);
            int want[3] = {c.r, c.g, c.b};
            if (dither)
                for (int k = 0; k < 3; ++k)
                    want[k] = std::clamp(want[k] + error[i][k] / 16, 0, 255);
            const int chosen = nearest(palette, want[0], want[1], want[2]);
            image.index[i] = static_cast<uint8_t>(chosen);
            if (!dither)
                continue;
            const int got[3] = {palette[chosen].r, palette[chosen].g, palette[chosen].b};
            for (int k = 0; k < 3; ++k) {
                const int e = want[k] - got[k];
                if (x + 1 < canvas.width)
                    error[i + 1][k] += 7 * e;
                if (y + 1 < canvas.height) {
                    if (x > 0)
                        error[i + canvas.width - 1][k] += 3 * e;
                    error[i + canvas.width][k] += 5 * e;
                    if (x + 1 < canvas.width)
                        error[i + canvas.width + 1][k] += e;
                }
            }
        }
    return image;
}

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putInfoHeader(std::vector<uint8_t>& out, int width, int height, uint32_t compression, uint32_t imageSize)
{
    constexpr uint32_t PixelsPerMetre = 2835;  // 72 dots per inch
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);
    put16(out, 8);
    put32(out, compression);
    put32(out, imageSize);
    put32(out, PixelsPerMetre);
    put32(out, PixelsPerMetre);
    put32(out, 256);
    put32(out, 0);
}

void putPalette(std::vector<uint8_t>& out, const std::array<Rgb8, 256>& palette)
{
    for (const Rgb8& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
}

// Stored rows, bottom row first, each padded to 4 bytes.
std::vector<uint8_t> storedRows(const IndexedImage& image)
{
    const size_t stride = (static_cast<size_t>(image.width) + 3) & ~size_t{3};
    std::vector<uint8_t> rows(stride * image.height, 0);
    for (int y = 0; y < image.height; ++y)
        std::copy_n(image.index.begin() + static_cast<ptrdiff_t>(y) * image.width, image.width,
                    rows.begin() + static_cast<ptrdiff_t>((image.height - 1 - y) * stride));
    return rows;
}

// RLE8: equal pixels as encoded runs, other stretches of three or more as
// absolute runs; a line end after each row but the last, then the end mark.
std::vector<uint8_t> rle8Stream(const IndexedImage& image)
{
    constexpr int MaxRun = 255;
    std::vector<uint8_t> out;
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = image.index.data() + static_cast<size_t>(y) * image.width;
        const int w = image.width;
        auto runAt = [&](int i) {
            int n = 1;
            while (i + n < w && n < MaxRun && row[i + n] == row[i])
                ++n;
            return n;
        };
        int i = 0;
        while (i < w) {
            const int run = runAt(i);
            if (run >= 2) {
                out.push_back(static_cast<uint8_t>(run));
                out.push_back(row[i]);
                i += run;
                continue;
            }
            // A literal stretch up to the next run of three.
            int n = 1;
            while (i + n < w && n < MaxRun && runAt(i + n) < 3)
                ++n;
            if (n < 3) {
                for (int k = 0; k < n; ++k) {
                    out.push_back(1);
                    out.push_back(row[i + k]);
                }
            } else {
                out.push_back(0);
                out.push_back(static_cast<uint8_t>(n));
                out.insert(out.end(), row + i, row + i + n);
                if (n & 1)
                    out.push_back(0);
            }
            i += n;
        }
        out.push_back(0);
        out.push_back(y > 0 ? 0 : 1);  // line end, or the end of the bitmap
    }
    return out;
}

} // namespace

Rgb8 toRgb8(Colour c)
{
    auto byte = [](float v) { return static_cast<uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    return {byte(c.r), byte(c.g), byte(c.b)};
}

std::vector<IndexedImage> quantiseTogether(const std::vector<const Canvas*>& canvases, bool dither,
                                           const std::vector<Rgb8>& reserved)
{
    std::map<uint32_t, int64_t> counts;
    for (const Canvas* canvas : canvases)
        for (const Colour& c : canvas->pixels)
            ++counts[toRgb8(c).packed()];
    for (const Rgb8& c : reserved)
        counts.erase(c.packed());
    std::vector<Counted> colours;
    for (const auto& [packed, count] : counts)
        colours.push_back({{static_cast<uint8_t>(packed >> 16), static_cast<uint8_t>(packed >> 8),
                            static_cast<uint8_t>(packed)},
                           count});

    std::vector<Rgb8> palette = reserved;
    const size_t room = 256 - reserved.size();
    if (colours.size() <= room) {
        for (const Counted& c : colours)
            palette.push_back(c.colour);
        dither = false;  // every colour is exact
    } else {
        const std::vector<Rgb8> cut = medianCut(colours, room);
        palette.insert(palette.end(), cut.begin(), cut.end());
    }
    std::vector<IndexedImage> images;
    for (const Canvas* canvas : canvases)
        images.push_back(mapToPalette(*canvas, palette, dither));
    return images;
}

IndexedImage quantise(const Canvas& canvas, bool dither, const std::vector<Rgb8>& reserved)
{
    return quantiseTogether({&canvas}, dither, reserved).front();
}

std::vector<uint8_t> bitmapFile(const IndexedImage& image, bool rle8)
{
    constexpr uint32_t HeadersSize = 14 + 40 + 256 * 4;
    const std::vector<uint8_t> pixels = rle8 ? rle8Stream(image) : storedRows(image);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, HeadersSize + static_cast<uint32_t>(pixels.size()));
    put32(out, 0);
    put32(out, HeadersSize);
    putInfoHeader(out, image.width, image.height, rle8 ? 1 : 0, static_cast<uint32_t>(pixels.size()));
    putPalette(out, image.palette);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<uint8_t> iconFile(const std::vector<IconImage>& images)
{
    std::vector<std::vector<uint8_t>> bodies;
    for (const IconImage& icon : images) {
        const IndexedImage& image = icon.image;
        const std::vector<uint8_t> colour = storedRows(image);
        // The transparency mask: 1 bit a pixel, 1 = transparent, rows of 4 bytes.
        const size_t maskStride = (static_cast<size_t>(image.width) + 31) / 32 * 4;
        std::vector<uint8_t> mask(maskStride * image.height, 0);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (!icon.opaque[static_cast<size_t>(y) * image.width + x])
                    mask[(image.height - 1 - y) * maskStride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        std::vector<uint8_t> body;
        // An icon's header counts the colour image and the mask in its height.
        putInfoHeader(body, image.width, image.height * 2, 0, static_cast<uint32_t>(colour.size() + mask.size()));
        putPalette(body, image.palette);
        body.insert(body.end(), colour.begin(), colour.end());
        body.insert(body.end(), mask.begin(), mask.end());
        bodies.push_back(std::move(body));
    }
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 1);  // an icon, not a cursor
    put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<uint8_t>(images[i].image.width));
        out.push_back(static_cast<uint8_t>(images[i].image.height));
        out.push_back(0);  // 256 colours or more
        out.push_back(0);
        put16(out, 1);
        put16(out, 8);
        put32(out, static_cast<uint32_t>(bodies[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(bodies[i].size());
    }
    for (const auto& body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
