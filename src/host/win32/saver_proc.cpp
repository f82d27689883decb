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

LRESULT createScene(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    if (!CreateGlChildWindow(0, 0, client.right, client.bottom, window, GlChildProc, MakerWebAddress)) {
        MessageBoxA(nullptr, NoSurfaceText, NoSurfaceCaption, MB_ICONERROR);
        ExitSaverProcess(NoSurfaceExitCode);
    }
    loadSettings();  // the layouts and texture loads read them
    InitScene(client.right, client.bottom);
    saverHost.sceneRunning = true;
    return 0;
}

// The scene goes while its context is still current, then the surface.
LRESULT releaseSurface()
{
    if (saverHost.sceneRunning)
        ReleaseScene();
    saverHost.sceneRunning = false;
    ReleaseGlChildWindow();
    PostQuitMessage(0);
    return 0;
}

// The child covers the saver window's client area, whatever its size.
void fitChild(HWND window)
{
    RECT client{}, child{};
    GetClientRect(window, &client);
    if (glSurface.window && GetClientRect(glSurface.window, &child) &&
        (child.right != client.right || child.bottom != client.bottom))
        MoveWindow(glSurface.window, 0, 0, client.right, client.bottom, FALSE);
}

// A preview follows the size of the window it lives in. Checked before each
// frame: the frames keep a paint pending, so the timer's ticks may wait.
void followParent()
{
    const HWND parent = saverHost.PreviewMode ? GetParent(saverHost.saverWindow) : nullptr;
    RECT outer{}, own{};
    if (parent && GetClientRect(parent, &outer) && GetClientRect(saverHost.saverWindow, &own) &&
        (outer.right != own.right || outer.bottom != own.bottom))
        MoveWindow(saverHost.saverWindow, 0, 0, outer.right, outer.bottom, FALSE);
}

} // namespace

LRESULT SceneSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return createScene(window);
    case WM_SIZE:
        fitChild(window);
        return 0;
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
        saverHost.frameTimer = SetTimer(window, FrameTimer, FramePeriodMs, nullptr);
        return 0;
    case WM_SIZE:
        if (saverHost.sceneRunning)  // the first size comes before the context
            ResizeScene(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        // No BeginPaint/EndPaint: the region stays invalid, so the next
        // paint follows as soon as the queue is empty.
        if (!saverHost.sceneRunning) {  // an error box's loop, before the scene or after it
            ValidateRect(window, nullptr);
            return 0;
        }
        followParent();
        drawFrame();
        SwapBuffers(glSurface.dc);
        return 0;
    case WM_TIMER:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        if (saverHost.frameTimer)
            KillTimer(window, saverHost.frameTimer);
        saverHost.frameTimer = 0;
        PostQuitMessage(0);
        return 0;
    default:
        return DefaultSaverProc(window, message, wParam, lParam);
    }
}
