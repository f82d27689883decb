// The ship alone from three fixed placements, against committed frames
// (scripts/update-goldens.sh writes them anew).
#include <gtest/gtest.h>

#include "backdrop/backdrop.h"
#include "gl/gl_context.h"
#include "gl/golden.h"
#include "gl/ship/ship_view.h"
#include "scene/scene.h"
#include "settings/settings.h"

namespace {

class ShipGolden : public ::testing::Test {
protected:
    void SetUp() override
    {
        startTestScene();
        settings.textureDetail = 0;  // the frames show the mesh, not the pictures
        SceneClock = 0.5f;           // light points on
        warp.podAngle = 0;
    }
    void TearDown() override { glLoadIdentity(); }  // the next scene start places its light under it
};

TEST_F(ShipGolden, ThreeQuarterFromAboveAndAhead)
{
    drawShipFrom(22, 11, 18, 0, 0, 0);
    EXPECT_TRUE(matchesGolden("ship_three_quarter"));
}

TEST_F(ShipGolden, FromBelowAndBehind)
{
    drawShipFrom(-20, -14, -16, 0, 0, 0);
    EXPECT_TRUE(matchesGolden("ship_below_behind"));
}

TEST_F(ShipGolden, SideOnWithThePodsRaised)
{
    warp.podAngle = 40;
    drawShipFrom(2, 3, 32, 0, 0, 0);
    EXPECT_TRUE(matchesGolden("ship_side_pods_up"));
}

} // namespace
