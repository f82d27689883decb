// The Linux rendering surface: a GLX context on an X window, either one we
// make (double-buffered RGBA with a depth buffer of at least 16 bits) or the
// host's own window with the visual the host gave it.
#pragma once

#include <X11/Xlib.h>

#include <GL/glx.h>

#include <string>

struct GlxSurface {
    Display* display = nullptr;
    Window window = 0;
    bool ownWindow = false;      // ours to destroy
    Colormap colormap = 0;
    GLXContext context = nullptr;
    bool doubleBuffered = true;
};

// Creates our own window over (x, y, width, height) of `parent`, selecting
// `eventMask`, and makes its context current. On failure returns false with
// the one line to show in `error`, leaving what was made for releaseGlxSurface.
bool createGlxWindow(Display* display, Window parent, int x, int y, int width, int height,
                     bool overrideRedirect, long eventMask, GlxSurface& surface, std::string& error);

// Makes a context for `window` itself, with the window's own visual, current.
// A visual that cannot do OpenGL fails with one line in `error`.
bool attachGlxSurface(Display* display, Window window, GlxSurface& surface, std::string& error);

// Asks for a swap interval (1: follow the refresh rate, 0: do not wait)
// through whichever swap-control extension GLX offers. False when none does.
bool setSwapInterval(GlxSurface& surface, int interval);

// Shows the frame just drawn.
void presentGlxSurface(GlxSurface& surface);

// Releases the context, and the window and colormap if they are ours; safe
// on a partial surface.
void releaseGlxSurface(GlxSurface& surface);
