#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/scene_driver.h"

namespace {

TEST(WarpLines, StartOutsideTheTunnelWithinTheBox)
{
    for (uint32_t seed : {1u, 77u, 1700000000u}) {
        resetScene();
        seedRandom(seed);
        settings.activeWarpLineCount = 600;
        initWarpLines();
        for (int i = 0; i < 600; ++i) {
            const float* l = warpLines.lines[i];
            EXPECT_GE(l[0], -100);
            EXPECT_LE(l[0], 99);
            EXPECT_GE(l[1], -50);
            EXPECT_LE(l[1], 49);
            EXPECT_GE(l[2], -50);
            EXPECT_LE(l[2], 49);
            EXPECT_FALSE(std::fabs(l[1]) < 6 && std::fabs(l[2]) < 6) << "line " << i;
            EXPECT_EQ(l[0], std::trunc(l[0]));
        }
    }
}

TEST(WarpLines, LayoutDependsOnWarpLinesComingBeforeStars)
{
    // Same seed, same order: same layouts. The stars follow the lines' draws.
    resetScene();
    seedRandom(99);
    initWarpLines();
    const uint64_t afterLines = sceneRandom.calls;
    initStars();
    const WarpLines lines = warpLines;
    const StarField stars = starField;
    EXPECT_EQ(sceneRandom.calls - afterLines, 3u * 300u);

    resetScene();
    seedRandom(99);
    initWarpLines();
    initStars();
    EXPECT_EQ(std::memcmp(&lines, &warpLines, sizeof lines), 0);
    EXPECT_EQ(std::memcmp(&stars, &starField, sizeof stars), 0);
}

TEST(WarpLines, MoveAlongMinusXAndWrapToExactlyOneHundred)
{
    resetScene();
    settings.activeWarpLineCount = 100;
    warpLines.lines[0][0] = -99.95f;
    warpLines.lines[0][1] = 7;
    warpLines.lines[1][0] = 50;
    warpLines.lines[100][0] = 5;  // past the count: never moved
    warp.warpLineSpeed = 0.1f;
    moveWarpLines();
    EXPECT_EQ(warpLines.lines[0][0], 100.0f);
    EXPECT_EQ(warpLines.lines[0][1], 7.0f);
    EXPECT_FLOAT_EQ(warpLines.lines[1][0], 49.9f);
    EXPECT_EQ(warpLines.lines[100][0], 5.0f);

    warpLines.lines[0][0] = -99.9f;
    moveWarpLines();  // -100.0 exactly is not below -100
    EXPECT_NEAR(warpLines.lines[0][0], -100.0f, 1e-4);
    EXPECT_GE(warpLines.lines[0][0], -100.0f);
}

TEST(FlashRing, TwentyPointsEighteenDegreesApartEndingAtTheStart)
{
    resetScene();
    initFlashRing();
    for (int k = 0; k < 20; ++k) {
        const double theta = (k + 1) * 18.0 * 3.141592653589793 / 180.0;
        const float* p = flashRing.points[k];
        EXPECT_FLOAT_EQ(p[0], 0);
        EXPECT_NEAR(p[1], -5 * std::sin(theta), 1e-5) << k;
        EXPECT_NEAR(p[2], 5 * std::cos(theta), 1e-5) << k;
    }
    EXPECT_NEAR(flashRing.points[19][1], 0, 1e-5);  // 360 degrees: back at (0, 0, 5)
    EXPECT_NEAR(flashRing.points[19][2], 5, 1e-5);
}

} // namespace
