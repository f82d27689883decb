// The Windows rendering surface: the "OpenGL Window" child with its pixel
// format, palette and WGL context, made and released here.
#pragma once

#include <windows.h>

struct GlSurface {
    HWND window = nullptr;      // the GL child
    HDC dc = nullptr;           // its own device context (CS_OWNDC)
    HGLRC context = nullptr;
    HPALETTE palette = nullptr; // only when the pixel format needs one
};
extern GlSurface glSurface;

// Creates the child over (x, y, width, height) of `parent`, with `procedure`
// as its class procedure and `title` as its name, and makes its context
// current. Each failure shows its own message and returns nullptr, leaving
// what was made for ReleaseGlChildWindow.
HWND CreateGlChildWindow(int x, int y, int width, int height, HWND parent, WNDPROC procedure,
                         const char* title);

// The context, the device context, the palette, then the child window; after
// ReleaseScene (surface/surface.h). Safe on a partial surface and twice.
void ReleaseGlChildWindow();
