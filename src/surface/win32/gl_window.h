// The Windows rendering surface: the "OpenGL Window" child with its pixel
// format, palette and WGL context, and the two procedures around it.
#pragma once

#include <windows.h>

struct GlSurface {
    HWND window = nullptr;      // the GL child
    HDC dc = nullptr;           // its own device context (CS_OWNDC)
    HGLRC context = nullptr;
    HPALETTE palette = nullptr; // only when the pixel format needs one
    UINT_PTR FrameTimerId = 0;  // 0 when the platform refused the timer
};
extern GlSurface glSurface;

// Creates the child over (x, y, width, height) of `parent` and makes its
// context current. Each failure shows its own message and returns nullptr,
// leaving what was made in place.
HWND CreateGlChildWindow(int x, int y, int width, int height, HWND parent);

// The saver window's messages after the host's: builds the surface and
// starts the scene on WM_CREATE, releases it on WM_DESTROY.
LRESULT SceneSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The GL child's class procedure: frame timer, painting, destruction.
LRESULT CALLBACK GlChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
