// Rendering surface: the scene's time source, the fixed GL state and
// projection, and what every surface (WGL, GLX, EGL) reports when it cannot
// be built. The window and context code lives in the platform folders
// (win32/, x11/, offscreen/).
//
// One release order on every surface: the scene (ReleaseScene) while the
// context is still current, then the context, then the window.
//
// The system's own names, kept as they stand: SampleClock, ResizeView,
// SetupGlState, SetupLight, SetupFog; ScriptedClock is ours.
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

// The fixed GL state of a new context, with the start-up projection.
void SetupGlState(int32_t width, int32_t height);
void SetupLight();
void SetupFog();

// Viewport and 45-degree perspective (near 1, far 300) for width x height;
// a height of 0 counts as 1. Leaves GL_MODELVIEW selected. Every frame, for
// the scene's size (ResizeScene sets it).
void ResizeView(int32_t width, int32_t height);

// ---- When the surface cannot be built ----------------------------------------

// Windows shows the first in a box with SurfaceErrorCaption and then
// NoSurfaceText under NoSurfaceCaption; Linux prints NoSurfaceText and the
// step's text on one line. Either way the run ends with NoSurfaceExitCode.
inline constexpr const char* SurfaceErrorCaption = "Error Creating Window";
inline constexpr const char* NoWindowClassText = "Sorry dude. Can't register the window class.";
inline constexpr const char* NoWindowText = "Sorry dude. Can't create the window.";
inline constexpr const char* NoDeviceContextText = "Sorry dude. Can't get the DC.";
inline constexpr const char* NoPixelFormatText = "Sorry dude. Can't get a pixel format.";
inline constexpr const char* NoSetPixelFormatText = "Sorry dude. Can't set the pixel format.";
inline constexpr const char* NoContextText = "Sorry dude. Can't get a rendering context.";
inline constexpr const char* NoActivateText = "Sorry dude. Can't activate the RC.";
inline constexpr const char* NoSurfaceCaption = "Error";
inline constexpr const char* NoSurfaceText = "Cant create a OpenGL window!";
inline constexpr int NoSurfaceExitCode = 1;
