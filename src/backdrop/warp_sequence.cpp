#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "backdrop/backdrop.h"
#include "common/random.h"
#include "scene/scene.h"
#include "surface/gl.h"

WarpSequence warp;
bool forceNextEncounter = false;
bool encounterWasForced = false;

namespace {

constexpr double Pi = 3.141592653589793;
constexpr double PiOverFive = 0.6283185307179586;  // pods: a half swing in 5 s
constexpr double PiOverFour = Pi / 4;
// Where each timed curve turns back, in seconds of its state. Past the turn a
// curve runs back across its threshold, so a frame later than the whole window
// (a stall) would reverse the motion: it reads the curve at the turn instead,
// and the state ends there.
constexpr float PodSwingTop = 5.0f;
constexpr float StretchTop = 1.0f;
constexpr float DropOutBottom = 4.0f;
constexpr float FullStretch = 10.0f;
constexpr float FlashDistance = 255.0f;
constexpr float OutOfSight = -999.0f;              // beyond the far plane

float elapsedInState() { return SceneClock - warp.warpStateStart; }

void enterState(WarpState next)
{
    markWarpStateStart();
    warp.warpState = next;
}

void drawNextWait()
{
    const int pause = settings.warpPause;
    warp.warpWait = static_cast<float>(sceneRand() % pause + 0.25 * pause);
}

// The heading the ship turns to before the jump, away from the cube.
void chooseShipTurn()
{
    const float a = encounter.encounterBase[0];
    const float b = encounter.encounterBase[1];
    const float c = encounter.encounterBase[2];
    float* target = warp.shipTurnTarget;
    switch (sceneRand() % 3) {
    case 0:
        if (c > 0) {
            target[0] = static_cast<float>(sceneRand() % 45);
            target[1] = static_cast<float>(sceneRand() % 80 + 90);
        } else {
            target[0] = static_cast<float>(-(sceneRand() % 45));
            target[1] = static_cast<float>(90 - sceneRand() % 80);
        }
        break;
    case 1:
        target[2] = static_cast<float>(b > 0 ? 45 - sceneRand() % 90 : sceneRand() % 90 + 45);
        break;
    default:
        if (a > 0) {
            target[0] = static_cast<float>(b > 0 ? -(sceneRand() % 45) : sceneRand() % 45);
            target[1] = static_cast<float>(sceneRand() % 60 + 90);
        } else {
            target[0] = (sceneRand() % 2 == 1) ? 360.0f : 0.0f;  // a full roll, or none
        }
        break;
    }
}

bool outsideRestZone(int v) { return v <= -40 || v >= 40; }

void startEncounter()
{
    int a, b, c;
    do {
        a = sceneRand() % 150 - 75;
        b = sceneRand() % 150 - 75;
        c = sceneRand() % 150 - 75;
    } while (!outsideRestZone(a) && !outsideRestZone(b) && !outsideRestZone(c));
    encounter.encounterMode = Approach;
    const int base[3] = {a, b, c};
    for (int axis = 0; axis < 3; ++axis) {
        encounter.encounterBase[axis] = static_cast<float>(base[axis]);
        encounter.encounterStart[axis] = static_cast<float>(2 * base[axis]);
    }
}

// Cruise and InWarp: leave once the whole seconds in the state reach the wait.
void waitThenAdvance()
{
    // Whole seconds, compared as a double: defined for any clock jump.
    const double whole = std::fabs(std::trunc(static_cast<double>(elapsedInState())));
    if (whole < warp.warpWait)
        return;
    const bool leavingCruise = warp.warpState == Cruise;
    enterState(static_cast<WarpState>(warp.warpState + 1));
    drawNextWait();
    if (leavingCruise && encounter.encounterMode != NoEncounter)
        chooseShipTurn();
}

void updatePrepare(float t)
{
    t = std::min(t, PodSwingTop);
    const double swing = 1 - std::cos(t * PiOverFive);
    warp.warpLineSpeed = 0.1f;
    warp.podAngle = static_cast<float>(20 * swing);
    if (encounter.encounterMode != NoEncounter) {
        for (int axis = 0; axis < 3; ++axis)
            warp.shipTurn[axis] = static_cast<float>(warp.shipTurnTarget[axis] * swing / 2);
        warp.shipOffset[0] += 0.1f;
    }
    if (warp.podAngle > 39.5f) {
        warp.podAngle = 40;
        warp.jumpStartX = warp.shipOffset[0];
        enterState(Jump);
        for (int axis = 0; axis < 3; ++axis)
            warp.shipTurn[axis] = warp.shipTurnTarget[axis];
    }
}

void updateJump(float t)
{
    warp.shipStretch = static_cast<float>(5 * (1 - std::cos(t * Pi)));
    // Only past the window: a late frame inside it keeps its own stretch.
    if (t > StretchTop && warp.shipStretch <= 9)
        warp.shipStretch = FullStretch;
    warp.shipOffset[0] = warp.jumpStartX + 4 * warp.shipStretch;
    if (warp.shipStretch > 9)
        enterState(Flash);
}

void updateFlash(float t)
{
    if (t < 1)
        warp.flashScale = static_cast<float>(0.375 * (1 - std::cos(2 * Pi * t)));
    if (t >= 10) {
        markWarpStateStart();
        warp.warpLineSpeed = 0.5f;
        for (int axis = 0; axis < 3; ++axis) {
            warp.shipTurnTarget[axis] = 0;
            warp.shipTurn[axis] = 0;
            warp.shipOffset[axis] = 0;
        }
        warp.jumpStartX = 0;
        encounter.encounterMode = NoEncounter;
        encounter.cubePosition[0] = ParkedCubeX;
        warp.warpState = InWarp;
    }
}

void updateDropOut(float t)
{
    t = std::min(t, DropOutBottom);
    const double c = std::cos(t * PiOverFour);
    warp.warpLineStretch = static_cast<float>(c);
    warp.warpLineSpeed = static_cast<float>((c + 1) * 0.2);
    if (c < 0.05) {
        warp.warpLineSpeed = 0.1f;
        warp.warpLineStretch = 1;
        warp.warpState = Settle;
        markWarpStateStart();
    }
}

void updateSettle(float t)
{
    t = std::min(t, PodSwingTop);
    warp.warpLineSpeed = 0.1f;
    warp.podAngle = static_cast<float>(40 - 20 * (1 - std::cos(t * PiOverFive)));
    if (warp.podAngle < 0.5f) {
        warp.podAngle = 0;
        markWarpStateStart();
        warp.warpState = Cruise;
        warp.shipStretch = 0;
        warp.flashScale = 0;
        const bool drawn = sceneRand() % 100 > 70;  // 29 chances in 100
        if (drawn || forceNextEncounter) {
            encounterWasForced = encounterWasForced || !drawn;
            forceNextEncounter = false;
            startEncounter();
        }
    }
}

} // namespace

void markWarpStateStart() { warp.warpStateStart = SceneClock; }

void updateWarp()
{
    const float t = elapsedInState();
    switch (warp.warpState) {
    case Prepare:
        updatePrepare(t);
        break;
    case Jump:
        updateJump(t);
        break;
    case Flash:
        updateFlash(t);
        break;
    case DropOut:
        updateDropOut(t);
        break;
    case Settle:
        updateSettle(t);
        break;
    case Cruise:
    case InWarp:
        break;
    }
}

void applyWarp()
{
    switch (warp.warpState) {
    case Cruise:
    case InWarp:
        waitThenAdvance();
        break;
    case Jump:
        glScalef(1 + warp.shipStretch, 1, 1);
        break;
    case Flash: {
        const float t = elapsedInState();
        if (t < 1) {
            glPushMatrix();
            glTranslatef(FlashDistance, 0, 0);
            glScalef(1, 1.25f * warp.flashScale, warp.flashScale);
            drawFlash();
            glPopMatrix();
        }
        if (t <= 16)
            glTranslatef(OutOfSight, 0, 0);
        break;
    }
    default:
        break;
    }
}
