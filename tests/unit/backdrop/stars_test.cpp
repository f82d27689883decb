#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/scene_driver.h"

namespace {

TEST(RotatePoint, ZeroAnglesLeaveThePointAlone)
{
    float p[3] = {1.5f, -2.25f, 3.0f};
    rotatePoint(p, 0, 0, 0);
    EXPECT_EQ(p[0], 1.5f);
    EXPECT_EQ(p[1], -2.25f);
    EXPECT_EQ(p[2], 3.0f);
}

TEST(RotatePoint, TurnsAboutXThenYThenZ)
{
    float p[3] = {0, 0, 5};
    rotatePoint(p, 90, 0, 0);  // z towards -y
    EXPECT_NEAR(p[0], 0, 1e-5);
    EXPECT_NEAR(p[1], -5, 1e-5);
    EXPECT_NEAR(p[2], 0, 1e-5);

    float q[3] = {1, 0, 0};
    rotatePoint(q, 0, 90, 0);  // x towards -z; the X step runs with a zero angle
    EXPECT_NEAR(q[0], 0, 1e-6);
    EXPECT_NEAR(q[1], 0, 1e-6);
    EXPECT_NEAR(q[2], -1, 1e-6);

    float r[3] = {1, 0, 0};
    rotatePoint(r, 0, 0, 90);  // x towards +y
    EXPECT_NEAR(r[0], 0, 1e-6);
    EXPECT_NEAR(r[1], 1, 1e-6);

    // The order matters: X first, then Y, then Z.
    float s[3] = {0, 1, 0};
    rotatePoint(s, 90, 90, 0);  // y -> z (about X), then z -> x (about Y)
    EXPECT_NEAR(s[0], 1, 1e-6);
    EXPECT_NEAR(s[1], 0, 1e-6);
    EXPECT_NEAR(s[2], 0, 1e-6);
}

TEST(RotatePoint, NegativeYAndZAnglesAreSkipped)
{
    float p[3] = {1, 2, 3};
    rotatePoint(p, 0, -90, -90);
    EXPECT_FLOAT_EQ(p[0], 1);
    EXPECT_FLOAT_EQ(p[1], 2);
    EXPECT_FLOAT_EQ(p[2], 3);
}

TEST(Stars, LieOnTheShellAndDoNotMove)
{
    SceneDriver driver(1234567);
    settings.activeStarCount = 600;
    initStars();
    const double radius = 120 * std::sqrt(3.0);
    for (int i = 0; i < 600; ++i) {
        const float* s = starField.stars[i];
        EXPECT_NEAR(std::sqrt(double(s[0]) * s[0] + double(s[1]) * s[1] + double(s[2]) * s[2]), radius, 1e-3)
            << "star " << i;
    }
    const StarField before = starField;
    for (int k = 0; k < 300; ++k)
        driver.frame();
    EXPECT_EQ(std::memcmp(&before, &starField, sizeof before), 0);
}

TEST(Stars, ThreeDrawsPerStarAndOnlyTheActiveOnes)
{
    sceneRandom = {};
    settings = {};
    starField = {};
    settings.activeStarCount = 100;
    initStars();
    EXPECT_EQ(sceneRandom.calls, 300u);
    EXPECT_EQ(starField.stars[100][0], 0.0f);  // records past the count stay unused
    EXPECT_NE(starField.stars[99][0], 0.0f);
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
