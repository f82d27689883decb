// Scene: the scene clock and the frame, the camera, the encounter with the
// cube, and the flat overlay.
#pragma once

#include <cstdint>

#include "surface/surface.h"

// ---- Scene clock and frame -------------------------------------------------

// T: seconds since SceneStartTime, written once at the start of every frame.
extern float SceneClock;

// The rebase that keeps T to about a millisecond however long the scene
// runs: a float resolves 1 ms up to 2^13 s (2.3 h) and only 0.25 s past 24
// days. When T reaches SceneClockBound, SceneStartTime moves forward and every
// stored time moves back by the same whole multiple of RebaseStep seconds,
// the one that brings T to between RebaseTarget and RebaseTarget + RebaseStep.
// A run shorter than the bound never rebases; differences and phases the
// scene reads stay as they were.
inline constexpr float SceneClockBound = 8192.0f;
inline constexpr int64_t RebaseStep = 300;
inline constexpr int64_t RebaseTarget = 4096;

// T for `now`: whole-second and microsecond differences (32-bit), combined in
// double precision with 1e-6 as a float, rounded once to float.
float sceneClockAt(const TimeStamp& now, const TimeStamp& start);

// Step 1 of every frame: SceneClock for `now`, rebased as above when due.
void advanceSceneClock(const TimeStamp& now);

// Draws one frame. Called for every paint after InitScene, with GL_MODELVIEW
// selected; the caller swaps the buffers.
void drawFrame();

// ---- Camera ----------------------------------------------------------------

struct Camera {
    int32_t cameraSelect[3] = {0, 0, 0};       // eye candidate for x, y, z (0..5)
    float cameraDistance[3] = {0, 0, 0};       // swing widths d0, d1, d2
    float cameraWait = 0;                      // seconds until the next placement
    float cameraLastChange = -1;               // T of the last placement
    float eyeCandidates[6] = {};               // c0..c5, recomputed every frame
    int32_t cameraJitter[3] = {0, 0, 0};       // -10..9, the encounter view's offsets
    float cameraEye[3] = {0, 0, 10};
    float cameraTarget[3] = {0, 0, 0};
    // Demonstrations and tests only: a fixed eye and look-at point that
    // replace the results after every update (the draws are unchanged).
    bool fixedView = false;
    float fixedEye[3] = {0, 0, 0};
    float fixedTarget[3] = {0, 0, 0};
};
extern Camera camera;

// Sets cameraEye and cameraTarget. Once per frame, after updateWarp.
void updateCamera();
// A new placement once the wait has passed in whole seconds; from updateCamera.
void chooseCameraPlacement();

// ---- Encounter -------------------------------------------------------------

enum EncounterMode : int32_t { NoEncounter = 0, Approach = 1, Standoff = 2 };

inline constexpr float ParkedCubeX = 999.0f;  // the cube's x while out of sight

struct Beam {
    bool active = false;
    bool incoming = false;  // the cube fires at the ship
    float startTime = 0;    // T when the beam began
    float source[3] = {};
    float target[3] = {};
    int32_t vertex = 0;     // ship vertex aimed at by the last incoming beam
};

struct Encounter {
    EncounterMode encounterMode = NoEncounter;
    float encounterBase[3] = {40, -1, 1};     // the cube's rest position
    float encounterStart[3] = {90, 90, 90};   // approach offset, twice the base
    float cubePosition[3] = {ParkedCubeX, 0, 0};
    float energyLevel = 1.0f;                 // 1 is full; may fall below 0
    float lastEnergyChange = 0;               // T of the last energy change
    Beam beam;
};
extern Encounter encounter;

// Every frame: the slow regeneration of the ship's energy.
void regenerateEnergy();
// During an encounter, with the cube's translation applied.
void drawCube();
// During an encounter while no debris fly: starts, draws and ends beams.
void updateBeams();
// While the cube approaches, after the cube and the beams.
void updateApproach();
void drawBeam(const float from[3], const float to[3], int code);
void drawEnergySphere();

// The bubble's GLU quadric, made once at scene start-up (none made twice)
// and released with the scene. Without one the bubble is simply not drawn.
void initEncounter();
void releaseEncounter();

// ---- Overlay ---------------------------------------------------------------

struct Overlay {
    int32_t panelOffset = -65;  // x of the side panel's left edge; -65 hidden
};
extern Overlay overlay;

// The flat head-up layer, last in the frame; leaves depth testing on.
void drawOverlay();
