// The encounter on a real context: the cube, the beams, the bubble, the burst.
#include <gtest/gtest.h>

#include <algorithm>

#include "backdrop/backdrop.h"
#include "gl/gl_context.h"
#include "gl/golden.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"

namespace {

void lookFrom(float ex, float ey, float ez, float tx, float ty, float tz)
{
    camera.fixedView = true;
    const float eye[3] = {ex, ey, ez}, target[3] = {tx, ty, tz};
    for (int axis = 0; axis < 3; ++axis) {
        camera.fixedEye[axis] = eye[axis];
        camera.fixedTarget[axis] = target[axis];
    }
}

// A standoff with the cube at (x, y, z); the panel hidden, the warp held.
void standoffScene(float x, float y, float z)
{
    startTestScene();
    warp.warpWait = 1e9f;
    encounter.encounterMode = Standoff;
    encounter.cubePosition[0] = x;
    encounter.cubePosition[1] = y;
    encounter.cubePosition[2] = z;
    encounter.lastEnergyChange = -100;
}

void frame()
{
    advanceClockMs(16);
    drawFrame();
}

// An incoming beam from the cube to `vertex`, under way for a tenth of a second.
void incomingBeam(int vertex, float energy)
{
    Beam& b = encounter.beam;
    b.active = true;
    b.incoming = true;
    b.startTime = SceneClock;
    b.vertex = vertex;
    for (int axis = 0; axis < 3; ++axis) {
        b.source[axis] = encounter.cubePosition[axis];
        b.target[axis] = shipMesh.meshVertices[vertex][axis];
    }
    encounter.energyLevel = energy;
}

int countWhere(const std::vector<Pixel>& f, bool (*test)(const Pixel&))
{
    return static_cast<int>(std::count_if(f.begin(), f.end(), test));
}

// Lit pixels below the caption strip.
int litBelowCaption()
{
    std::vector<Pixel> f = readFrame();
    f.resize(static_cast<size_t>(TestWidth) * (TestHeight - 14));
    return countLitPixels(f, 20);
}

bool beamGreen(const Pixel& p) { return p.g > 150 && p.r < 100 && p.b < 100; }

TEST(Encounter, CubeDrawnFoggedAndCulledOnlyWhileItDraws)
{
    standoffScene(0, 0, -80);
    lookFrom(0, 10, 40, 0, 0, -80);
    frame();
    EXPECT_FALSE(glEnabled(GL_FOG));
    EXPECT_FALSE(glEnabled(GL_CULL_FACE));
    const std::vector<Pixel> f = readFrame();
    // Centre of the picture: the green machinery of the cube's face.
    const Pixel centre = f[static_cast<size_t>(TestHeight / 2) * TestWidth + TestWidth / 2];
    EXPECT_GT(centre.g, centre.r);
    // Without an encounter the same view shows no cube.
    encounter.encounterMode = NoEncounter;
    frame();
    const Pixel empty = readPixel(TestWidth / 2, TestHeight / 2);
    EXPECT_LT(empty.g + 0, centre.g + 0);
}

TEST(Encounter, CubeFadesIntoTheFogAtTheFarPlane)
{
    standoffScene(0, 40, -50);
    lookFrom(0, 40, 0, 0, 40, -1);  // well above the ship
    settings.activeStarCount = 0;
    settings.activeWarpLineCount = 0;
    frame();
    const int near = litBelowCaption();
    encounter.cubePosition[2] = -309;  // front face at 289, the rest fading into the fog
    frame();
    const int far = litBelowCaption();
    EXPECT_GT(near, 1000);
    EXPECT_GT(far, 0);  // the front face, just short of the fog
    EXPECT_LT(far, near / 10);
    encounter.cubePosition[2] = -340;  // all of it past the fog's end
    frame();
    EXPECT_EQ(litBelowCaption(), 0);
}

TEST(Encounter, BubbleOnlyWhileEnergyRemainsTheLineAlways)
{
    standoffScene(60, 10, -40);
    lookFrom(-10, 25, 35, 10, 0, -5);
    frame();
    incomingBeam(112, 0.9f);
    frame();
    const std::vector<Pixel> withBubble = readFrame();
    incomingBeam(112, -0.5f);
    frame();
    const std::vector<Pixel> noBubble = readFrame();
    EXPECT_GT(countWhere(withBubble, beamGreen), 30);
    EXPECT_GT(countWhere(noBubble, beamGreen), 30);
    // The bubble tints the ship blue.
    long blueWith = 0, blueWithout = 0;
    for (size_t i = 0; i < withBubble.size(); ++i) {
        blueWith += withBubble[i].b - withBubble[i].r;
        blueWithout += noBubble[i].b - noBubble[i].r;
    }
    EXPECT_GT(blueWith, blueWithout + 100000);
}

TEST(Encounter, NothingOfABeamInItsFirstFrame)
{
    standoffScene(60, 10, -40);
    lookFrom(-10, 25, 35, 10, 0, -5);
    for (int i = 0; i < 400 && !encounter.beam.active; ++i) {
        frame();
        if (encounter.beam.active) {
            EXPECT_EQ(countWhere(readFrame(), beamGreen), 0);
            EXPECT_EQ(encounter.beam.startTime, SceneClock);
        }
    }
    EXPECT_TRUE(encounter.beam.active);
}

TEST(EncounterGolden, CubeOnApproach)
{
    standoffScene(0, 0, 0);
    encounter.encounterMode = Approach;
    encounter.encounterBase[0] = 45;
    encounter.encounterBase[1] = 20;
    encounter.encounterBase[2] = -60;
    for (int axis = 0; axis < 3; ++axis)
        encounter.encounterStart[axis] = 2 * encounter.encounterBase[axis];
    warp.warpStateStart = SceneClock - 6;  // part of the way in
    lookFrom(-20, 15, 30, 30, 10, -40);
    frame();
    frame();
    EXPECT_TRUE(matchesGolden("encounter_cube_approach"));
}

TEST(EncounterGolden, BeamFromTheCubeWithTheBubble)
{
    standoffScene(60, 10, -40);
    lookFrom(-10, 25, 35, 10, 0, -5);
    frame();
    incomingBeam(112, 0.9f);
    frame();
    EXPECT_TRUE(matchesGolden("encounter_beam_bubble"));
}

TEST(EncounterGolden, DebrisBurst)
{
    standoffScene(60, 10, -40);
    lookFrom(-4, 8, 14, 3, 1, 0);
    frame();
    hitHull(112);
    for (int i = 0; i < 12; ++i)
        frame();
    EXPECT_TRUE(debrisActive);
    EXPECT_TRUE(matchesGolden("encounter_debris"));
}

TEST(EncounterGolden, OverlayWithThePanelShown)
{
    standoffScene(0, 0, 0);
    encounter.encounterMode = NoEncounter;
    lookFrom(25, 5, 10, 0.5f, 0, 0);
    encounter.energyLevel = 0.6f;
    encounter.lastEnergyChange = SceneClock;
    overlay.panelOffset = 9;
    frame();
    EXPECT_EQ(overlay.panelOffset, 10);
    EXPECT_TRUE(matchesGolden("overlay_panel"));
}

} // namespace
