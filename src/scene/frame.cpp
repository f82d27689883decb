#include "backdrop/backdrop.h"
#include "scene/scene.h"
#include "ship/ship.h"
#include "surface/gl.h"
#include "surface/surface.h"

float SceneClock = 0;

float sceneClockAt(const TimeStamp& now, const TimeStamp& start)
{
    // 32-bit wrap-around differences, as the clock's fields are 32-bit.
    const auto ds = static_cast<int32_t>(static_cast<uint32_t>(now.seconds) -
                                         static_cast<uint32_t>(start.seconds));
    const int32_t dus = now.microseconds - start.microseconds;
    constexpr float microsecond = 1e-6f;
    return static_cast<float>(static_cast<double>(ds) +
                              static_cast<double>(dus) * static_cast<double>(microsecond));
}

namespace {

// Every time the scene has stored, as T of some frame; each is read only as
// its distance to T.
float* const storedTimes[] = {&camera.cameraLastChange, &warp.warpStateStart, &encounter.lastEnergyChange,
                              &encounter.beam.startTime};

} // namespace

void advanceSceneClock(const TimeStamp& now)
{
    SceneClock = sceneClockAt(now, SceneStartTime);
    if (!(SceneClock >= SceneClockBound))
        return;
    // RebaseStep keeps what follows T itself in phase: the camera's swing
    // (100 s, its tangent 50 s), the ship's lights (3 s) and the energy's
    // milliseconds (1 s). A time stored within 4096 s of T moves exactly.
    const auto whole = static_cast<int64_t>(SceneClock);
    const int64_t shift = (whole - RebaseTarget) / RebaseStep * RebaseStep;
    SceneStartTime.seconds = static_cast<int32_t>(static_cast<uint32_t>(SceneStartTime.seconds) +
                                                  static_cast<uint32_t>(shift));
    SceneClock = sceneClockAt(now, SceneStartTime);
    for (float* time : storedTimes)  // in double: the shift itself need not be a float
        *time = static_cast<float>(*time - static_cast<double>(shift));
}

void drawFrame()
{
    TimeStamp now;
    SampleClock(now);
    advanceSceneClock(now);

    ResizeView(ClientWidth, ClientHeight);
    regenerateEnergy();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();

    updateWarp();  // a state change is seen by the camera in this frame
    updateCamera();
    gluLookAt(camera.cameraEye[0], camera.cameraEye[1], camera.cameraEye[2], camera.cameraTarget[0],
              camera.cameraTarget[1], camera.cameraTarget[2], 0.0, 1.0, 0.0);

    glPushMatrix();  // the camera matrix
    drawStars();

    glPushMatrix();
    if (encounter.encounterMode != NoEncounter) {
        glRotatef(warp.shipTurn[0], 1, 0, 0);
        glRotatef(warp.shipTurn[1], 0, 1, 0);
        glRotatef(warp.shipTurn[2], 0, 0, 1);
    }
    applyWarp();  // its transforms act on the offset below too
    glTranslatef(warp.shipOffset[0], warp.shipOffset[1], warp.shipOffset[2]);
    drawShip();
    glPopMatrix();

    if (encounter.encounterMode != NoEncounter) {
        glPushMatrix();
        glTranslatef(encounter.cubePosition[0], encounter.cubePosition[1], encounter.cubePosition[2]);
        drawCube();
        glPopMatrix();
        if (debrisActive) {
            drawDebris();
        } else {
            updateBeams();
            if (debrisActive)  // a hit inside the beams shows its burst at once
                drawDebris();
        }
    }
    if (encounter.encounterMode == Approach)
        updateApproach();  // after the cube: it is drawn where the last frame put it

    moveWarpLines();
    drawWarpLines();
    glPopMatrix();

    drawOverlay();
}
