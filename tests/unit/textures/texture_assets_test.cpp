// The icon we ship: only Windows reads it, and no other test looks inside.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "support/temp_dir.h"

// Three images of 16, 32 and 48 pixels, each an info header of twice the
// height (colour and mask), 256 colours, the colour rows and a 1-bit mask
// that clears some pixels but not all.
TEST(TextureAssets, IconHas16And32And48PixelImagesWithMasks)
{
    const std::string file = readText(std::string(QUELMAR_SOURCE_DIR) + "/assets/quelmar.ico");
    const std::vector<unsigned char> icon(file.begin(), file.end());
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
