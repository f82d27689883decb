// The Linux rendering surface: one X window with a GLX context, double
// buffered RGBA with a depth buffer of at least 16 bits.
#pragma once

#include <X11/Xlib.h>

#include <GL/glx.h>

struct GlxSurface {
    Display* display = nullptr;
    Window window = 0;
    Colormap colormap = 0;
    GLXContext context = nullptr;
};

// Creates the window over (x, y, width, height) of `parent` and makes its
// context current. A failure shows its message ("Error Creating Window") and
// returns false, leaving what was made for releaseGlxSurface.
bool createGlxSurface(Display* display, Window parent, int x, int y, int width, int height,
                      bool overrideRedirect, GlxSurface& surface);

// Releases the context, the window and the colormap; safe on a partial surface.
void releaseGlxSurface(GlxSurface& surface);
