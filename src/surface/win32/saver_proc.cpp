// SceneSaverProc builds and releases the surface around the scene; the GL
// child paints frames back to back, its 30 ms timer only renewing the
// repaint request.
#include "host/win32/win32_host.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "surface/surface.h"
#include "surface/win32/gl_window.h"

namespace {

constexpr UINT_PTR FrameTimer = 1;
constexpr UINT FramePeriodMs = 30;
constexpr UINT SurfaceFailureExitCode = 1;

LRESULT createScene(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    ClientWidth = client.right;
    ClientHeight = client.bottom;
    if (!CreateGlChildWindow(0, 0, ClientWidth, ClientHeight, window)) {
        MessageBoxA(nullptr, "Cant create a OpenGL window!", "Error", MB_ICONERROR);
        ExitSaverProcess(SurfaceFailureExitCode);
    }
    loadSettings();  // the layouts and texture loads read them
    InitScene(ClientWidth, ClientHeight);
    return 0;
}

// The saver window goes first: the context is released before the child's
// own destruction deletes the (already freed) textures.
LRESULT releaseSurface()
{
    wglMakeCurrent(nullptr, nullptr);
    ReleaseDC(glSurface.window, glSurface.dc);
    wglDeleteContext(glSurface.context);
    if (glSurface.palette)
        DeleteObject(glSurface.palette);
    DestroyWindow(glSurface.window);
    PostQuitMessage(0);
    return 0;
}

} // namespace

LRESULT SceneSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return createScene(window);
    case WM_DESTROY:
        return releaseSurface();
    default:
        return DefaultSaverProc(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK GlChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        glSurface.FrameTimerId = SetTimer(window, FrameTimer, FramePeriodMs, nullptr);
        return 0;
    case WM_SIZE:
        ResizeView(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        // No BeginPaint/EndPaint: the region stays invalid, so the next
        // paint follows as soon as the queue is empty.
        drawFrame();
        SwapBuffers(glSurface.dc);
        return 0;
    case WM_TIMER:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        if (glSurface.FrameTimerId)
            KillTimer(window, glSurface.FrameTimerId);
        ReleaseScene();
        PostQuitMessage(0);
        return 0;
    default:
        return DefaultSaverProc(window, message, wParam, lParam);
    }
}
