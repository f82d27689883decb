// The stars and the warp lines: layouts, batches, the wrap and the flash ring.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/scene_driver.h"

namespace {

TEST(Stars, LieOnTheShellDoNotMoveAndBatchAtAThirdAndTwoThirds)
{
    SceneDriver driver(1234567);
    settings.activeStarCount = 599;
    initStars();
    EXPECT_EQ(starField.stars[599][0], 0.0f);  // records past the count stay unused
    for (int i = 0; i < 599; ++i)
        EXPECT_NEAR(std::hypot(starField.stars[i][0], starField.stars[i][1], starField.stars[i][2]),
                    120 * std::sqrt(3.0), 1e-3) << i;
    const StarField before = starField;
    for (int k = 0; k < 100; ++k)
        driver.frame();
    EXPECT_EQ(std::memcmp(&before, &starField, sizeof before), 0);

    for (const auto& [count, first, second] : {std::tuple{100, 33, 66}, {300, 99, 198}, {600, 198, 396}, {301, 100, 199}}) {
        int ends[3];
        starBatchEnds(count, ends);
        EXPECT_EQ(std::tuple(ends[0], ends[1], ends[2]), std::tuple(first, second, count)) << count;
    }
}

TEST(WarpLines, StartOutsideTheTunnelInTheBoxAndWrapToExactlyOneHundred)
{
    for (uint32_t seed : {1u, 77u, 1700000000u}) {
        resetScene();
        seedRandom(seed);
        settings.activeWarpLineCount = 600;
        initWarpLines();
        for (int i = 0; i < 600; ++i) {
            const float* l = warpLines.lines[i];
            EXPECT_TRUE(l[0] >= -100 && l[0] <= 99 && l[0] == std::trunc(l[0])) << l[0];
            EXPECT_TRUE(l[1] >= -50 && l[1] <= 49 && l[2] >= -50 && l[2] <= 49);
            EXPECT_FALSE(std::fabs(l[1]) < 6 && std::fabs(l[2]) < 6) << "line " << i;
        }
    }
    settings.activeWarpLineCount = 100;
    warpLines.lines[0][0] = -99.95f;
    warpLines.lines[1][0] = -99.9f;  // -100.0 exactly is not below -100
    warpLines.lines[100][0] = 5;     // past the count: never moved
    warp.warpLineSpeed = 0.1f;
    moveWarpLines();
    EXPECT_EQ(warpLines.lines[0][0], 100.0f);
    EXPECT_NEAR(warpLines.lines[1][0], -100.0f, 1e-4);
    EXPECT_EQ(warpLines.lines[100][0], 5.0f);

    initFlashRing();  // twenty points 18 degrees apart, the last back at the start
    for (int k = 0; k < 20; ++k) {
        const double theta = (k + 1) * 18.0 * 3.141592653589793 / 180.0;
        EXPECT_NEAR(flashRing.points[k][1], -5 * std::sin(theta), 1e-5) << k;
        EXPECT_NEAR(flashRing.points[k][2], 5 * std::cos(theta), 1e-5) << k;
    }
}

} // namespace
