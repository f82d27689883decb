// The bitmaps we ship: their formats, and the pictures' geometry where the
// overlay depends on it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "common/platform.h"
#include "common/posix/embedded_bitmaps.h"
#include "common/resources.h"
#include "textures/textures.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes asset(const std::string& name)
{
    std::ifstream in(std::string(QUELMAR_SOURCE_DIR) + "/assets/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

Bytes embedded(int id)
{
    for (int i = 0; i < embeddedBitmapCount; ++i)
        if (embeddedBitmaps[i].id == id)
            return {embeddedBitmaps[i].data, embeddedBitmaps[i].data + embeddedBitmaps[i].size};
    return {};
}

struct Picture {
    int width, height;
    Bytes rgba;
    const unsigned char* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    bool opaque(int x, int y) const { return at(x, y)[3] == 255; }
    bool yellow(int x, int y) const
    {
        return opaque(x, y) && at(x, y)[0] > 200 && at(x, y)[1] > 150 && at(x, y)[2] < 80;
    }
};

Picture read(int id, int width, int height)
{
    Picture p{width, height, Bytes(static_cast<size_t>(width) * height * 4)};
    EXPECT_TRUE(platformReadBitmap(programModule, id, width, height, true, p.rgba.data())) << id;
    return p;
}

} // namespace

TEST(TextureAssets, EveryBitmapHasItsSizeAndFormatAndOthersAreRefused)
{
    std::vector<TextureSpec> bitmaps(std::begin(textureSet), std::end(textureSet));
    bitmaps.push_back({IDB_TITLE, -1, 221, 186, false});  // the dialog's, a Windows resource only
    for (const TextureSpec& t : bitmaps) {
        const Bytes file = t.resourceId == IDB_TITLE ? asset("bitmaps/title.bmp") : embedded(t.resourceId);
        BitmapHeader h;
        ASSERT_EQ(readBitmapHeader(file.data(), file.size(), h), BitmapStatus::Ok) << t.resourceId;
        EXPECT_EQ(std::tuple(h.width, h.height, h.paletteSize, h.rle8),
                  std::tuple(t.width, t.height, 256, t.resourceId == IDB_CUBE || t.resourceId == IDB_CAPTION))
            << t.resourceId << ": width, height, colours, RLE8";
        Bytes rgba(static_cast<size_t>(t.width) * t.height * 4);
        EXPECT_EQ(decodeBitmap(file.data(), file.size(), t.width, t.height, t.colourKey, rgba.data()),
                  BitmapStatus::Ok) << t.resourceId;
    }
    Bytes rgba(256 * 256 * 4);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platformReadBitmap(programModule, IDB_CUBE, 128, 256, false, rgba.data()));
    EXPECT_FALSE(platformReadBitmap(programModule, 999, 4, 4, false, rgba.data()));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("bitmap 107: the bitmap is not of the expected size"), std::string::npos) << errors;
    EXPECT_NE(errors.find("bitmap 999: no such bitmap"), std::string::npos) << errors;
}

// The overlay draws the panel 1:1 with the energy bar over columns 2..29 and
// rows 23..141 of it, framed in yellow, with marks at 100, 50 and 0 %.
TEST(TextureAssets, TheEnergyPanelFramesTheBar)
{
    const Picture panel = read(IDB_ENERGYPANEL, 64, 256);
    EXPECT_TRUE(panel.at(0, 0)[0] == 128 && panel.at(0, 0)[1] == 0 && panel.at(0, 0)[2] == 128);
    for (int y = 22; y <= 142; ++y)
        for (int x = 1; x <= 30; ++x) {
            const bool frame = x == 1 || x == 30 || y == 22 || y == 142;
            ASSERT_EQ(panel.yellow(x, y), frame) << x << "," << y;
            ASSERT_TRUE(frame || !panel.opaque(x, y)) << x << "," << y;
        }
    for (const int row : {22, 82, 142})
        EXPECT_TRUE(panel.yellow(34, row) && !panel.opaque(34, row - 1) && !panel.opaque(34, row + 1)) << row;
}

// Three images of 16, 32 and 48 pixels, each an info header of twice the
// height (colour and mask), 256 colours, the colour rows and a 1-bit mask
// that clears some pixels but not all.
TEST(TextureAssets, IconHas16And32And48PixelImagesWithMasks)
{
    const Bytes icon = asset("quelmar.ico");
    const auto u32 = [&icon](size_t at) { return uint32_t{icon.at(at)} | icon.at(at + 1) << 8 | icon.at(at + 2) << 16 | uint32_t{icon.at(at + 3)} << 24; };
    ASSERT_EQ(std::tuple(u32(0), icon.at(4)), std::tuple(0x10000u, 3)) << "reserved, type icon, three images";
    for (uint32_t side = 16; side <= 48; side += 16) {
        const size_t entry = 6 + side - 16, size = u32(entry + 8), offset = u32(entry + 12);
        const size_t colourRows = side * side, maskRows = (side + 31) / 32 * 4 * side;
        EXPECT_EQ(std::tuple(icon[entry], icon[entry + 1], u32(entry + 4) >> 16, size), std::tuple(side, side, 8u, 40 + 1024 + colourRows + maskRows));
        ASSERT_LE(offset + size, icon.size());
        EXPECT_EQ(std::tuple(u32(offset), u32(offset + 4), u32(offset + 8)), std::tuple(40u, side, 2 * side)) << side;
        size_t clear = 0;
        for (size_t k = 0; k < maskRows; ++k)
            clear += static_cast<size_t>(__builtin_popcount(icon[offset + 40 + 1024 + colourRows + k]));
        EXPECT_TRUE(clear > colourRows / 4 && clear < colourRows * 9 / 10) << side;
    }
}
