#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/scene_driver.h"

namespace {

TEST(Energy, RegeneratesInFramesWhoseMillisecondsLeaveOneByFour)
{
    resetScene();
    encounter.energyLevel = 0.5f;
    const TimeStamp start{1000000, 0};
    for (int ms = 0; ms < 40; ++ms) {  // the float T of 5 and 9 ms lies just below them
        SceneClock = sceneClockAt({1000000, ms * 1000}, start);
        const float before = encounter.energyLevel;
        regenerateEnergy();
        const bool stepped = encounter.energyLevel != before;
        EXPECT_EQ(stepped, ms % 4 == 1) << ms;
        if (stepped) {
            EXPECT_NEAR(encounter.energyLevel - before, 0.0015, 1e-7);
            EXPECT_EQ(encounter.lastEnergyChange, SceneClock);
        }
    }
}

TEST(Energy, KeepsRegeneratingAfterHoursAndDays)
{
    for (float start : {17000.0f, 100000.0f, 1000000.0f}) {
        resetScene();
        encounter.energyLevel = 0;
        int steps = 0;
        float t = start;
        for (int frame = 0; frame < 4000; ++frame) {  // consecutive floats of T
            SceneClock = t;
            const float before = encounter.energyLevel;
            regenerateEnergy();
            steps += encounter.energyLevel != before;
            t = std::nextafter(t, 1e30f);
        }
        EXPECT_GT(steps, 500) << start;
    }
}

TEST(Energy, NegativeTimesNeverQualify)
{
    resetScene();
    encounter.energyLevel = 0.2f;
    for (int ms = -1; ms > -400; --ms) {
        SceneClock = ms / 1000.0f;
        regenerateEnergy();
    }
    EXPECT_EQ(encounter.energyLevel, 0.2f);
    EXPECT_EQ(encounter.lastEnergyChange, 0.0f);
}

TEST(Energy, StopsAtTheFirstValueOfOneOrMore)
{
    for (float start : {-0.3f, 0.0f, 0.9991f, 0.99999f}) {
        resetScene();
        encounter.energyLevel = start;
        float first = -1;
        for (int ms = 1; ms < 2000000; ms += 4) {
            SceneClock = ms / 1000.0f;
            regenerateEnergy();
            if (encounter.energyLevel >= 1.0f && first < 0)
                first = encounter.energyLevel;
        }
        ASSERT_GE(first, 1.0f) << start;
        EXPECT_EQ(encounter.energyLevel, first) << start;
        EXPECT_LT(encounter.energyLevel, 1.0015f) << start;
        EXPECT_LT(encounter.lastEnergyChange, 1000.0f);  // full: no more changes
    }
}

TEST(Approach, CubeIsPlacedFarOutInTheFrameAfterTheEncounterBegins)
{
    SceneDriver driver(2024);
    forceNextEncounter = true;
    settings.warpPause = 30;
    ASSERT_TRUE(driver.runUntil([] { return encounter.encounterMode == Approach; }));
    // The frame that started it placed the cube at three times the rest position,
    // and its camera still looked at the ship, not at the parked cube.
    const float ship[3] = {0.5f, 0, 0};
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(encounter.cubePosition[axis], 3 * encounter.encounterBase[axis], 1e-3);
        EXPECT_EQ(camera.cameraTarget[axis], ship[axis]);
    }
    driver.frame();  // from then on at the cube, where the last frame put it
    EXPECT_NEAR(camera.cameraTarget[0], 3 * encounter.encounterBase[0], 1e-3);
    ASSERT_TRUE(driver.runUntil([] { return encounter.encounterMode == Standoff; }));
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_NEAR(encounter.cubePosition[axis], encounter.encounterBase[axis], 0.01);
}

// Every draw in its documented order: the first values after seed 12345,
// worked out by hand from the generator and each operation's draws.
TEST(DrawOrder, FirstDrawsAfterAKnownSeed)
{
    using Values = std::vector<float>;
    const struct {
        const char* what;
        Values (*draw)();
        Values expected;
    } cases[] = {
        {"stars: az, ay, ax = 24, 84, 235", [] {
             settings.activeStarCount = 1;
             initStars();
             const float* s = starField.stars[0];
             return Values{s[0], s[1], s[2]};
         }, {-152.369278f, -35.5812569f, -136.812195f}},
        {"camera: wait, kind, selects, then distances", [] {
             chooseCameraPlacement();
             const Camera& c = camera;
             return Values{c.cameraWait, float(c.cameraSelect[0]), float(c.cameraSelect[1]),
                           float(c.cameraSelect[2]), c.cameraDistance[0], c.cameraDistance[1], c.cameraDistance[2]};
         }, {54, 1, 3, 2, 15, 37, 23}},
        {"ship turn: wait, branch 0, x, then y", [] {
             encounter.encounterMode = Approach;
             encounter.encounterBase[0] = encounter.encounterBase[1] = encounter.encounterBase[2] = 50;
             SceneClock = 100;
             applyWarp();
             return Values{warp.warpWait, warp.shipTurnTarget[0], warp.shipTurnTarget[1], warp.shipTurnTarget[2]};
         }, {54, 10, 135, 0}},
        {"debris: jitter, angles, then fade", [] {
             prepareMesh();
             hitHull(200);
             const DebrisParticle& p = debris.particles[0];
             const float* n = shipMesh.hullNormals[200];
             return Values{p.velocity[0] - float(n[0] * 0.1), p.velocity[1] - float(n[1] * 0.1),
                           p.velocity[2] - float(n[2] * 0.1), p.angleX, p.angleY, p.angleZ, p.fade};
         }, {0.0084f, -0.0336f, 0.0295f, 165, 68, 5, 0.0104f}},
    };
    for (const auto& c : cases) {
        resetScene();
        seedRandom(12345);
        const Values got = c.draw();
        ASSERT_EQ(got.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], c.expected[i], 1e-4) << c.what << ", value " << i;
    }
}

} // namespace
