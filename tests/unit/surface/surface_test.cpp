// The clocks and the 8-bit palette.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ctime>

#include "backdrop/backdrop.h"
#include "scene/scene.h"
#include "surface/palette.h"
#include "surface/surface.h"

namespace {

// time() may read a coarse clock a few milliseconds behind: allow a second.
TEST(SampleClock, WallClockInWholeMillisecondsAndTheScriptedOneBefore1970)
{
    installScriptedClock(nullptr);
    TimeStamp t;
    const std::time_t before = std::time(nullptr);
    for (int i = 0; i < 500; ++i) {
        ASSERT_EQ(SampleClock(t), 0);
        ASSERT_TRUE(t.microseconds % 1000 == 0 && t.microseconds >= 0 && t.microseconds < 1000000);
    }
    EXPECT_TRUE(t.seconds >= before && t.seconds <= std::time(nullptr) + 1);
    ScriptedClock script{{}, 30, {0, 500000}};
    installScriptedClock(&script);
    advanceScriptedClock(script, -1501);  // the remainder stays positive
    SampleClock(t);
    EXPECT_TRUE(t.seconds == -2 && t.microseconds == 999000);
    installScriptedClock(nullptr);
}

TEST(SceneClock, DifferencesWrapLikeTheFieldsAndRoundOnceToFloat)
{
    const TimeStamp start{1000, 999000};
    // The microsecond factor is the float 1e-6: a millisecond comes out a few nanoseconds long.
    EXPECT_EQ(sceneClockAt({1001, 0}, start), static_cast<float>(1 - 999000 * double(1e-6f)));
    EXPECT_FLOAT_EQ(sceneClockAt({999, 0}, start), -1.999f);  // a clock set back
    EXPECT_FLOAT_EQ(sceneClockAt({INT32_MIN, 0}, {INT32_MAX, 0}), 1.0f);
    EXPECT_EQ(sceneClockAt({8192, 1000}, {0, 0}), static_cast<float>(8192.0 + 1000 * double(1e-6f)));
    EXPECT_EQ(sceneClockAt({40000, 1000}, {0, 0}), 40000.0f);  // below a float step
}

// Past the bound T and the stored times move back in phase, each distance kept to 1 ms.
TEST(SceneClock, PastTheBoundStoredTimesMoveBackWithItKeepingDistancesAndPhases)
{
    const std::pair<float*, double> stored[] = {{&camera.cameraLastChange, 0.5}, {&warp.warpStateStart, 17.25},
                                                {&encounter.lastEnergyChange, 400.125}, {&encounter.beam.startTime, 0.016}};
    for (const int32_t seconds : {-5, 8191, 8192, 604800, 1 << 24, 315360000}) {
        SceneStartTime = {2000000000, 250000};  // the late ones wrap past 2^31
        const double unrebased = seconds + 0.016;
        for (const auto& [time, distance] : stored)
            *time = static_cast<float>(unrebased - distance);
        advanceSceneClock({static_cast<int32_t>(2000000000u + static_cast<uint32_t>(seconds)), 266000});
        const int64_t moved = static_cast<int32_t>(static_cast<uint32_t>(SceneStartTime.seconds) - 2000000000u);
        EXPECT_TRUE(moved % 300 == 0 && (moved == 0) == (unrebased < 8192) && SceneClock < 8192 &&
                    std::abs(SceneClock - (unrebased - moved)) < 0.0005) << seconds << " s: moved " << moved;
        for (const auto& [time, distance] : stored)
            EXPECT_NEAR(SceneClock - *time, unrebased - static_cast<float>(unrebased - distance), 0.001) << seconds;
    }
}

using Colour = std::array<int, 4>;  // red, green, blue, flags
Colour colour(const PaletteColour& c) { return {c.red, c.green, c.blue, c.flags}; }

TEST(Palette, RgbRampsWithAChannelWithoutBitsDarkAndFourPrimariesForColourIndex)
{
    const PaletteFormat rgb332{.flags = 0x25 | NeedPaletteFlag, .colourBits = 8, .redBits = 3, .redShift = 0,
                               .greenBits = 3, .greenShift = 3, .blueBits = 2, .blueShift = 6};
    EXPECT_FALSE(formatNeedsPalette({.flags = 0x25, .colourBits = 24}));
    EXPECT_TRUE(formatNeedsPalette(rgb332));
    EXPECT_TRUE(formatNeedsPalette({.pixelType = ColourIndexPixelType, .colourBits = 8}));
    for (const auto& [bits, entries] : {std::pair{1, 2}, {7, 128}, {8, 256}, {32, 256}, {0, 1}})
        EXPECT_EQ(paletteEntryCount({.colourBits = bits}), entries) << bits;

    const int ramp[8] = {0, 36, 72, 109, 145, 182, 218, 255}, blue[4] = {0, 85, 170, 255};
    PaletteColour entries[256];
    for (const int blueBits : {2, 0}) {  // none: must not divide by zero
        PaletteFormat format = rgb332;
        format.blueBits = blueBits;
        fillPalette(format, entries, 256);
        for (int i = 0; i < 256; ++i)
            EXPECT_EQ(colour(entries[i]), (Colour{ramp[i & 7], ramp[i >> 3 & 7], blueBits ? blue[i >> 6] : 0, 0})) << i;
    }
    const Colour primaries[4] = {{0, 0, 0, NoCollapseFlag}, {255, 0, 0, NoCollapseFlag},
                                 {0, 255, 0, NoCollapseFlag}, {0, 0, 255, NoCollapseFlag}};
    for (const int bits : {8, 1}) {  // 1 bit: only two entries may be written; the rest stay the system's
        const PaletteFormat format{.pixelType = ColourIndexPixelType, .colourBits = bits};
        for (int i = 0; i < 256; ++i)
            entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 77, 1};
        const int count = paletteEntryCount(format);
        fillPalette(format, entries, count);
        for (int i = 0; i < 256; ++i)
            EXPECT_EQ(colour(entries[i]), (i < std::min(count, 4) ? primaries[i] : Colour{i, 255 - i, 77, 1})) << i;
    }
}

} // namespace
