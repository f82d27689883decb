// The compiled-in bitmaps: their formats, and the pictures' geometry where
// the overlay depends on it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/platform.h"
#include "common/posix/embedded_bitmaps.h"
#include "common/resources.h"
#include "textures/textures.h"

namespace {

const EmbeddedBitmap* embedded(int id)
{
    for (int i = 0; i < embeddedBitmapCount; ++i)
        if (embeddedBitmaps[i].id == id)
            return &embeddedBitmaps[i];
    return nullptr;
}

struct Picture {
    int width;
    int height;
    std::vector<unsigned char> rgba;

    const unsigned char* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    bool opaque(int x, int y) const { return at(x, y)[3] == 255; }
    bool yellow(int x, int y) const { return opaque(x, y) && at(x, y)[0] > 200 && at(x, y)[1] > 150 && at(x, y)[2] < 80; }
};

Picture read(int id, int width, int height, bool key)
{
    Picture p{width, height, std::vector<unsigned char>(static_cast<size_t>(width) * height * 4)};
    EXPECT_TRUE(platformReadBitmap(programModule, id, width, height, key, p.rgba.data())) << id;
    return p;
}

} // namespace

TEST(TextureAssets, EverySlotHasAn8BitBitmapOfItsSize)
{
    for (const TextureSpec& texture : textureSet) {
        SCOPED_TRACE(texture.resourceId);
        const EmbeddedBitmap* bitmap = embedded(texture.resourceId);
        ASSERT_NE(bitmap, nullptr);
        BitmapHeader header;
        ASSERT_EQ(readBitmapHeader(bitmap->data, bitmap->size, header), BitmapStatus::Ok);
        EXPECT_EQ(header.width, texture.width);
        EXPECT_EQ(header.height, texture.height);
        EXPECT_EQ(header.paletteSize, 256);
        const bool compressed = texture.resourceId == IDB_CUBE || texture.resourceId == IDB_CAPTION;
        EXPECT_EQ(header.rle8, compressed);
        read(texture.resourceId, texture.width, texture.height, texture.colourKey);
    }
}

TEST(TextureAssets, WrongSizesAndUnknownIdsAreRefused)
{
    std::vector<unsigned char> rgba(256 * 256 * 4);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platformReadBitmap(programModule, IDB_CUBE, 128, 256, false, rgba.data()));
    EXPECT_FALSE(platformReadBitmap(programModule, 999, 4, 4, false, rgba.data()));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("bitmap 107: the bitmap is not of the expected size"), std::string::npos) << errors;
    EXPECT_NE(errors.find("bitmap 999: no such bitmap"), std::string::npos) << errors;
}

TEST(TextureAssets, CaptionIsWhiteLetteringOnTheKey)
{
    const Picture caption = read(IDB_CAPTION, 256, 16, true);
    const unsigned char* corner = caption.at(0, 0);
    EXPECT_EQ(corner[0] + corner[1] + corner[2], 0);
    int transparent = 0, white = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 256; ++x) {
            const unsigned char* p = caption.at(x, y);
            transparent += p[3] == 0;
            white += p[3] == 255 && p[0] == 255 && p[1] == 255 && p[2] == 255;
        }
    EXPECT_GT(transparent, 256 * 16 / 3);
    EXPECT_GT(white, 300);
}

// The overlay draws the panel at 1:1 with the energy bar over columns 2..29
// and rows 23..141 of it (its foot on row 142's top edge).
TEST(TextureAssets, EnergyPanelFramesTheBarAndMarksItsLevels)
{
    const Picture panel = read(IDB_ENERGYPANEL, 64, 256, true);
    // The key is the purple background, nothing drawn over the corner.
    const unsigned char* corner = panel.at(0, 0);
    EXPECT_TRUE(corner[0] == 128 && corner[1] == 0 && corner[2] == 128);
    for (int y = 23; y <= 141; ++y)
        for (int x = 2; x <= 29; ++x)
            ASSERT_FALSE(panel.opaque(x, y)) << "the bar's area must stay clear at " << x << "," << y;
    for (int x = 1; x <= 30; ++x) {
        EXPECT_TRUE(panel.yellow(x, 22)) << "top of the frame at column " << x;
        EXPECT_TRUE(panel.yellow(x, 142)) << "foot of the frame at column " << x;
    }
    for (int y = 22; y <= 142; ++y) {
        EXPECT_TRUE(panel.yellow(1, y)) << "left of the frame at row " << y;
        EXPECT_TRUE(panel.yellow(30, y)) << "right of the frame at row " << y;
    }
    // 100 %, 50 % (the bar's top at 59.5 rows: inside row 82) and 0 %.
    for (const int row : {22, 82, 142}) {
        EXPECT_TRUE(panel.yellow(34, row)) << "mark at row " << row;
        EXPECT_FALSE(panel.opaque(34, row - 1));
        EXPECT_FALSE(panel.opaque(34, row + 1));
    }
}

namespace {

std::vector<unsigned char> readAsset(const std::string& name)
{
    std::vector<unsigned char> bytes;
    if (std::FILE* f = std::fopen((std::string(QUELMAR_SOURCE_DIR) + "/assets/" + name).c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF)
            bytes.push_back(static_cast<unsigned char>(c));
        std::fclose(f);
    }
    return bytes;
}

uint32_t little(const std::vector<unsigned char>& b, size_t at, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | b.at(at + i);
    return v;
}

} // namespace

// The dialog's title picture and the icon are resources of the Windows
// program only; here their files are checked.
TEST(TextureAssets, TitlePictureIsAnUncompressed256ColourBitmap)
{
    const std::vector<unsigned char> title = readAsset("bitmaps/title.bmp");
    BitmapHeader header;
    ASSERT_EQ(readBitmapHeader(title.data(), title.size(), header), BitmapStatus::Ok);
    EXPECT_EQ(header.width, 221);
    EXPECT_EQ(header.height, 186);
    EXPECT_FALSE(header.rle8);
    EXPECT_EQ(header.paletteSize, 256);
    std::vector<unsigned char> rgba(221 * 186 * 4);
    EXPECT_EQ(decodeBitmap(title.data(), title.size(), 221, 186, false, rgba.data()), BitmapStatus::Ok);
}

TEST(TextureAssets, IconHas16And32And48PixelImagesWithMasks)
{
    const std::vector<unsigned char> icon = readAsset("quelmar.ico");
    ASSERT_GE(icon.size(), 6u + 3 * 16);
    EXPECT_EQ(little(icon, 0, 2), 0u);
    EXPECT_EQ(little(icon, 2, 2), 1u);  // an icon
    ASSERT_EQ(little(icon, 4, 2), 3u);
    const int sides[] = {16, 32, 48};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(sides[i]);
        const size_t entry = 6 + 16 * static_cast<size_t>(i);
        EXPECT_EQ(icon[entry], sides[i]);
        EXPECT_EQ(icon[entry + 1], sides[i]);
        EXPECT_EQ(little(icon, entry + 6, 2), 8u);  // bits a pixel
        const uint32_t size = little(icon, entry + 8, 4);
        const uint32_t offset = little(icon, entry + 12, 4);
        ASSERT_LE(size_t{offset} + size, icon.size());
        // The image: an info header of twice the height (colour and mask),
        // 256 colours, then the colour rows and the 1-bit mask rows.
        EXPECT_EQ(little(icon, offset, 4), 40u);
        EXPECT_EQ(static_cast<int>(little(icon, offset + 4, 4)), sides[i]);
        EXPECT_EQ(static_cast<int>(little(icon, offset + 8, 4)), 2 * sides[i]);
        const size_t colourRows = static_cast<size_t>(sides[i]) * sides[i];  // sides are multiples of 4
        const size_t maskRows = static_cast<size_t>((sides[i] + 31) / 32 * 4) * sides[i];
        EXPECT_EQ(size, 40 + 256 * 4 + colourRows + maskRows);
        // Some pixels are clear (the ship does not fill its square), some not.
        size_t clear = 0;
        for (size_t k = 0; k < maskRows; ++k)
            clear += static_cast<size_t>(__builtin_popcount(icon[offset + 40 + 1024 + colourRows + k]));
        EXPECT_GT(clear, colourRows / 4);
        EXPECT_LT(clear, colourRows * 9 / 10);
    }
}
