#include <cmath>
#include <cstdlib>

#include "backdrop/backdrop.h"
#include "common/random.h"
#include "scene/scene.h"
#include "settings/settings.h"

Camera camera;

namespace {

constexpr double Pi = 3.141592653589793;
constexpr float SwingRate = 0.02f;  // turns per second: one swing every 100 s
constexpr float CandidateLimit = 40.0f;
constexpr float EyeAside = 1.0f;  // the encounter view's shift off the vertical

float clampToLimit(float value)
{
    if (value >= CandidateLimit)
        return CandidateLimit;
    if (value <= -CandidateLimit)
        return -CandidateLimit;
    return value;
}

bool inEncounterView()
{
    return (warp.warpState == Prepare || warp.warpState == Jump) &&
           encounter.encounterMode != NoEncounter;
}

} // namespace

void chooseCameraPlacement()
{
    // Whole seconds, compared as a double: defined for any clock jump.
    const double elapsed = std::fabs(std::trunc(static_cast<double>(SceneClock - camera.cameraLastChange)));
    if (elapsed < camera.cameraWait)
        return;

    const int pause = settings.cameraPause;
    const int r = sceneRand() % pause;
    camera.cameraLastChange = SceneClock;
    camera.cameraWait = static_cast<float>(r + 0.25 * pause);

    if (sceneRand() % 5 == 0) {  // the standard placement
        camera.cameraSelect[0] = 1;
        camera.cameraSelect[1] = 0;
        camera.cameraSelect[2] = 0;
        for (float& d : camera.cameraDistance)
            d = 25;
        return;
    }
    for (int32_t& select : camera.cameraSelect)
        select = sceneRand() % 6;
    for (float& d : camera.cameraDistance)
        d = static_cast<float>(sceneRand() % 30 + 10);
}

namespace {

void computeCamera();

} // namespace

void updateCamera()
{
    computeCamera();
    if (camera.fixedView) {
        for (int axis = 0; axis < 3; ++axis) {
            camera.cameraEye[axis] = camera.fixedEye[axis];
            camera.cameraTarget[axis] = camera.fixedTarget[axis];
        }
    }
}

namespace {

void computeCamera()
{
    if (warp.warpState == Cruise || warp.warpState == InWarp)
        chooseCameraPlacement();

    const double theta = SceneClock * SwingRate * Pi;
    float* c = camera.eyeCandidates;
    c[0] = static_cast<float>(camera.cameraDistance[0] * std::sin(theta));
    c[1] = static_cast<float>(camera.cameraDistance[1] * std::cos(theta));
    c[2] = static_cast<float>(camera.cameraDistance[2] * std::tan(theta));
    c[3] = -c[0];
    c[4] = -c[1];
    c[5] = -c[2];
    c[2] = clampToLimit(c[2]);  // the tangent's poles
    c[5] = clampToLimit(c[5]);

    for (int axis = 0; axis < 3; ++axis)
        camera.cameraEye[axis] = c[camera.cameraSelect[axis]];

    // The frame that starts an encounter still has the cube parked: the
    // approach places it later in that frame, so the view stays on the ship.
    if (encounter.encounterMode == Approach && encounter.cubePosition[0] != ParkedCubeX) {
        for (int axis = 0; axis < 3; ++axis)
            camera.cameraTarget[axis] = encounter.cubePosition[axis];
    } else {
        camera.cameraTarget[0] = warp.shipOffset[0] + 0.5f;
        camera.cameraTarget[1] = warp.shipOffset[1];
        camera.cameraTarget[2] = warp.shipOffset[2];
    }

    if (inEncounterView()) {
        // Opposite the cube, looking at the origin; the jitter holds still.
        for (int axis = 0; axis < 3; ++axis) {
            camera.cameraEye[axis] = clampToLimit(
                -encounter.cubePosition[axis] + static_cast<float>(camera.cameraJitter[axis]));
            camera.cameraTarget[axis] = 0;
        }
        // Straight above or below the origin the view is parallel to the up
        // vector and gluLookAt degenerates (a black view): one unit aside.
        if (camera.cameraEye[0] == 0 && camera.cameraEye[2] == 0)
            camera.cameraEye[2] = EyeAside;
        return;
    }
    for (int32_t& jitter : camera.cameraJitter)
        jitter = sceneRand() % 20 - 10;
}

} // namespace
