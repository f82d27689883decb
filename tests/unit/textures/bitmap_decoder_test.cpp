#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "textures/textures.h"
#include "unit/textures/bitmap_builder.h"

namespace {

const Rgb Red{200, 10, 20};
const Rgb Green{10, 180, 30};
const Rgb Blue{5, 15, 220};
const Rgb Grey{90, 90, 90};

struct Rgba {
    unsigned char r, g, b, a;
    bool operator==(const Rgba&) const = default;
};

Rgba opaque(const Rgb& c) { return {c[0], c[1], c[2], 255}; }

std::ostream& operator<<(std::ostream& out, const Rgba& p)
{
    return out << '(' << int(p.r) << ',' << int(p.g) << ',' << int(p.b) << ',' << int(p.a) << ')';
}

// Decodes into a buffer with guard bytes on both sides and checks them.
struct Decoded {
    BitmapStatus status;
    std::vector<Rgba> pixels;  // top row first
};

constexpr unsigned char Guard = 0xA5;
constexpr size_t GuardBytes = 64;

Decoded decode(const std::vector<unsigned char>& file, int32_t width, int32_t height, bool key = false)
{
    const size_t bytes = width > 0 && height > 0 ? static_cast<size_t>(width) * height * 4 : 0;
    std::vector<unsigned char> buffer(bytes + 2 * GuardBytes, Guard);
    // Copy the file into a buffer of exactly its size, so that any read past
    // it is caught by the address sanitizer.
    std::vector<unsigned char> data(file);
    data.shrink_to_fit();
    Decoded out;
    out.status = decodeBitmap(data.data(), data.size(), width, height, key, buffer.data() + GuardBytes);
    for (size_t i = 0; i < GuardBytes; ++i) {
        EXPECT_EQ(buffer[i], Guard) << "written before the buffer";
        EXPECT_EQ(buffer[GuardBytes + bytes + i], Guard) << "written past the buffer";
    }
    for (size_t i = 0; i < bytes; i += 4) {
        const unsigned char* p = buffer.data() + GuardBytes + i;
        out.pixels.push_back({p[0], p[1], p[2], p[3]});
    }
    return out;
}

// 3 x 2, palette red, green, blue, grey; top row R G B, bottom row Y R G
// where Y is grey.
TestBitmap uncompressed3x2()
{
    TestBitmap b;
    b.width = 3;
    b.height = 2;
    b.palette = {Red, Green, Blue, Grey};
    b.pixels = paddedRows({{3, 0, 1}, {0, 1, 2}});  // bottom row first
    return b;
}

const std::vector<Rgba> Expected3x2 = {opaque(Red), opaque(Green), opaque(Blue),
                                       opaque(Grey), opaque(Red), opaque(Green)};

} // namespace

TEST(BitmapDecoder, UncompressedRowsComeOutTopRowFirst)
{
    const Decoded bottomUp = decode(uncompressed3x2().bytes(), 3, 2);
    ASSERT_EQ(bottomUp.status, BitmapStatus::Ok);
    EXPECT_EQ(bottomUp.pixels, Expected3x2);

    TestBitmap topDown = uncompressed3x2();
    topDown.height = -2;
    topDown.pixels = paddedRows({{0, 1, 2}, {3, 0, 1}});  // top row first
    const Decoded flipped = decode(topDown.bytes(), 3, 2);
    ASSERT_EQ(flipped.status, BitmapStatus::Ok);
    EXPECT_EQ(flipped.pixels, Expected3x2);
}

TEST(BitmapDecoder, AcceptsLaterInfoHeadersFullPalettesAndAMissingLastPad)
{
    TestBitmap v5 = uncompressed3x2();
    v5.infoSize = 124;
    EXPECT_EQ(decode(v5.bytes(), 3, 2).pixels, Expected3x2);

    TestBitmap full = uncompressed3x2();
    full.palette.resize(256, Rgb{1, 2, 3});
    full.coloursUsed = 0;  // means 256
    full.pixels = paddedRows({{3, 0, 255}, {0, 1, 2}});
    const Decoded decoded = decode(full.bytes(), 3, 2);
    ASSERT_EQ(decoded.status, BitmapStatus::Ok);
    EXPECT_EQ(decoded.pixels[5], (Rgba{1, 2, 3, 255}));

    TestBitmap unpadded = uncompressed3x2();
    unpadded.pixels.pop_back();  // the top row's padding byte
    EXPECT_EQ(decode(unpadded.bytes(), 3, 2).status, BitmapStatus::Ok);
}

TEST(BitmapDecoder, Rle8RunsLineEndsDeltasAndAbsoluteRuns)
{
    TestBitmap b;
    b.width = 5;
    b.height = 3;
    b.compression = 1;
    b.palette = {Red, Green, Blue, Grey};
    b.pixels = {
        // bottom row: encoded run G G, absolute run B R Y (odd: one pad byte)
        2, 1, 0, 3, 2, 0, 3, 0, 0, 0,
        // middle row: R, then a delta 3 right and 1 up, skipping 4 pixels
        1, 0, 0, 2, 3, 1,
        // top row from x = 4: one G, then the end of the bitmap
        1, 1, 0, 1,
    };
    const Decoded d = decode(b.bytes(), 5, 3);
    ASSERT_EQ(d.status, BitmapStatus::Ok) << bitmapStatusText(d.status);
    const Rgba black{0, 0, 0, 255};
    const std::vector<Rgba> expected = {
        black, black, black, black, opaque(Green),                            // top
        opaque(Red), black, black, black, black,                              // middle
        opaque(Green), opaque(Green), opaque(Blue), opaque(Red), opaque(Grey),  // bottom
    };
    EXPECT_EQ(d.pixels, expected);

    // An even absolute run has no padding.
    TestBitmap even;
    even.width = 4;
    even.height = 1;
    even.compression = 1;
    even.palette = {Red, Green, Blue, Grey};
    even.pixels = {0, 4, 3, 2, 1, 0, 0, 1};
    const Decoded e = decode(even.bytes(), 4, 1);
    ASSERT_EQ(e.status, BitmapStatus::Ok);
    EXPECT_EQ(e.pixels, (std::vector<Rgba>{opaque(Grey), opaque(Blue), opaque(Green), opaque(Red)}));
}

TEST(BitmapDecoder, ColourKeyTakesExactlyTheTopLeftColour)
{
    const Rgb key{10, 20, 30};
    TestBitmap b;
    b.width = 6;
    b.height = 2;
    // Index 4 repeats the key's colour; 1..3 are one step off in one channel.
    b.palette = {key, {11, 20, 30}, {10, 21, 30}, {10, 20, 29}, key, {255, 255, 255}};
    // Bottom-up: the top-left pixel is stored last.
    b.pixels = paddedRows({{5, 5, 5, 5, 5, 0}, {0, 1, 2, 3, 4, 5}});

    const Decoded keyed = decode(b.bytes(), 6, 2, true);
    ASSERT_EQ(keyed.status, BitmapStatus::Ok);
    const unsigned char expectedAlpha[12] = {0, 255, 255, 255, 0, 255, 255, 255, 255, 255, 255, 0};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(keyed.pixels[i].a, expectedAlpha[i]) << "pixel " << i;

    const Decoded unkeyed = decode(b.bytes(), 6, 2, false);
    for (const Rgba& p : unkeyed.pixels)
        EXPECT_EQ(p.a, 255);
    // The key changes only alpha.
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ((Rgba{keyed.pixels[i].r, keyed.pixels[i].g, keyed.pixels[i].b, 255}), unkeyed.pixels[i]);

    // Compressed, with skipped pixels: the key is whatever colour lands top-left.
    TestBitmap rle;
    rle.width = 2;
    rle.height = 2;
    rle.compression = 1;
    rle.palette = {key, Red};
    rle.pixels = {1, 1, 1, 0, 0, 0, 0, 1};  // bottom: R K; top: skipped (black)
    const Decoded r = decode(rle.bytes(), 2, 2, true);
    ASSERT_EQ(r.status, BitmapStatus::Ok);
    EXPECT_EQ(r.pixels, (std::vector<Rgba>{{0, 0, 0, 0}, {0, 0, 0, 0}, {200, 10, 20, 255}, {10, 20, 30, 255}}));
}

namespace {

struct MalformedCase {
    const char* name;
    std::function<std::vector<unsigned char>()> file;
    int32_t width;
    int32_t height;
    BitmapStatus expected;
};

std::vector<unsigned char> withUncompressed(const std::function<void(TestBitmap&)>& change)
{
    TestBitmap b = uncompressed3x2();
    change(b);
    return b.bytes();
}

std::vector<unsigned char> withRle(std::vector<unsigned char> stream, int32_t height = 2)
{
    TestBitmap b;
    b.width = 3;
    b.height = height;
    b.compression = 1;
    b.palette = {Red, Green, Blue, Grey};
    b.pixels = std::move(stream);
    return b.bytes();
}

std::vector<unsigned char> cut(size_t size)
{
    std::vector<unsigned char> file = uncompressed3x2().bytes();
    file.resize(size);
    return file;
}

void setU32(std::vector<unsigned char>& file, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        file[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

} // namespace

TEST(BitmapDecoder, MalformedInputGivesAStatusAndAClearedBuffer)
{
    using S = BitmapStatus;
    const std::vector<MalformedCase> cases = {
        {"empty", [] { return std::vector<unsigned char>{}; }, 3, 2, S::TruncatedFileHeader},
        {"13 bytes", [] { return cut(13); }, 3, 2, S::TruncatedFileHeader},
        {"no signature", [] { auto f = cut(100); f[1] = 'A'; return f; }, 3, 2, S::NotABitmap},
        {"no info size", [] { return cut(16); }, 3, 2, S::TruncatedInfoHeader},
        {"info header cut", [] { return cut(14 + 39); }, 3, 2, S::TruncatedInfoHeader},
        {"core header", [] { return withUncompressed([](TestBitmap& b) { b.infoSize = 12; }); }, 3, 2,
         S::UnsupportedHeader},
        {"huge info header", [] { return withUncompressed([](TestBitmap& b) { b.infoSize = 0xFFFFFFFF; }); }, 3,
         2, S::TruncatedInfoHeader},
        {"24-bit", [] { return withUncompressed([](TestBitmap& b) { b.bitCount = 24; }); }, 3, 2,
         S::UnsupportedFormat},
        {"two planes", [] { return withUncompressed([](TestBitmap& b) { b.planes = 2; }); }, 3, 2,
         S::UnsupportedFormat},
        {"RLE4", [] { return withUncompressed([](TestBitmap& b) { b.compression = 2; }); }, 3, 2,
         S::UnsupportedFormat},
        {"bit fields", [] { return withUncompressed([](TestBitmap& b) { b.compression = 3; }); }, 3, 2,
         S::UnsupportedFormat},
        {"width 0", [] { return withUncompressed([](TestBitmap& b) { b.width = 0; }); }, 3, 2, S::BadDimensions},
        {"negative width", [] { return withUncompressed([](TestBitmap& b) { b.width = -3; }); }, 3, 2,
         S::BadDimensions},
        {"height 0", [] { return withUncompressed([](TestBitmap& b) { b.height = 0; }); }, 3, 2,
         S::BadDimensions},
        {"most negative height", [] { return withUncompressed([](TestBitmap& b) { b.height = INT32_MIN; }); }, 3,
         2, S::BadDimensions},
        {"absurd width", [] { return withUncompressed([](TestBitmap& b) { b.width = 1 << 30; }); }, 3, 2,
         S::BadDimensions},
        {"absurd top-down height", [] { return withUncompressed([](TestBitmap& b) { b.height = -5000; }); }, 3,
         2, S::BadDimensions},
        {"top-down RLE8", [] { return withUncompressed([](TestBitmap& b) { b.compression = 1; b.height = -2; }); },
         3, 2, S::CompressedTopDown},
        {"wider than expected", [] { return uncompressed3x2().bytes(); }, 2, 2, S::SizeMismatch},
        {"lower than expected", [] { return uncompressed3x2().bytes(); }, 3, 3, S::SizeMismatch},
        {"expected size absurd", [] { return uncompressed3x2().bytes(); }, 3, -2, S::SizeMismatch},
        {"257 colours", [] { return withUncompressed([](TestBitmap& b) { b.coloursUsed = 257; }); }, 3, 2,
         S::PaletteTooLarge},
        {"palette cut", [] { return cut(14 + 40 + 10); }, 3, 2, S::TruncatedPalette},
        {"palette past the data",
         [] { return withUncompressed([](TestBitmap& b) { b.coloursUsed = 200; }); }, 3, 2, S::TruncatedPalette},
        {"pixels inside the palette", [] { return withUncompressed([](TestBitmap& b) { b.pixelOffset = 60; }); },
         3, 2, S::PixelOffsetInHeaders},
        {"pixel offset past the end",
         [] { return withUncompressed([](TestBitmap& b) { b.pixelOffset = 0x7FFFFFFF; }); }, 3, 2,
         S::TruncatedPixels},
        {"pixel rows cut", [] { return cut(14 + 40 + 16 + 6); }, 3, 2, S::TruncatedPixels},
        {"RLE8 size past the end", [] {
             auto f = withRle({0, 1});
             setU32(f, 14 + 20, 100);
             return f;
         }, 3, 2, S::TruncatedPixels},
        {"index past the palette", [] {
             return withUncompressed([](TestBitmap& b) { b.pixels = paddedRows({{3, 0, 1}, {0, 4, 2}}); });
         }, 3, 2, S::PaletteIndexPastPalette},
        {"RLE8 run index past the palette", [] { return withRle({2, 7, 0, 1}); }, 3, 2,
         S::PaletteIndexPastPalette},
        {"RLE8 absolute index past the palette", [] { return withRle({0, 3, 1, 9, 2, 0, 0, 1}); }, 3, 2,
         S::PaletteIndexPastPalette},
        {"run past the row", [] { return withRle({2, 1, 2, 1, 0, 1}); }, 3, 2, S::RunPastRow},
        {"absolute run past the row", [] { return withRle({1, 1, 0, 3, 1, 1, 1, 0, 0, 1}); }, 3, 2,
         S::RunPastRow},
        {"run past the last row", [] { return withRle({0, 0, 0, 0, 1, 2, 0, 1}); }, 3, 2, S::RunPastImage},
        {"absolute run past the last row", [] { return withRle({0, 0, 0, 0, 0, 3, 1, 1, 1, 0, 0, 1}); }, 3, 2,
         S::RunPastImage},
        {"line ends past the last row", [] { return withRle({0, 0, 0, 0, 0, 0, 0, 1}); }, 3, 2, S::RunPastImage},
        {"delta past the right edge", [] { return withRle({1, 1, 0, 2, 3, 0, 0, 1}); }, 3, 2, S::DeltaPastImage},
        {"delta past the top", [] { return withRle({0, 2, 0, 2, 0, 1}); }, 3, 2, S::DeltaPastImage},
        {"delta cut", [] { return withRle({0, 2, 1}); }, 3, 2, S::MissingEndOfBitmap},
        {"absolute run cut", [] { return withRle({0, 3, 1, 1}); }, 3, 2, S::MissingEndOfBitmap},
        {"absolute run's pad cut", [] { return withRle({0, 3, 1, 1, 1}); }, 3, 2, S::MissingEndOfBitmap},
        {"no end of bitmap", [] { return withRle({3, 1, 0, 0, 3, 2, 0, 0}); }, 3, 2, S::MissingEndOfBitmap},
        {"odd trailing byte", [] { return withRle({3, 1, 0}); }, 3, 2, S::MissingEndOfBitmap},
    };
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = decode(c.file(), c.width, c.height);
        EXPECT_EQ(d.status, c.expected) << bitmapStatusText(d.status);
        for (const Rgba& p : d.pixels)
            ASSERT_EQ(p, (Rgba{0, 0, 0, 0}));
        EXPECT_STRNE(bitmapStatusText(d.status), bitmapStatusText(BitmapStatus::Ok));
    }
}

TEST(BitmapDecoder, HeaderReportsWhatTheFileSays)
{
    const std::vector<unsigned char> file = withRle({3, 1, 0, 0, 3, 2, 0, 1});
    BitmapHeader header;
    ASSERT_EQ(readBitmapHeader(file.data(), file.size(), header), BitmapStatus::Ok);
    EXPECT_EQ(header.width, 3);
    EXPECT_EQ(header.height, 2);
    EXPECT_TRUE(header.rle8);
    EXPECT_FALSE(header.topDown);
    EXPECT_EQ(header.paletteSize, 4);
    EXPECT_EQ(header.pixelOffset, 14u + 40 + 16);
    EXPECT_EQ(header.pixelBytes, 8u);
}
