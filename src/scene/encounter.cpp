#include <cmath>
#include <cstdint>

#include "backdrop/backdrop.h"
#include "common/random.h"
#include "scene/scene.h"
#include "ship/ship.h"
#include "surface/gl.h"
#include "textures/textures.h"

Encounter encounter;

namespace {

constexpr double RegenerationStep = 0.0015;
constexpr double ApproachRate = 0.3141592653589793;  // 0.1 pi: rest reached after 10 s
constexpr float ApproachSeconds = 9.95f;
constexpr int CubeMaterial = 9;
constexpr int SphereMaterial = 13;
constexpr TextureSlot CubeSlot = 0;
constexpr int CubeBeamMaterial = 11;
constexpr int ShipBeamMaterial = 12;
constexpr int BeamStartChance = 60;  // one frame in 60 while idle
constexpr float BeamSeconds = 0.5f;
constexpr double DrainStep = 0.0001;  // per unit of the drain draw (0..99)

// Where the ship's beams leave it: the underside chain, and the two top chains.
const int emittersBelow[3] = {291, 161, 297};
const int emittersNegZ[6] = {96, 98, 100, 102, 104, 106};
const int emittersPosZ[6] = {84, 86, 88, 90, 92, 94};

GLUquadric* bubble = nullptr;

struct CubeFace {
    float normal[3];
    float corners[4][3];  // at texture coordinates (0,0), (1,0), (1,1), (0,1)
};

// Counter-clockwise from outside, so culling drops the far faces.
const CubeFace cubeFaces[6] = {
    {{0, 0, 1}, {{10, 10, 10}, {-10, 10, 10}, {-10, -10, 10}, {10, -10, 10}}},
    {{0, 0, -1}, {{-10, 10, -10}, {10, 10, -10}, {10, -10, -10}, {-10, -10, -10}}},
    {{0, 1, 0}, {{-10, 10, 10}, {10, 10, 10}, {10, 10, -10}, {-10, 10, -10}}},
    {{0, -1, 0}, {{10, -10, 10}, {-10, -10, 10}, {-10, -10, -10}, {10, -10, -10}}},
    {{-1, 0, 0}, {{-10, 10, 10}, {-10, 10, -10}, {-10, -10, -10}, {-10, -10, 10}}},
    {{1, 0, 0}, {{10, 10, -10}, {10, 10, 10}, {10, -10, 10}, {10, -10, -10}}},
};
const float cubeTexCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

} // namespace

void initEncounter()
{
    if (!bubble)
        bubble = gluNewQuadric();
}

void releaseEncounter()
{
    if (bubble)
        gluDeleteQuadric(bubble);
    bubble = nullptr;
}

void regenerateEnergy()
{
    if (encounter.energyLevel >= 1.0f)
        return;
    // The whole milliseconds T stands for: rounded, as the float for k ms often
    // lies just below k / 1000, and from a double product, as a float one is
    // only ever even after about 4.7 hours. The remainder keeps m's sign, so
    // negative times never qualify.
    const auto m = std::llround(static_cast<double>(SceneClock) * 1000.0);
    if (m % 4 == 1) {
        encounter.energyLevel = static_cast<float>(encounter.energyLevel + RegenerationStep);
        encounter.lastEnergyChange = SceneClock;
    }
}

void updateApproach()
{
    const float t = SceneClock - warp.warpStateStart;
    const double f = (std::cos(ApproachRate * t) + 1) * 0.5;
    for (int axis = 0; axis < 3; ++axis)
        encounter.cubePosition[axis] =
            static_cast<float>(encounter.encounterBase[axis] + encounter.encounterStart[axis] * f);
    if (t > ApproachSeconds)
        encounter.encounterMode = Standoff;
}

void drawCube()
{
    glPushMatrix();
    glEnable(GL_FOG);  // the cube alone fades at the far plane
    glBindTexture(GL_TEXTURE_2D, TextureNames[CubeSlot]);
    glEnable(GL_TEXTURE_2D);
    glScalef(2, 2, 2);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    setMaterial(CubeMaterial);
    for (const CubeFace& face : cubeFaces) {
        glBegin(GL_POLYGON);
        glNormal3fv(face.normal);
        for (int corner = 0; corner < 4; ++corner) {
            glTexCoord2fv(cubeTexCoords[corner]);
            glVertex3fv(face.corners[corner]);
        }
        glEnd();
    }
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glPopMatrix();
}

namespace {

void copyPoint(float to[3], const float from[3])
{
    for (int axis = 0; axis < 3; ++axis)
        to[axis] = from[axis];
}

// A vertex the cube may hit: its hull normal points into the octant of the
// direction from the ship to the cube (any sign where that direction is 0).
bool facesTheCube(int vertex, const float direction[3])
{
    const float* normal = shipMesh.hullNormals[vertex];
    for (int axis = 0; axis < 3; ++axis) {
        const float d = direction[axis];
        const float n = normal[axis];
        if (!(d == 0 || (d > 0 && n > 0) || (d < 0 && n < 0)))
            return false;
    }
    return true;
}

void startBeam(Beam& beam)
{
    beam.incoming = sceneRand() % 2 == 1;
    beam.startTime = SceneClock;
    const float* cube = encounter.cubePosition;
    const float* ship = warp.shipOffset;
    if (beam.incoming) {
        copyPoint(beam.source, cube);
        const float direction[3] = {cube[0] - ship[0], cube[1] - ship[1], cube[2] - ship[2]};
        // Unbounded by design: every direction has vertices that pass (the mesh
        // tests check at least 14 for each octant).
        do {
            beam.vertex = sceneRand() % MeshVertexCount;
        } while (!facesTheCube(beam.vertex, direction));
        copyPoint(beam.target, shipMesh.meshVertices[beam.vertex]);
    } else {
        copyPoint(beam.target, cube);
        int emitter;
        if (cube[1] - ship[1] < 0)
            emitter = emittersBelow[sceneRand() % 3];
        else if (cube[2] - ship[2] < 0)
            emitter = emittersNegZ[sceneRand() % 6];
        else
            emitter = emittersPosZ[sceneRand() % 6];
        copyPoint(beam.source, shipMesh.meshVertices[emitter]);
    }
    beam.active = true;  // shown from the next frame on
}

} // namespace

void updateBeams()
{
    Beam& beam = encounter.beam;
    if (!beam.active) {
        // One draw in every idle frame, whatever the warp state.
        if (sceneRand() % BeamStartChance != 1 || warp.warpState != Cruise)
            return;
        startBeam(beam);
        return;
    }
    if (SceneClock - beam.startTime > BeamSeconds) {
        beam.active = false;  // nothing drawn in the last frame either
        if (beam.incoming && encounter.energyLevel <= 0)
            hitHull(beam.vertex);
        return;
    }
    if (!beam.incoming) {
        drawBeam(beam.source, beam.target, ShipBeamMaterial);
        return;
    }
    encounter.energyLevel = static_cast<float>(encounter.energyLevel - (sceneRand() % 100) * DrainStep);
    if (encounter.energyLevel > 0)
        drawEnergySphere();
    drawBeam(beam.source, beam.target, CubeBeamMaterial);
    encounter.lastEnergyChange = SceneClock;
}

void drawBeam(const float from[3], const float to[3], int code)
{
    setMaterial(code);
    glPushMatrix();
    glLineWidth(5);
    glEnable(GL_BLEND);
    glBegin(GL_LINES);
    glVertex3fv(from);
    glVertex3fv(to);
    glEnd();
    glDisable(GL_BLEND);
    glPopMatrix();
}

void drawEnergySphere()
{
    if (!bubble)
        return;
    glPushMatrix();
    glTranslatef(warp.shipOffset[0], warp.shipOffset[1], warp.shipOffset[2]);
    setMaterial(SphereMaterial);
    glTranslatef(-2, -0.5f, 0);
    glScalef(2.25f, 0.75f, 1.2f);
    glEnable(GL_BLEND);
    gluSphere(bubble, 7.5, 20, 20);
    glDisable(GL_BLEND);
    glPopMatrix();
}
