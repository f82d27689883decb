// Scene: its life cycle, the scene clock and the frame, the camera, the
// encounter with the cube, and the flat overlay.
//
// How a run goes, in every program (Quelmar.scr, quelmar, quelmar-render,
// and the tests and benchmarks that start the scene as they do):
//
//   surface: a window and a double-buffered GL context, made current
//   loadSettings()                 the INI file; a program may then put its
//                                  own values over them (the Linux options)
//   InitScene(width, height)       the one start-up
//   repeat: events -> drawFrame() -> swap
//           a new size: ResizeScene(width, height) between frames
//   ReleaseScene()                 while the context is still current
//   surface: the context, then the window
//
// Each host provides the command line and its mode dispatch (host/: the
// contract in host.h), the surface (surface/win32, surface/x11,
// surface/offscreen), the event loop with the dismissal rules (host.h) and
// the swap, and the platform's profile functions (common/platform.h). The
// scene (scene/, backdrop/, ship/, textures/) draws only through drawFrame
// and keeps no platform state. Tests start from resetScene() and drive time
// through a ScriptedClock (surface.h).
#pragma once

#include <cstdint>

#include "surface/surface.h"

// ---- Life cycle ------------------------------------------------------------

extern TimeStamp SceneStartTime;  // sampled once by InitScene
extern int32_t ClientWidth;       // drawing area: InitScene's size, then ResizeScene's
extern int32_t ClientHeight;

// Scene start-up, once per GL context, after loadSettings: the size, GL
// state, start time and seeding, mesh, warp lines, stars, flash ring, the
// seven textures, the bubble's quadric.
void InitScene(int32_t width, int32_t height);
// A new drawing area between frames: the size, the viewport and the
// projection; every later frame keeps them.
void ResizeScene(int32_t width, int32_t height);
// Its counterpart, while the same context is still current: releases what
// InitScene made, in reverse order. Safe to call twice, or without InitScene.
void ReleaseScene();
// Every program-wide value of the scene, the settings and the random
// generator back to its program-start value (GL objects are not touched:
// ReleaseScene first). A new global gets its line here.
void resetScene();

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
