#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/scene_driver.h"

namespace {

TEST(RotatePoint, TurnsAboutXThenYThenZSkippingZeroAndNegativeAngles)
{
    const struct {
        float p[3], ax, ay, az, want[3];
    } cases[] = {
        {{1.5f, -2.25f, 3}, 0, 0, 0, {1.5f, -2.25f, 3}},  // all zero: untouched
        {{0, 0, 5}, 90, 0, 0, {0, -5, 0}},                // z towards -y
        {{1, 0, 0}, 0, 90, 0, {0, 0, -1}},                // x towards -z, X step with 0
        {{1, 0, 0}, 0, 0, 90, {0, 1, 0}},                 // x towards +y
        {{0, 1, 0}, 90, 90, 0, {1, 0, 0}},                // X first, then Y
        {{1, 2, 3}, 0, -90, -90, {1, 2, 3}},              // negative Y and Z angles skipped
    };
    for (const auto& c : cases) {
        float p[3] = {c.p[0], c.p[1], c.p[2]};
        rotatePoint(p, c.ax, c.ay, c.az);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(p[axis], c.want[axis], 1e-5) << c.ax << " " << c.ay << " " << c.az;
    }
}

TEST(Stars, LieOnTheShellAndDoNotMove)
{
    SceneDriver driver(1234567);
    settings.activeStarCount = 599;
    const uint64_t drawsBefore = sceneRandom.calls;
    initStars();
    EXPECT_EQ(sceneRandom.calls - drawsBefore, 3u * 599);
    EXPECT_EQ(starField.stars[599][0], 0.0f);  // records past the count stay unused
    const double radius = 120 * std::sqrt(3.0);
    for (int i = 0; i < 599; ++i) {
        const float* s = starField.stars[i];
        EXPECT_NEAR(std::sqrt(double(s[0]) * s[0] + double(s[1]) * s[1] + double(s[2]) * s[2]), radius, 1e-3)
            << "star " << i;
    }
    const StarField before = starField;
    for (int k = 0; k < 300; ++k)
        driver.frame();
    EXPECT_EQ(std::memcmp(&before, &starField, sizeof before), 0);
}

TEST(Stars, BatchesSplitAtAThirdAndTwoThirds)
{
    const struct {
        int count, first, second, third;
    } cases[] = {{100, 33, 33, 34}, {300, 99, 99, 102}, {600, 198, 198, 204}};
    for (const auto& c : cases) {
        int ends[3];
        starBatchEnds(c.count, ends);
        EXPECT_EQ(ends[0], c.first) << c.count;
        EXPECT_EQ(ends[1] - ends[0], c.second) << c.count;
        EXPECT_EQ(ends[2] - ends[1], c.third) << c.count;
    }
    for (int n = 100; n <= 600; ++n) {  // the comparison i < 0.33 n, as doubles
        int ends[3];
        starBatchEnds(n, ends);
        for (int b = 0; b < 2; ++b) {
            const double limit = (b == 0 ? 0.33 : 0.66) * n;
            EXPECT_LT(ends[b] - 1, limit) << n;
            EXPECT_GE(ends[b], limit) << n;
        }
        EXPECT_EQ(ends[2], n);
    }
}

} // namespace
