#include <gtest/gtest.h>

#include "surface/palette.h"

namespace {

PaletteFormat rgb332()
{
    PaletteFormat format;
    format.flags = 0x25 | NeedPaletteFlag;
    format.colourBits = 8;
    format.redBits = 3;
    format.redShift = 0;
    format.greenBits = 3;
    format.greenShift = 3;
    format.blueBits = 2;
    format.blueShift = 6;
    return format;
}

// A system palette that is visibly not any ramp, so kept entries show.
void fillSystemPalette(PaletteColour* entries, int count)
{
    for (int i = 0; i < count; ++i)
        entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 77, 1};
}

TEST(PaletteChoice, OnlyFormatsThatAskForOneOrUseColourIndices)
{
    PaletteFormat trueColour;
    trueColour.flags = 0x25;
    trueColour.colourBits = 24;
    EXPECT_FALSE(formatNeedsPalette(trueColour));
    EXPECT_TRUE(formatNeedsPalette(rgb332()));
    PaletteFormat index;
    index.pixelType = ColourIndexPixelType;
    index.colourBits = 8;
    EXPECT_TRUE(formatNeedsPalette(index));
}

TEST(PaletteChoice, EntryCountIsTwoToTheColourBitsCappedAt256)
{
    PaletteFormat format;
    const int expected[][2] = {{1, 2}, {4, 16}, {7, 128}, {8, 256}, {16, 256}, {24, 256}, {32, 256}, {0, 1}};
    for (const auto& e : expected) {
        format.colourBits = e[0];
        EXPECT_EQ(paletteEntryCount(format), e[1]) << e[0] << " colour bits";
    }
}

TEST(PaletteRamp, ThreeThreeTwoColourCube)
{
    const PaletteFormat format = rgb332();
    PaletteColour entries[256];
    fillSystemPalette(entries, 256);
    fillPalette(format, entries, paletteEntryCount(format));

    const uint8_t redGreen[8] = {0, 36, 72, 109, 145, 182, 218, 255};
    const uint8_t blue[4] = {0, 85, 170, 255};
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(entries[i].red, redGreen[i & 7]) << "entry " << i;
        EXPECT_EQ(entries[i].green, redGreen[(i >> 3) & 7]) << "entry " << i;
        EXPECT_EQ(entries[i].blue, blue[(i >> 6) & 3]) << "entry " << i;
        EXPECT_EQ(entries[i].flags, 0) << "entry " << i;
    }
    EXPECT_EQ(entries[0].red + entries[0].green + entries[0].blue, 0);
    EXPECT_EQ(entries[255].red & entries[255].green & entries[255].blue, 255);
}

TEST(PaletteRamp, ColourIndexReplacesOnlyTheFirstFourEntries)
{
    PaletteFormat format;
    format.pixelType = ColourIndexPixelType;
    format.colourBits = 8;
    PaletteColour entries[256];
    fillSystemPalette(entries, 256);
    fillPalette(format, entries, paletteEntryCount(format));

    const PaletteColour primaries[4] = {{0, 0, 0, 4}, {255, 0, 0, 4}, {0, 255, 0, 4}, {0, 0, 255, 4}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(entries[i].red, primaries[i].red) << "entry " << i;
        EXPECT_EQ(entries[i].green, primaries[i].green) << "entry " << i;
        EXPECT_EQ(entries[i].blue, primaries[i].blue) << "entry " << i;
        EXPECT_EQ(entries[i].flags, NoCollapseFlag) << "entry " << i;
    }
    for (int i = 4; i < 256; ++i) {
        EXPECT_EQ(entries[i].red, i) << "entry " << i;
        EXPECT_EQ(entries[i].green, 255 - i) << "entry " << i;
        EXPECT_EQ(entries[i].flags, 1) << "entry " << i;
    }
}

TEST(PaletteRamp, SmallColourIndexFormatStaysInsideItsEntries)
{
    PaletteFormat format;
    format.pixelType = ColourIndexPixelType;
    format.colourBits = 1;
    PaletteColour entries[4];
    fillSystemPalette(entries, 4);
    fillPalette(format, entries, paletteEntryCount(format));
    EXPECT_EQ(entries[1].red, 255);
    EXPECT_EQ(entries[2].red, 2);  // beyond the two entries: untouched
    EXPECT_EQ(entries[3].blue, 77);
}

TEST(PaletteRamp, ChannelWithoutBitsStaysDarkInsteadOfDividingByZero)
{
    PaletteFormat format = rgb332();
    format.blueBits = 0;
    PaletteColour entries[256];
    fillPalette(format, entries, 256);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(entries[i].blue, 0) << "entry " << i;
    EXPECT_EQ(entries[7].red, 255);
}

TEST(PaletteRamp, WideFormatThatAsksForAPaletteGetsExactly256Entries)
{
    PaletteFormat format;
    format.flags = NeedPaletteFlag;
    format.colourBits = 16;
    format.redBits = 5;
    format.redShift = 11;
    format.greenBits = 6;
    format.greenShift = 5;
    format.blueBits = 5;
    format.blueShift = 0;
    ASSERT_EQ(paletteEntryCount(format), 256);
    PaletteColour entries[256];
    fillPalette(format, entries, 256);
    // Entry 255 = 0b11111111: blue 31 -> 255, green (255 >> 5) & 63 = 7 -> 28, red 0.
    EXPECT_EQ(entries[255].blue, 255);
    EXPECT_EQ(entries[255].green, 7 * 255 / 63);
    EXPECT_EQ(entries[255].red, 0);
}

} // namespace
