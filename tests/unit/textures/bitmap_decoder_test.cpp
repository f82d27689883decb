// The decoder against small hand-made bitmaps, well-formed and malformed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "textures/textures.h"

namespace {

using Bytes = std::vector<unsigned char>;
struct Rgba {
    unsigned char r, g, b, a;
    bool operator==(const Rgba&) const = default;
    friend std::ostream& operator<<(std::ostream& o, Rgba p)
    {
        return o << '(' << +p.r << ',' << +p.g << ',' << +p.b << ',' << +p.a << ')';
    }
};
const Rgba R{200, 10, 20, 255}, G{10, 180, 30, 255}, B{5, 15, 220, 255}, Y{90, 90, 90, 255}, K{0, 0, 0, 255};

// Every header field can be set, including to nonsense. By default 3 x 2,
// uncompressed: top row R G B, bottom row Y R G (Y grey).
struct TestBitmap {
    int64_t signature = 'B' | 'M' << 8;
    int64_t width = 3, height = 2;  // negative height: top-down
    int64_t planes = 1, bitCount = 8, compression = 0, infoSize = 40;  // compression 1: RLE8
    std::vector<Rgba> palette{R, G, B, Y};  // alpha unused
    int64_t coloursUsed = -1, pixelOffset = -1, imageSize = -1;  // -1: what the file holds
    Bytes pixels{3, 0, 1, 0, 0, 1, 2, 0};  // rows padded to 4 bytes, in file order; or the RLE8 stream

    Bytes bytes() const
    {
        const int64_t paletteEnd = 14 + infoSize + 4 * static_cast<int64_t>(palette.size());
        const int64_t pixelBytes = static_cast<int64_t>(pixels.size());
        const std::pair<int64_t, int> fields[] = {
            {signature, 2}, {paletteEnd + pixelBytes, 4}, {0, 4},
            {pixelOffset >= 0 ? pixelOffset : paletteEnd, 4}, {infoSize, 4}, {width, 4}, {height, 4},
            {planes, 2}, {bitCount, 2}, {compression, 4}, {imageSize >= 0 ? imageSize : pixelBytes, 4},
            {0, 8}, {coloursUsed >= 0 ? coloursUsed : static_cast<int64_t>(palette.size()), 4}, {0, 4}};
        Bytes out;
        for (const auto& [value, size] : fields)
            for (int i = 0; i < size; ++i)
                out.push_back(static_cast<unsigned char>(value >> 8 * i));
        out.resize(out.size() + std::clamp<int64_t>(infoSize, 40, 124) - 40, 0);  // later header versions
        for (const Rgba& c : palette)
            out.insert(out.end(), {c.b, c.g, c.r, 0});
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

// The status and the pixels, top row first. The file is copied to exactly its size, so the
// address sanitizer sees any read past it; guard pixels around the output catch stray writes.
std::pair<BitmapStatus, std::vector<Rgba>> decode(const Bytes& file, int32_t width, int32_t height, bool key = false)
{
    const Rgba Guard{0xA5, 0xA5, 0xA5, 0xA5};
    constexpr size_t Guards = 16;
    const Bytes data(file);
    const size_t count = width > 0 && height > 0 ? static_cast<size_t>(width) * height : 0;
    std::vector<Rgba> buffer(count + 2 * Guards, Guard);
    const BitmapStatus status = decodeBitmap(data.data(), data.size(), width, height, key,
                                             reinterpret_cast<unsigned char*>(buffer.data() + Guards));
    const std::vector<Rgba> guards(Guards, Guard);
    EXPECT_TRUE(std::equal(guards.begin(), guards.end(), buffer.begin())) << "written before the buffer";
    EXPECT_TRUE(std::equal(guards.begin(), guards.end(), buffer.end() - Guards)) << "written past the buffer";
    return {status, {buffer.begin() + Guards, buffer.end() - Guards}};
}

TestBitmap rle(Bytes stream) { return {.compression = 1, .pixels = std::move(stream)}; }

} // namespace

TEST(BitmapDecoder, DecodesBothRowOrdersEveryRle8CodeAndTheColourKey)
{
    std::vector<Rgba> full(256, Rgba{1, 2, 3, 255});
    std::copy_n(TestBitmap{}.palette.begin(), 4, full.begin());
    // The key colour k; x, y and z are one step off in one channel each.
    const Rgba k{10, 20, 30, 255}, x{11, 20, 30, 255}, y{10, 21, 30, 255}, z{10, 20, 29, 255}, w{255, 255, 255, 255},
        clear{10, 20, 30, 0};
    const TestBitmap keyed{.width = 6, .palette = {k, x, y, z, k, w},
                           .pixels = {5, 5, 5, 5, 5, 0, 0, 0, 0, 1, 2, 3, 4, 5, 0, 0}};
    const struct {
        const char* name;
        TestBitmap bitmap;
        std::vector<Rgba> expected;
        bool key = false;
    } cases[] = {
        {"bottom-up", {}, {R, G, B, Y, R, G}},
        {"top-down", {.height = -2, .pixels = {0, 1, 2, 0, 3, 0, 1, 0}}, {R, G, B, Y, R, G}},
        {"V5 info header", {.infoSize = 124}, {R, G, B, Y, R, G}},
        {"256 colours", {.palette = full, .coloursUsed = 0, .pixels = {3, 0, 255, 0, 0, 1, 2, 0}},
         {R, G, B, Y, R, {1, 2, 3, 255}}},
        {"last row's pad missing", {.pixels = {3, 0, 1, 0, 0, 1, 2}}, {R, G, B, Y, R, G}},
        // Bottom row: run G G, absolute B R Y (odd: one pad byte), line end;
        // middle: R, delta 3 right 1 up; top from x = 4: G, end of bitmap.
        // Skipped pixels are black.
        {"RLE8", {.width = 5, .height = 3, .compression = 1,
                  .pixels = {2, 1, 0, 3, 2, 0, 3, 0, 0, 0, 1, 0, 0, 2, 3, 1, 1, 1, 0, 1}},
         {K, K, K, K, G, R, K, K, K, K, G, G, B, R, Y}},
        {"RLE8 even run, no pad", {.width = 4, .height = 1, .compression = 1, .pixels = {0, 4, 3, 2, 1, 0, 0, 1}},
         {Y, B, G, R}},
        {"key: exactly the top-left colour", keyed, {clear, x, y, z, clear, w, w, w, w, w, w, clear}, true},
        {"no key: all opaque", keyed, {k, x, y, z, k, w, w, w, w, w, w, k}},
        {"key: the decoded top-left colour, not palette entry 0",
         {.width = 2, .compression = 1, .palette = {k, R}, .pixels = {1, 1, 1, 0, 0, 0, 0, 1}}, {{}, {}, R, k}, true},
    };
    for (const auto& c : cases) {
        const auto [status, pixels] = decode(c.bitmap.bytes(), static_cast<int32_t>(c.bitmap.width),
                                             static_cast<int32_t>(std::abs(c.bitmap.height)), c.key);
        ASSERT_EQ(status, BitmapStatus::Ok) << c.name << ": " << bitmapStatusText(status);
        EXPECT_EQ(pixels, c.expected) << c.name;
    }
}

TEST(BitmapDecoder, MalformedInputGivesItsStatusAndAClearedBuffer)
{
    using S = BitmapStatus;
    constexpr size_t Whole = SIZE_MAX;
    const struct {
        const char* name;
        S expected;
        TestBitmap bitmap;
        size_t cutTo = Whole;
        int32_t width = 3, height = 2;  // what the caller expects
    } cases[] = {
        {"empty", S::TruncatedFileHeader, {}, 0}, {"13 bytes", S::TruncatedFileHeader, {}, 13},
        {"no signature", S::NotABitmap, {.signature = 'B' | 'A' << 8}},
        {"no info size", S::TruncatedInfoHeader, {}, 16}, {"info header cut", S::TruncatedInfoHeader, {}, 14 + 39},
        {"core header", S::UnsupportedHeader, {.infoSize = 12}},
        {"huge info header", S::TruncatedInfoHeader, {.infoSize = 0xFFFFFFFF}},
        {"24-bit", S::UnsupportedFormat, {.bitCount = 24}}, {"two planes", S::UnsupportedFormat, {.planes = 2}},
        {"RLE4", S::UnsupportedFormat, {.compression = 2}}, {"bit fields", S::UnsupportedFormat, {.compression = 3}},
        {"width 0", S::BadDimensions, {.width = 0}}, {"negative width", S::BadDimensions, {.width = -3}},
        {"height 0", S::BadDimensions, {.height = 0}},
        {"most negative height", S::BadDimensions, {.height = INT32_MIN}},
        {"absurd width", S::BadDimensions, {.width = 1 << 30}},
        {"absurd top-down height", S::BadDimensions, {.height = -5000}},
        {"top-down RLE8", S::CompressedTopDown, {.height = -2, .compression = 1}},
        {"wider than expected", S::SizeMismatch, {}, Whole, 2, 2},
        {"lower than expected", S::SizeMismatch, {}, Whole, 3, 3},
        {"expected size absurd", S::SizeMismatch, {}, Whole, 3, -2},
        {"257 colours", S::PaletteTooLarge, {.coloursUsed = 257}},
        {"palette cut", S::TruncatedPalette, {}, 14 + 40 + 10},
        {"palette past the data", S::TruncatedPalette, {.coloursUsed = 200}},
        {"pixels inside the palette", S::PixelOffsetInHeaders, {.pixelOffset = 60}},
        {"pixel offset past the end", S::TruncatedPixels, {.pixelOffset = 0x7FFFFFFF}},
        {"pixel rows cut", S::TruncatedPixels, {}, 14 + 40 + 16 + 6},
        {"RLE8 size past the end", S::TruncatedPixels, {.compression = 1, .imageSize = 100, .pixels = {0, 1}}},
        {"index past the palette", S::PaletteIndexPastPalette, {.pixels = {3, 0, 1, 0, 0, 4, 2, 0}}},
        {"RLE8 run index past the palette", S::PaletteIndexPastPalette, rle({2, 7, 0, 1})},
        {"RLE8 absolute index past the palette", S::PaletteIndexPastPalette, rle({0, 3, 1, 9, 2, 0, 0, 1})},
        {"run past the row", S::RunPastRow, rle({2, 1, 2, 1, 0, 1})},
        {"absolute run past the row", S::RunPastRow, rle({1, 1, 0, 3, 1, 1, 1, 0, 0, 1})},
        {"run past the last row", S::RunPastImage, rle({0, 0, 0, 0, 1, 2, 0, 1})},
        {"absolute run past the last row", S::RunPastImage, rle({0, 0, 0, 0, 0, 3, 1, 1, 1, 0, 0, 1})},
        {"line ends past the last row", S::RunPastImage, rle({0, 0, 0, 0, 0, 0, 0, 1})},
        {"delta past the right edge", S::DeltaPastImage, rle({1, 1, 0, 2, 3, 0, 0, 1})},
        {"delta past the top", S::DeltaPastImage, rle({0, 2, 0, 2, 0, 1})},
        {"delta cut", S::MissingEndOfBitmap, rle({0, 2, 1})},
        {"absolute run cut", S::MissingEndOfBitmap, rle({0, 3, 1, 1})},
        {"absolute run's pad cut", S::MissingEndOfBitmap, rle({0, 3, 1, 1, 1})},
        {"no end of bitmap", S::MissingEndOfBitmap, rle({3, 1, 0, 0, 3, 2, 0, 0})},
        {"odd trailing byte", S::MissingEndOfBitmap, rle({3, 1, 0})},
    };
    for (const auto& c : cases) {
        Bytes file = c.bitmap.bytes();
        file.resize(std::min(file.size(), c.cutTo));
        const auto [status, pixels] = decode(file, c.width, c.height);
        EXPECT_EQ(status, c.expected) << c.name << ": got \"" << bitmapStatusText(status) << "\", want \""
                                      << bitmapStatusText(c.expected) << '"';
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), Rgba{}), std::ssize(pixels)) << c.name << ": not cleared";
        EXPECT_STRNE(bitmapStatusText(status), bitmapStatusText(S::Ok)) << c.name;
    }
}
