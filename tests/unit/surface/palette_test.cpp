#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "surface/palette.h"

namespace {

using Colour = std::array<int, 4>;  // red, green, blue, flags
Colour colour(const PaletteColour& c) { return {c.red, c.green, c.blue, c.flags}; }

const PaletteFormat Rgb332{.flags = 0x25 | NeedPaletteFlag, .colourBits = 8, .redBits = 3, .redShift = 0,
                           .greenBits = 3, .greenShift = 3, .blueBits = 2, .blueShift = 6};

TEST(Palette, WhichFormatsNeedOneAndHowManyEntries)
{
    EXPECT_FALSE(formatNeedsPalette({.flags = 0x25, .colourBits = 24}));
    EXPECT_TRUE(formatNeedsPalette(Rgb332));
    EXPECT_TRUE(formatNeedsPalette({.pixelType = ColourIndexPixelType, .colourBits = 8}));
    for (const auto& [bits, entries] : {std::pair{1, 2}, {4, 16}, {7, 128}, {8, 256}, {16, 256}, {32, 256}, {0, 1}})
        EXPECT_EQ(paletteEntryCount({.colourBits = bits}), entries) << bits << " colour bits";
}

TEST(Palette, RgbFormatsGetTheirColourRampAndAChannelWithoutBitsStaysDark)
{
    PaletteColour entries[256];
    fillPalette(Rgb332, entries, 256);
    const int redGreen[8] = {0, 36, 72, 109, 145, 182, 218, 255}, blue[4] = {0, 85, 170, 255};
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(colour(entries[i]), (Colour{redGreen[i & 7], redGreen[i >> 3 & 7], blue[i >> 6], 0})) << i;

    PaletteFormat noBlue = Rgb332;
    noBlue.blueBits = 0;  // must not divide by zero
    fillPalette(noBlue, entries, 256);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(colour(entries[i]), (Colour{redGreen[i & 7], redGreen[i >> 3 & 7], 0, 0})) << i;
}

TEST(Palette, ColourIndexFormatsGetFourPrimariesAndKeepTheSystemColours)
{
    const Colour primaries[4] = {{0, 0, 0, NoCollapseFlag}, {255, 0, 0, NoCollapseFlag},
                                 {0, 255, 0, NoCollapseFlag}, {0, 0, 255, NoCollapseFlag}};
    for (const int bits : {8, 1}) {  // 1 bit: only two entries may be written
        const PaletteFormat format{.pixelType = ColourIndexPixelType, .colourBits = bits};
        PaletteColour entries[256];
        for (int i = 0; i < 256; ++i)
            entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 77, 1};
        const int count = paletteEntryCount(format);
        fillPalette(format, entries, count);
        for (int i = 0; i < 256; ++i)
            EXPECT_EQ(colour(entries[i]), (i < std::min(count, 4) ? primaries[i] : Colour{i, 255 - i, 77, 1}))
                << bits << " bits, entry " << i;
    }
}

} // namespace
