// The Linux host: the host contract (host/host.h) on X11 and GLX, in three
// files as on Windows: fault_guard.cpp (signals, the fault guard, X errors,
// the wait between frames), saver_window.cpp (window helpers, the events of
// a run) and saver_run.cpp (the frame loop, the three places, the contract).
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "host/host.h"
#include "surface/x11/glx_surface.h"

// Runs the parsed options (the place, the settings, the pacing) and returns
// the exit code. A stop signal that ended the run is in stopSignalCaught().
int X11HostMain(const SaverOptions& options);

// The SIGTERM, SIGINT or SIGHUP that ended the run, or 0.
int stopSignalCaught();

struct X11Host {
    Display* display = nullptr;
    SaverOptions options;
    bool trapping = false;    // an expected error is being checked for
    int trappedError = 0;
    Window target = 0;        // the window drawn into, once the scene runs
    bool targetGone = false;  // an error named it: destroyed under us
};
extern X11Host host;

struct SaverRun {
    GlxSurface surface;
    bool fullScreen = false;   // the dismissal rules apply
    bool ownTopLevel = false;  // --window: the window manager's close, q and Escape end it
    Atom deleteWindow = 0;
    Dismissal dismissal;       // the focus counts once it has arrived
    bool running = true;
};

// ---- fault_guard.cpp ---------------------------------------------------------

// The fault guard and the stop signals; the X error handlers once the
// display is open (installXErrorHandlers).
void installGuards();
void installXErrorHandlers();
// From here on a stop signal waits for the end of the frame; before, it ends
// the process at once (start-up takes longer than a host waits).
void markSceneRunning();
// Starts checking the next requests for an error that is expected; endTrap
// is true when none arrived (the error itself stays in host.trappedError).
void beginTrap();
bool endTrap();
// Waits for X input or a stop signal, at most `microseconds`.
void waitForInput(int64_t microseconds);
int64_t nowMicroseconds();  // monotonic

// ---- saver_window.cpp --------------------------------------------------------

bool readPointer(Display* display, int& x, int& y);  // root coordinates
// The single-instance marker: a top-level window of our class titled "Screen Saver".
Window findRunningSaver(Display* display);
void hideCursor(Display* display, Window window);
void nameWindow(Display* display, Window window, const char* title);
// One event of a run: the window's end and size, then the dismissal rules
// (full screen) or the own window's close keys.
void handleEvent(SaverRun& run, const XEvent& event);
