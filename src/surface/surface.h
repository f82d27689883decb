// Rendering surface and frame loop: the scene's time source, the fixed GL
// state, and scene start-up. The window and context code lives in the
// platform folders (win32/, x11/, offscreen/).
//
// How a run goes, in every program (Quelmar.scr, quelmar, quelmar-render):
//
//   loadSettings()                    the INI file (and, on Linux, the options)
//   InitScene(width, height)          with a GL context current
//   repeat: events -> drawFrame() -> swap
//                                      (a resize calls ResizeView between frames)
//   ReleaseScene()                    while the context is still current
//
// What each host provides: the command line and its mode dispatch (host/:
// RunSaver, RunPreview, ShowSettingsDialog, RunPasswordChange behind
// runHostCommand), a window and a double-buffered GL context (surface/win32,
// surface/x11, surface/offscreen), the event loop with the dismissal rules
// and the swap, and the platform's profile functions (common/platform.h).
// The scene itself (scene/, backdrop/, ship/, textures/) draws only through
// drawFrame and keeps no platform state. Tests and benchmarks start each run
// from resetScene() and drive time through a ScriptedClock.
//
// The system's own names, kept as they stand: SampleClock, InitScene,
// ResizeView, SetupGlState, SetupLight, SetupFog, SceneStartTime,
// ClientWidth, ClientHeight, and drawFrame's helpers in scene/; the window
// class "WindowsScreenSaverClass", the titles "Screen Saver" and "Preview",
// "Quelmar.ini" and its section and keys. ReleaseScene, resetScene and
// ScriptedClock are ours.
#pragma once

#include <cstdint>

// Wall-clock time with millisecond resolution.
struct TimeStamp {
    int32_t seconds = 0;       // since 1970-01-01 00:00:00 UTC
    int32_t microseconds = 0;  // 0..999000, always a multiple of 1000
};

// Fills `out` with the wall clock (or the scripted clock, when installed);
// returns 0. The scene's only time source.
int SampleClock(TimeStamp& out);

// A clock for exactly repeatable runs (quelmar-render, the tests, the
// benchmarks): frame k of a run at `fps` frames a second lies at
// start + round(k * 1000 / fps) milliseconds.
struct ScriptedClock {
    TimeStamp start{};  // frame 0
    double fps = 60;    // frames a second
    TimeStamp now{};    // what SampleClock returns while installed
};

// The one seam for time: while `clock` is set, SampleClock returns clock->now.
// nullptr goes back to the wall clock.
void installScriptedClock(const ScriptedClock* clock);
// Sets clock.now to frame k's time.
void setScriptedFrame(ScriptedClock& clock, int64_t frame);
// Moves clock.now on by `milliseconds`, for runs that step by hand.
void advanceScriptedClock(ScriptedClock& clock, int64_t milliseconds);

extern TimeStamp SceneStartTime;  // sampled once by InitScene
extern int32_t ClientWidth;       // drawing area, fixed for the run
extern int32_t ClientHeight;

// Scene start-up, once per GL context, after loadSettings: GL state, start
// time and seeding, mesh, warp lines, stars, flash ring, the seven textures,
// the bubble's quadric.
void InitScene(int32_t width, int32_t height);
// Its counterpart, while the same context is still current: releases what
// InitScene made, in reverse order. Safe to call twice, or without InitScene.
void ReleaseScene();
// Every program-wide value of the scene, the settings and the random
// generator back to its program-start value (GL objects are not touched:
// ReleaseScene first). A new global gets its line here.
void resetScene();

// The fixed GL state of a new context, with the start-up projection.
void SetupGlState(int32_t width, int32_t height);
void SetupLight();
void SetupFog();

// Viewport and 45-degree perspective (near 1, far 300) for width x height;
// a height of 0 counts as 1. Leaves GL_MODELVIEW selected.
void ResizeView(int32_t width, int32_t height);
