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

TEST(TextureAssets, CaptionIsLetteringOnTheKeyAndTheEnergyPanelFramesTheBar)
{
    const Picture caption = read(IDB_CAPTION, 256, 16);
    EXPECT_EQ(caption.at(0, 0)[0] + caption.at(0, 0)[1] + caption.at(0, 0)[2], 0);
    int transparent = 0, white = 0;
    for (size_t i = 0; i < caption.rgba.size(); i += 4) {
        const unsigned char* p = &caption.rgba[i];
        transparent += p[3] == 0;
        white += p[3] == 255 && p[0] == 255 && p[1] == 255 && p[2] == 255;
    }
    EXPECT_GT(transparent, 256 * 16 / 3);
    EXPECT_GT(white, 300);

    // The overlay draws the panel at 1:1 with the energy bar over columns
    // 2..29 and rows 23..141 of it (its foot on row 142's top edge).
    const Picture panel = read(IDB_ENERGYPANEL, 64, 256);
    const unsigned char* key = panel.at(0, 0);
    EXPECT_TRUE(key[0] == 128 && key[1] == 0 && key[2] == 128) << "the key is the purple background";
    for (int y = 23; y <= 141; ++y)
        for (int x = 2; x <= 29; ++x)
            ASSERT_FALSE(panel.opaque(x, y)) << "the bar's area must stay clear at " << x << "," << y;
    for (int x = 1; x <= 30; ++x)
        EXPECT_TRUE(panel.yellow(x, 22) && panel.yellow(x, 142)) << "top or foot of the frame at column " << x;
    for (int y = 22; y <= 142; ++y)
        EXPECT_TRUE(panel.yellow(1, y) && panel.yellow(30, y)) << "sides of the frame at row " << y;
    // 100 %, 50 % (the bar's top at 59.5 rows: inside row 82) and 0 %.
    for (const int row : {22, 82, 142})
        EXPECT_TRUE(panel.yellow(34, row) && !panel.opaque(34, row - 1) && !panel.opaque(34, row + 1))
            << "mark at row " << row;
}

TEST(TextureAssets, IconHas16And32And48PixelImagesWithMasks)
{
    const Bytes icon = asset("quelmar.ico");
    const auto u16 = [&icon](size_t at) { return static_cast<uint32_t>(icon.at(at) | icon.at(at + 1) << 8); };
    const auto u32 = [&u16](size_t at) { return u16(at) | u16(at + 2) << 16; };
    ASSERT_GE(icon.size(), 6u + 3 * 16);
    ASSERT_EQ(std::tuple(u16(0), u16(2), u16(4)), std::tuple(0u, 1u, 3u)) << "reserved, type icon, three images";
    for (uint32_t i = 0; i < 3; ++i) {
        const uint32_t side = 16 * (i + 1), entry = 6 + 16 * i;
        const uint32_t size = u32(entry + 8), offset = u32(entry + 12);
        EXPECT_EQ(std::tuple(uint32_t{icon[entry]}, uint32_t{icon[entry + 1]}, u16(entry + 6)),
                  std::tuple(side, side, 8u)) << side << ": width, height, bits a pixel";
        ASSERT_LE(size_t{offset} + size, icon.size());
        // An info header of twice the height (colour and mask), 256 colours,
        // the colour rows, then the 1-bit mask rows.
        EXPECT_EQ(std::tuple(u32(offset), u32(offset + 4), u32(offset + 8)), std::tuple(40u, side, 2 * side)) << side;
        const size_t colourRows = side * side, maskRows = (side + 31) / 32 * 4 * side;
        EXPECT_EQ(size, 40 + 256 * 4 + colourRows + maskRows) << side;
        // Some pixels are clear (the ship does not fill its square), some not.
        size_t clear = 0;
        for (size_t k = 0; k < maskRows; ++k)
            clear += static_cast<size_t>(__builtin_popcount(icon[offset + 40 + 1024 + colourRows + k]));
        EXPECT_GT(clear, colourRows / 4) << side;
        EXPECT_LT(clear, colourRows * 9 / 10) << side;
    }
}
