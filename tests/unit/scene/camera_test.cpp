#include <gtest/gtest.h>

#include <cmath>

#include "support/scene_driver.h"

namespace {

// The k that the placement after the pause draw will see, peeked without using it up.
int peekPlacementKind()
{
    RandomGenerator copy = sceneRandom;
    std::swap(copy, sceneRandom);
    sceneRand();
    const int k = sceneRand() % 5;
    std::swap(copy, sceneRandom);
    return k;
}

TEST(Camera, FirstFrameAlwaysPlacesTheCamera)
{
    resetSceneModules();
    seedRandom(10);
    SceneClock = 0;
    updateCamera();
    EXPECT_EQ(camera.cameraLastChange, 0.0f);
    EXPECT_GT(camera.cameraWait, 0.0f);
}

TEST(Camera, StandardPlacementAtTimeZero)
{
    uint32_t seed = 1;
    for (;; ++seed) {  // a seed whose first placement is the standard one
        resetSceneModules();
        seedRandom(seed);
        if (peekPlacementKind() == 0)
            break;
    }
    SceneClock = 0;
    updateCamera();
    EXPECT_EQ(camera.cameraSelect[0], 1);
    EXPECT_EQ(camera.cameraSelect[1], 0);
    EXPECT_EQ(camera.cameraSelect[2], 0);
    EXPECT_FLOAT_EQ(camera.cameraEye[0], 25);
    EXPECT_FLOAT_EQ(camera.cameraEye[1], 0);
    EXPECT_FLOAT_EQ(camera.cameraEye[2], 0);
    EXPECT_FLOAT_EQ(camera.cameraTarget[0], 0.5f);
    EXPECT_FLOAT_EQ(camera.cameraTarget[1], 0);
    EXPECT_FLOAT_EQ(camera.cameraTarget[2], 0);
    // 2 placement draws, then 3 for the jitter.
    EXPECT_EQ(sceneRandom.calls, 5u);
}

TEST(Camera, RandomPlacementsDrawSelectsAndDistances)
{
    int randomOnes = 0;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        resetSceneModules();
        seedRandom(seed);
        const int k = peekPlacementKind();
        SceneClock = 0;
        chooseCameraPlacement();
        if (k == 0) {
            EXPECT_EQ(sceneRandom.calls, 2u);
            continue;
        }
        ++randomOnes;
        EXPECT_EQ(sceneRandom.calls, 8u);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_GE(camera.cameraSelect[axis], 0);
            EXPECT_LE(camera.cameraSelect[axis], 5);
            EXPECT_GE(camera.cameraDistance[axis], 10);
            EXPECT_LE(camera.cameraDistance[axis], 39);
        }
    }
    EXPECT_GT(randomOnes, 250);
}

TEST(Camera, WaitBoundsFollowTheCameraPause)
{
    const struct {
        int pause;
        float low, high;
    } cases[] = {{30, 7.5f, 36.5f}, {120, 30, 149}, {360, 90, 449}};
    for (const auto& c : cases) {
        float lowest = 1e9f, highest = 0;
        for (uint32_t seed = 1; seed <= 3000; ++seed) {
            resetSceneModules();
            settings.cameraPause = c.pause;
            seedRandom(seed * 7919u);
            SceneClock = 0;
            chooseCameraPlacement();
            lowest = std::min(lowest, camera.cameraWait);
            highest = std::max(highest, camera.cameraWait);
        }
        EXPECT_FLOAT_EQ(lowest, c.low) << c.pause;
        EXPECT_FLOAT_EQ(highest, c.high) << c.pause;
    }
}

TEST(Camera, NewPlacementAtTheFirstFrameWhoseWholeSecondsReachTheWait)
{
    resetSceneModules();
    camera.cameraLastChange = 10;
    camera.cameraWait = 30.5f;
    SceneClock = 41.999f;  // 31 whole seconds: 31 >= 30.5
    chooseCameraPlacement();
    EXPECT_EQ(camera.cameraLastChange, 41.999f);

    resetSceneModules();
    camera.cameraLastChange = 10;
    camera.cameraWait = 31;
    SceneClock = 40.999f;  // 30 whole seconds
    chooseCameraPlacement();
    EXPECT_EQ(camera.cameraLastChange, 10.0f);
    EXPECT_EQ(sceneRandom.calls, 0u);

    // A clock set back: the size of the difference counts.
    SceneClock = -21.5f;
    chooseCameraPlacement();
    EXPECT_EQ(camera.cameraLastChange, -21.5f);
}

TEST(Camera, PlacementTimerOnlyInCruiseAndInWarp)
{
    for (WarpState state : {Cruise, Prepare, Jump, Flash, InWarp, DropOut, Settle}) {
        resetSceneModules();
        warp.warpState = state;
        SceneClock = 500;
        updateCamera();
        const bool placed = camera.cameraLastChange == 500.0f;
        EXPECT_EQ(placed, state == Cruise || state == InWarp) << state;
    }
}

TEST(Camera, TangentCandidatesAreClampedToForty)
{
    resetSceneModules();
    camera.cameraWait = 1e9f;
    camera.cameraLastChange = 0;
    camera.cameraSelect[0] = 2;
    camera.cameraSelect[1] = 5;
    camera.cameraSelect[2] = 0;
    camera.cameraDistance[2] = 39;
    SceneClock = 24.99f;  // just before the pole of tan at 25 s
    updateCamera();
    EXPECT_EQ(camera.cameraEye[0], 40.0f);
    EXPECT_EQ(camera.cameraEye[1], -40.0f);
    SceneClock = 25.01f;  // just after: the camera jumps across
    updateCamera();
    EXPECT_EQ(camera.cameraEye[0], -40.0f);
    EXPECT_EQ(camera.cameraEye[1], 40.0f);
    SceneClock = 10;
    updateCamera();
    EXPECT_NEAR(camera.cameraEye[0], 39 * std::tan(10 * 0.02 * 3.141592653589793), 1e-4);
}

TEST(Camera, SwingsOnceEveryHundredSeconds)
{
    resetSceneModules();
    camera.cameraWait = 1e9f;
    camera.cameraLastChange = 0;
    camera.cameraSelect[0] = 0;
    camera.cameraSelect[1] = 1;
    camera.cameraSelect[2] = 3;
    camera.cameraDistance[0] = 20;
    camera.cameraDistance[1] = 30;
    SceneClock = 12.5f;  // an eighth of a turn
    updateCamera();
    const double s = std::sin(3.141592653589793 / 4);
    EXPECT_NEAR(camera.cameraEye[0], 20 * s, 1e-4);
    EXPECT_NEAR(camera.cameraEye[1], 30 * s, 1e-4);
    EXPECT_NEAR(camera.cameraEye[2], -20 * s, 1e-4);
}

TEST(Camera, JitterSpansMinusTenToNine)
{
    resetSceneModules();
    camera.cameraWait = 1e9f;
    camera.cameraLastChange = 0;
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
}

TEST(Camera, JitterIsDrawnOutsideTheEncounterViewOnly)
{
    resetSceneModules();
    camera.cameraWait = 1e9f;
    camera.cameraLastChange = 0;
    seedRandom(77);
    SceneClock = 1;
    updateCamera();
    EXPECT_EQ(sceneRandom.calls, 3u);
    for (int32_t j : camera.cameraJitter) {
        EXPECT_GE(j, -10);
        EXPECT_LE(j, 9);
    }
    const Camera held = camera;

    // Preparing a jump during an encounter: the view opposite the cube, no draws.
    warp.warpState = Prepare;
    encounter.encounterMode = Standoff;
    encounter.cubePosition[0] = 60;
    encounter.cubePosition[1] = -20;
    encounter.cubePosition[2] = 5;
    updateCamera();
    EXPECT_EQ(sceneRandom.calls, 3u);
    EXPECT_FLOAT_EQ(camera.cameraEye[0], -40);  // -60 + jitter, clamped
    EXPECT_FLOAT_EQ(camera.cameraEye[1], std::min(40.0f, 20.0f + held.cameraJitter[1]));
    EXPECT_FLOAT_EQ(camera.cameraEye[2], -5.0f + held.cameraJitter[2]);
    EXPECT_EQ(camera.cameraTarget[0], 0.0f);
    EXPECT_EQ(camera.cameraTarget[1], 0.0f);
    EXPECT_EQ(camera.cameraTarget[2], 0.0f);

    // Without an encounter the same warp state uses the placement.
    encounter.encounterMode = NoEncounter;
    updateCamera();
    EXPECT_EQ(sceneRandom.calls, 6u);
}

TEST(Camera, LooksAtTheApproachingCubeAndOtherwiseAtTheShip)
{
    resetSceneModules();
    camera.cameraWait = 1e9f;
    camera.cameraLastChange = 0;
    encounter.encounterMode = Approach;
    encounter.cubePosition[0] = 150;
    encounter.cubePosition[1] = -90;
    encounter.cubePosition[2] = 30;
    SceneClock = 3;
    updateCamera();
    EXPECT_EQ(camera.cameraTarget[0], 150.0f);
    EXPECT_EQ(camera.cameraTarget[1], -90.0f);
    encounter.encounterMode = Standoff;
    warp.shipOffset[0] = 4;
    updateCamera();
    EXPECT_EQ(camera.cameraTarget[0], 4.5f);
    EXPECT_EQ(camera.cameraTarget[1], 0.0f);
}

TEST(Camera, FixedViewReplacesTheResultsButNotTheDraws)
{
    resetSceneModules();
    seedRandom(5);
    camera.fixedView = true;
    camera.fixedEye[0] = 1;
    camera.fixedEye[1] = 2;
    camera.fixedEye[2] = 3;
    SceneClock = 0;
    updateCamera();
    EXPECT_EQ(camera.cameraEye[2], 3.0f);
    EXPECT_EQ(camera.cameraTarget[0], 0.0f);
    EXPECT_GE(sceneRandom.calls, 5u);
}

} // namespace
