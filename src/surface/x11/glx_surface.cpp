#include "surface/x11/glx_surface.h"

#include <cstdio>
#include <cstring>

#include "surface/surface.h"

namespace {

using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
using SwapIntervalMesa = int (*)(unsigned);
using SwapIntervalSgi = int (*)(int);

bool fail(std::string& error, const char* text)
{
    error = std::string(NoSurfaceText) + " " + text;
    return false;
}

bool hasExtension(Display* display, const char* name)
{
    const char* list = glXQueryExtensionsString(display, DefaultScreen(display));
    const size_t length = std::strlen(name);
    for (const char* p = list; p && (p = std::strstr(p, name)) != nullptr; p += length)
        if ((p == list || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0'))
            return true;
    return false;
}

template <typename Function> Function lookUp(const char* name)
{
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

bool makeCurrent(GlxSurface& surface, XVisualInfo* visual, std::string& error)
{
    surface.context = glXCreateContext(surface.display, visual, nullptr, True);
    if (!surface.context)
        return fail(error, NoContextText);
    if (!glXMakeCurrent(surface.display, surface.window, surface.context))
        return fail(error, NoActivateText);
    return true;
}

} // namespace

bool createGlxWindow(Display* display, Window parent, int x, int y, int width, int height,
                     bool overrideRedirect, long eventMask, GlxSurface& surface, std::string& error)
{
    surface.display = display;
    const int screen = DefaultScreen(display);
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1,
                        GLX_BLUE_SIZE, 1, GLX_DEPTH_SIZE, 16, None};
    XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
    if (!visual)
        return fail(error, NoPixelFormatText);

    surface.colormap = XCreateColormap(display, RootWindow(display, screen), visual->visual, AllocNone);
    XSetWindowAttributes set{};
    set.colormap = surface.colormap;
    set.background_pixel = BlackPixel(display, screen);
    set.border_pixel = 0;
    set.override_redirect = overrideRedirect ? True : False;
    set.event_mask = eventMask;
    surface.window = XCreateWindow(display, parent, x, y, static_cast<unsigned>(width),
                                   static_cast<unsigned>(height), 0, visual->depth, InputOutput,
                                   visual->visual,
                                   CWColormap | CWBackPixel | CWBorderPixel | CWOverrideRedirect |
                                       CWEventMask,
                                   &set);
    surface.ownWindow = surface.window != 0;
    const bool ok = surface.window ? makeCurrent(surface, visual, error) : fail(error, NoWindowText);
    XFree(visual);
    return ok;
}

bool attachGlxSurface(Display* display, Window window, GlxSurface& surface, std::string& error)
{
    surface.display = display;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes)) {
        char text[64];
        std::snprintf(text, sizeof text, "There is no window 0x%lx.", window);
        return fail(error, text);
    }
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    int usesGl = 0, rgba = 0, doubleBuffer = 0;
    if (visual) {
        glXGetConfig(display, visual, GLX_USE_GL, &usesGl);
        glXGetConfig(display, visual, GLX_RGBA, &rgba);
        glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffer);
    }
    if (!usesGl || !rgba) {
        if (visual)
            XFree(visual);
        char text[96];
        std::snprintf(text, sizeof text, "The visual 0x%lx of window 0x%lx cannot do OpenGL.",
                      static_cast<unsigned long>(wanted.visualid), window);
        return fail(error, text);
    }
    surface.window = window;
    surface.doubleBuffered = doubleBuffer != 0;
    const bool ok = makeCurrent(surface, visual, error);
    XFree(visual);
    return ok;
}

bool setSwapInterval(GlxSurface& surface, int interval)
{
    Display* display = surface.display;
    if (hasExtension(display, "GLX_EXT_swap_control")) {
        if (auto set = lookUp<SwapIntervalExt>("glXSwapIntervalEXT")) {
            set(display, surface.window, interval);
            return true;
        }
    }
    if (hasExtension(display, "GLX_MESA_swap_control")) {
        if (auto set = lookUp<SwapIntervalMesa>("glXSwapIntervalMESA"))
            return set(static_cast<unsigned>(interval)) == 0;
    }
    if (interval > 0 && hasExtension(display, "GLX_SGI_swap_control")) {  // cannot turn it off
        if (auto set = lookUp<SwapIntervalSgi>("glXSwapIntervalSGI"))
            return set(interval) == 0;
    }
    return false;
}

void presentGlxSurface(GlxSurface& surface)
{
    if (surface.doubleBuffered)
        glXSwapBuffers(surface.display, surface.window);
    else
        glFlush();
}

void releaseGlxSurface(GlxSurface& surface)
{
    if (!surface.display)
        return;
    if (surface.context) {
        glXMakeCurrent(surface.display, None, nullptr);
        glXDestroyContext(surface.display, surface.context);
    }
    if (surface.window && surface.ownWindow)
        XDestroyWindow(surface.display, surface.window);
    if (surface.colormap)
        XFreeColormap(surface.display, surface.colormap);
    surface = {};
}
