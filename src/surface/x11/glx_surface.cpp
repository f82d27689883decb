#include "surface/x11/glx_surface.h"

#include "common/platform.h"

namespace {

bool fail(const char* text)
{
    platformShowError("Error Creating Window", text);
    return false;
}

} // namespace

bool createGlxSurface(Display* display, Window parent, int x, int y, int width, int height,
                      bool overrideRedirect, GlxSurface& surface)
{
    surface.display = display;
    const int screen = DefaultScreen(display);
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1,
                        GLX_BLUE_SIZE, 1, GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
    if (!visual)
        return fail("Sorry dude. Can't get a pixel format.");

    surface.colormap = XCreateColormap(display, RootWindow(display, screen), visual->visual, AllocNone);
    XSetWindowAttributes set{};
    set.colormap = surface.colormap;
    set.background_pixel = BlackPixel(display, screen);
    set.border_pixel = 0;
    set.override_redirect = overrideRedirect ? True : False;
    set.event_mask = KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask |
                     StructureNotifyMask | ExposureMask;
    surface.window = XCreateWindow(display, parent, x, y, static_cast<unsigned>(width),
                                   static_cast<unsigned>(height), 0, visual->depth, InputOutput,
                                   visual->visual,
                                   CWColormap | CWBackPixel | CWBorderPixel | CWOverrideRedirect |
                                       CWEventMask,
                                   &set);
    if (!surface.window) {
        XFree(visual);
        return fail("Sorry dude. Can't create the window.");
    }
    surface.context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    if (!surface.context)
        return fail("Sorry dude. Can't get a rendering context.");
    if (!glXMakeCurrent(display, surface.window, surface.context))
        return fail("Sorry dude. Can't activate the RC.");
    return true;
}

void releaseGlxSurface(GlxSurface& surface)
{
    if (!surface.display)
        return;
    if (surface.context) {
        glXMakeCurrent(surface.display, None, nullptr);
        glXDestroyContext(surface.display, surface.context);
    }
    if (surface.window)
        XDestroyWindow(surface.display, surface.window);
    if (surface.colormap)
        XFreeColormap(surface.display, surface.colormap);
    surface = {};
}
