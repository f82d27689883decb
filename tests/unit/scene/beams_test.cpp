#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "support/scene_driver.h"

namespace {

// A prepared ship in an encounter, the cube at `cube`, no beam yet.
void startEncounterAt(float x, float y, float z, uint32_t seed = 1)
{
    resetScene();
    prepareMesh();
    seedRandom(seed);
    encounter.encounterMode = Standoff;
    encounter.cubePosition[0] = x;
    encounter.cubePosition[1] = y;
    encounter.cubePosition[2] = z;
}

// Runs updateBeams until a beam starts; returns the draws of the starting call.
uint64_t startOneBeam()
{
    for (;;) {
        const uint64_t before = sceneRandom.calls;
        updateBeams();
        if (encounter.beam.active)
            return sceneRandom.calls - before;
    }
}

bool facesTheCube(int vertex)
{
    const float* n = shipMesh.hullNormals[vertex];
    for (int axis = 0; axis < 3; ++axis) {
        const float d = encounter.cubePosition[axis] - warp.shipOffset[axis];
        if (!(d == 0 || (d > 0 && n[axis] > 0) || (d < 0 && n[axis] < 0)))
            return false;
    }
    return true;
}

TEST(Beams, OneDrawInEveryIdleFrameButStartsOnlyInCruise)
{
    startEncounterAt(60, 10, 10);
    for (WarpState state : {Prepare, Jump, Flash, InWarp, DropOut, Settle}) {
        warp.warpState = state;
        for (int i = 0; i < 600; ++i) {
            const uint64_t before = sceneRandom.calls;
            updateBeams();
            ASSERT_EQ(sceneRandom.calls - before, 1u);
            ASSERT_FALSE(encounter.beam.active) << state;
        }
    }
    warp.warpState = Cruise;
    int starts = 0;
    for (int i = 0; i < 60000; ++i) {
        updateBeams();
        if (encounter.beam.active) {
            ++starts;
            encounter.beam.active = false;
        }
    }
    EXPECT_GT(starts, 800);  // one in 60
    EXPECT_LT(starts, 1200);
}

// Which end of a beam is where, for cubes on every side of the ship: the cube
// aims at hull vertices facing it, the ship fires from the side facing the cube.
TEST(Beams, EndsChosenByTheCubesSide)
{
    const int below[] = {291, 161, 297};
    const int negZ[] = {96, 98, 100, 102, 104, 106};
    const int posZ[] = {84, 86, 88, 90, 92, 94};
    const struct {
        float cube[3];
        const int* emitters;
        int count;
    } cases[] = {
        {{60, 45, 45}, posZ, 6},   {{-60, 45, -45}, negZ, 6}, {{60, -45, 45}, below, 3},
        {{0, -1, -70}, below, 3},  // lower: from below even when far to one side
        {{50, 0, -1}, negZ, 6},    {{50, 0, 0}, posZ, 6},     // level in z: the +z side
        {{0, 0, 0}, posZ, 6},
    };
    for (const auto& c : cases) {
        startEncounterAt(c.cube[0], c.cube[1], c.cube[2], 7);
        int incoming = 0, fromEmitter[6] = {};
        for (int beam = 0; beam < 300; ++beam) {
            startOneBeam();
            const Beam& b = encounter.beam;
            encounter.beam.active = false;
            EXPECT_EQ(b.startTime, SceneClock);
            if (b.incoming) {
                ++incoming;
                ASSERT_TRUE(facesTheCube(b.vertex)) << b.vertex;
                EXPECT_EQ(std::memcmp(b.target, shipMesh.meshVertices[b.vertex], sizeof b.target), 0);
                EXPECT_EQ(std::memcmp(b.source, c.cube, sizeof b.source), 0);
                continue;
            }
            EXPECT_EQ(std::memcmp(b.target, c.cube, sizeof b.target), 0);
            int found = -1;
            for (int i = 0; i < c.count; ++i)
                if (std::memcmp(b.source, shipMesh.meshVertices[c.emitters[i]], sizeof b.source) == 0)
                    found = i;
            ASSERT_GE(found, 0) << c.cube[0] << " " << c.cube[1] << " " << c.cube[2];
            ++fromEmitter[found];
        }
        EXPECT_GT(incoming, 100);
        for (int i = 0; i < c.count; ++i)
            EXPECT_GT(fromEmitter[i], 0) << "emitter " << c.emitters[i];
    }
}

// An incoming beam under way since `age` seconds.
void incomingBeam(float age, float energy)
{
    startEncounterAt(60, 20, 20);
    SceneClock = 100;
    Beam& b = encounter.beam;
    b.active = true;
    b.incoming = true;
    b.startTime = SceneClock - age;
    b.vertex = 112;
    encounter.energyLevel = energy;
    encounter.lastEnergyChange = 5;
}

TEST(Beams, IncomingBeamsDrainInDoublePrecision)
{
    incomingBeam(0.2f, 0.8f);
    float lowest = 1, highest = 0;
    for (int i = 0; i < 2000; ++i) {
        encounter.beam.startTime = SceneClock;  // keep it under way
        const float before = encounter.energyLevel;
        updateBeams();
        const float loss = before - encounter.energyLevel;
        lowest = std::min(lowest, loss);
        highest = std::max(highest, loss);
        // before - k * 0.0001 in double, rounded once to float, for a whole k.
        bool whole = false;
        for (int k = 0; k < 100 && !whole; ++k)
            whole = encounter.energyLevel == static_cast<float>(before - k * 0.0001);
        ASSERT_TRUE(whole) << before << " -> " << encounter.energyLevel;
        EXPECT_EQ(encounter.lastEnergyChange, SceneClock);
    }
    EXPECT_EQ(lowest, 0.0f);
    EXPECT_NEAR(highest, 0.0099f, 1e-6f);

    encounter.beam.incoming = false;  // the ship's own beam drains nothing
    const float energy = encounter.energyLevel;
    const float changed = encounter.lastEnergyChange;
    updateBeams();
    EXPECT_EQ(encounter.energyLevel, energy);
    EXPECT_EQ(encounter.lastEnergyChange, changed);
}

TEST(Beams, TheFirstAndLastFramesChangeNothing)
{
    startEncounterAt(60, 20, 20);
    SceneClock = 10;
    encounter.energyLevel = 0.5f;
    while (!encounter.beam.active || !encounter.beam.incoming) {
        encounter.beam.active = false;
        updateBeams();
    }
    EXPECT_EQ(encounter.energyLevel, 0.5f);  // started: nothing drained yet
    SceneClock = 10.5f;
    updateBeams();  // half a second: still under way
    EXPECT_TRUE(encounter.beam.active);
    const float energy = encounter.energyLevel;
    SceneClock = 10.5001f;
    updateBeams();  // past it: ends without a drain
    EXPECT_FALSE(encounter.beam.active);
    EXPECT_EQ(encounter.energyLevel, energy);
}

TEST(Beams, AHitExactlyWhenAnIncomingBeamEndsWithNoEnergyLeft)
{
    const struct {
        bool incoming;
        float energy;
        bool hit;
    } cases[] = {{true, 0.0f, true}, {true, -0.3f, true}, {true, 0.0001f, false}, {false, -1.0f, false}};
    for (const auto& c : cases) {
        incomingBeam(0.6f, c.energy);
        encounter.beam.incoming = c.incoming;
        const uint64_t before = sceneRandom.calls;
        updateBeams();
        EXPECT_FALSE(encounter.beam.active);
        EXPECT_EQ(debrisActive, c.hit);
        EXPECT_EQ(debris.hullHits, c.hit ? 1u : 0u);
        EXPECT_EQ(sceneRandom.calls - before, c.hit ? 350u : 0u);
    }
}

TEST(HullDamage, MarksEveryCornerAtTheVertexButNotTheRearPanel)
{
    resetScene();
    prepareMesh();
    // A rear-panel vertex is also on the hull: the hull is marked there.
    const int vertex = shipMesh.rearPanelFaces[0].a;
    const ShipMesh before = shipMesh;
    hitHull(vertex);
    auto check = [&](const MeshFace* now, const MeshFace* old, int count, bool marked) {
        int changed = 0;
        for (int i = 0; i < count; ++i) {
            const int corners[3] = {now[i].a, now[i].b, now[i].c};
            const int codes[3] = {now[i].codeA, now[i].codeB, now[i].codeC};
            const int oldCodes[3] = {old[i].codeA, old[i].codeB, old[i].codeC};
            for (int k = 0; k < 3; ++k) {
                if (marked && corners[k] == vertex) {
                    EXPECT_EQ(codes[k], DamageMark);
                    ++changed;
                } else {
                    EXPECT_EQ(codes[k], oldCodes[k]);
                }
            }
            EXPECT_EQ(std::memcmp(now[i].normal, old[i].normal, sizeof now[i].normal), 0);
            EXPECT_EQ(now[i].slot, old[i].slot);
        }
        return changed;
    };
    EXPECT_GT(check(shipMesh.hullFaces, before.hullFaces, HullFaceCount, true), 0);
    check(shipMesh.underPanelFaces, before.underPanelFaces, UnderPanelFaceCount, true);
    check(shipMesh.podFacesA, before.podFacesA, PodFaceCount, true);
    check(shipMesh.podFacesB, before.podFacesB, PodFaceCount, true);
    check(shipMesh.rearPanelFaces, before.rearPanelFaces, RearPanelFaceCount, false);
    EXPECT_EQ(std::memcmp(shipMesh.meshVertices, before.meshVertices, sizeof before.meshVertices), 0);
}

TEST(HullDamage, EachHitThrowsFiftyFreshParticles)
{
    resetScene();
    prepareMesh();
    seedRandom(9);
    const int vertex = 112;
    hitHull(vertex);
    const ShipMesh marked = shipMesh;
    const float* p = shipMesh.meshVertices[vertex];
    const float* n = shipMesh.hullNormals[vertex];
    for (const DebrisParticle& d : debris.particles) {
        EXPECT_EQ(std::memcmp(d.position, p, sizeof d.position), 0);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(d.velocity[axis], n[axis] * 0.1f, 0.0500001);
        EXPECT_EQ(d.spin, 0.0f);
        EXPECT_EQ(d.alpha, 1.0f);
        EXPECT_GE(d.fade, 0.005f);
        EXPECT_LE(d.fade, 0.0148f + 1e-7f);
        for (float angle : {d.angleX, d.angleY, d.angleZ}) {
            EXPECT_EQ(angle, std::trunc(angle));
            EXPECT_GE(angle, 0);
            EXPECT_LT(angle, 360);
        }
    }
    for (int frame = 0; frame < 10; ++frame)
        drawDebris();
    hitHull(vertex);  // the same vertex again: no new marks, a new burst
    EXPECT_EQ(std::memcmp(&marked.hullFaces, &shipMesh.hullFaces, sizeof marked.hullFaces), 0);
    EXPECT_EQ(debris.particles[0].alpha, 1.0f);
    EXPECT_EQ(debris.hullHits, 2u);

    const int podOnly = shipMesh.podFacesA[58].c;  // marked on its pod; no hull normal
    hitHull(podOnly);
    EXPECT_EQ(shipMesh.podFacesA[58].codeC, DamageMark);
    for (const DebrisParticle& d : debris.particles)
        for (float v : d.velocity)
            EXPECT_LE(std::fabs(v), 0.05f);  // the jitter alone
}

TEST(Debris, EndsInTheSixtyEighthFrameAtTheFastestFade)
{
    resetScene();
    debrisActive = true;
    for (DebrisParticle& p : debris.particles) {
        p.alpha = 1;
        p.fade = 0.0148f;
    }
    for (int call = 1; call <= 67; ++call) {
        drawDebris();
        ASSERT_TRUE(debrisActive) << call;
    }
    drawDebris();
    EXPECT_FALSE(debrisActive);

    debrisActive = true;
    for (DebrisParticle& p : debris.particles)
        p.alpha = 1;
    debris.particles[17].fade = 0.005f;
    int calls = 0;
    while (debrisActive && calls < 1000) {
        drawDebris();
        ++calls;
    }
    EXPECT_NEAR(calls, 200, 1);
}

TEST(Debris, FrozenOutsideEncountersAndNoBeamsWhileFlying)
{
    SceneDriver driver(31);
    hitHull(112);
    const Debris held = debris;
    for (int i = 0; i < 30; ++i)
        driver.frame();  // no encounter: nothing moves
    EXPECT_EQ(std::memcmp(&held, &debris, sizeof held), 0);
    EXPECT_TRUE(debrisActive);

    encounter.encounterMode = Standoff;
    encounter.cubePosition[0] = 60;
    const uint64_t before = sceneRandom.calls;
    driver.frame();
    EXPECT_NE(debris.particles[0].position[0], held.particles[0].position[0]);
    // The camera's jitter only: the beams wait while the burst flies.
    EXPECT_EQ(sceneRandom.calls - before, 3u);
}

TEST(Debris, AHitShowsItsBurstInTheSameFrame)
{
    SceneDriver driver(31);
    driver.frame();
    encounter.encounterMode = Standoff;
    encounter.cubePosition[0] = 60;
    encounter.energyLevel = -1;
    Beam& b = encounter.beam;
    b.active = true;
    b.incoming = true;
    b.vertex = 112;
    b.startTime = SceneClock - 1;
    driver.frame();
    ASSERT_EQ(debris.hullHits, 1u);
    // Already moved once in the frame of the hit.
    const DebrisParticle& p = debris.particles[0];
    EXPECT_FLOAT_EQ(p.alpha, 1 - p.fade);
    EXPECT_EQ(p.spin, 10.0f);
}

} // namespace
