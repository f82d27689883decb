#include <gtest/gtest.h>

#include <cmath>

#include "support/scene_driver.h"

namespace {

// The kind (0: standard) of the next placement, peeked without using the draws up.
int peekPlacementKind()
{
    RandomGenerator copy = sceneRandom;
    std::swap(copy, sceneRandom);
    sceneRand();
    const int k = sceneRand() % 5;
    std::swap(copy, sceneRandom);
    return k;
}

// A camera that keeps its placement: select and distances as given.
void holdPlacement(int sx, int sy, int sz, float d0, float d1, float d2)
{
    resetScene();
    camera.cameraWait = 1e9f;
    camera.cameraLastChange = 0;
    const int select[3] = {sx, sy, sz};
    const float distance[3] = {d0, d1, d2};
    for (int axis = 0; axis < 3; ++axis) {
        camera.cameraSelect[axis] = select[axis];
        camera.cameraDistance[axis] = distance[axis];
    }
}

TEST(Camera, PlacementDrawsAndWaitBounds)
{
    const struct {
        int pause;
        float low, high;
    } cases[] = {{30, 7.5f, 36.5f}, {120, 30, 149}, {360, 90, 449}};
    for (const auto& c : cases) {
        float lowest = 1e9f, highest = 0;
        for (uint32_t seed = 1; seed <= 3000; ++seed) {
            resetScene();
            settings.cameraPause = c.pause;
            seedRandom(seed * 7919u);
            const int k = peekPlacementKind();
            SceneClock = 0;
            chooseCameraPlacement();
            lowest = std::min(lowest, camera.cameraWait);
            highest = std::max(highest, camera.cameraWait);
            ASSERT_EQ(sceneRandom.calls, k == 0 ? 2u : 8u);
            for (int axis = 0; k != 0 && axis < 3; ++axis) {
                ASSERT_GE(camera.cameraSelect[axis], 0);
                ASSERT_LE(camera.cameraSelect[axis], 5);
                ASSERT_GE(camera.cameraDistance[axis], 10);
                ASSERT_LE(camera.cameraDistance[axis], 39);
            }
        }
        EXPECT_FLOAT_EQ(lowest, c.low) << c.pause;
        EXPECT_FLOAT_EQ(highest, c.high) << c.pause;
    }
}

TEST(Camera, NewPlacementOnceTheWholeSecondsReachTheWait)
{
    const struct {
        float wait, now;
        bool placed;
    } cases[] = {{30.5f, 41.999f, true}, {31, 40.999f, false}, {31, 41.0f, true}, {31, -21.5f, true}};
    for (const auto& c : cases) {  // placed last at T = 10
        resetScene();
        camera.cameraLastChange = 10;
        camera.cameraWait = c.wait;
        SceneClock = c.now;  // a clock set back counts by the size of the difference
        chooseCameraPlacement();
        EXPECT_EQ(camera.cameraLastChange == c.now, c.placed) << c.wait << " at " << c.now;
        EXPECT_EQ(sceneRandom.calls > 0, c.placed);
    }
    for (WarpState state : {Cruise, Prepare, Jump, Flash, InWarp, DropOut, Settle}) {
        resetScene();
        warp.warpState = state;
        SceneClock = 500;
        updateCamera();
        EXPECT_EQ(camera.cameraLastChange == 500.0f, state == Cruise || state == InWarp) << state;
    }
}

TEST(Camera, JitterOutsideTheEncounterViewAndTheViewOppositeTheCube)
{
    holdPlacement(0, 0, 0, 10, 10, 10);
    seedRandom(31337);
    int lowest = 0, highest = 0;
    for (int frame = 0; frame < 2000; ++frame) {
        updateCamera();
        for (int32_t j : camera.cameraJitter) {
            lowest = std::min(lowest, j);
            highest = std::max(highest, j);
        }
    }
    EXPECT_EQ(lowest, -10);
    EXPECT_EQ(highest, 9);
    EXPECT_EQ(sceneRandom.calls, 6000u);

    const Camera held = camera;
    warp.warpState = Prepare;  // preparing a jump in an encounter: no draws
    encounter.encounterMode = Standoff;
    encounter.cubePosition[0] = 60;
    encounter.cubePosition[1] = -20;
    encounter.cubePosition[2] = 5;
    updateCamera();
    EXPECT_EQ(sceneRandom.calls, 6000u);
    EXPECT_FLOAT_EQ(camera.cameraEye[0], -40);  // -60 + jitter, clamped
    EXPECT_FLOAT_EQ(camera.cameraEye[1], std::min(40.0f, 20.0f + held.cameraJitter[1]));
    EXPECT_FLOAT_EQ(camera.cameraEye[2], -5.0f + held.cameraJitter[2]);
    for (float t : camera.cameraTarget)
        EXPECT_EQ(t, 0.0f);
    // Straight above the origin the view would be parallel to the up vector.
    encounter.cubePosition[0] = static_cast<float>(held.cameraJitter[0]);
    encounter.cubePosition[1] = 60;
    encounter.cubePosition[2] = static_cast<float>(held.cameraJitter[2]);
    updateCamera();
    EXPECT_EQ(camera.cameraEye[0], 0.0f);
    EXPECT_EQ(camera.cameraEye[1], -40.0f);
    EXPECT_EQ(camera.cameraEye[2], 1.0f);
    encounter.encounterMode = NoEncounter;  // the same state without one: the placement
    updateCamera();
    EXPECT_EQ(sceneRandom.calls, 6003u);
}

TEST(Camera, TheRenderersFixedViewReplacesResultsNotDraws)
{
    holdPlacement(0, 0, 0, 10, 10, 10);
    camera.fixedView = true;
    camera.fixedEye[2] = 3;
    const uint64_t before = sceneRandom.calls;
    updateCamera();
    EXPECT_EQ(camera.cameraEye[2], 3.0f);
    EXPECT_EQ(camera.cameraTarget[0], 0.0f);
    EXPECT_EQ(sceneRandom.calls - before, 3u);
}

} // namespace
