#include "host/x11/x11_host.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "common/platform.h"
#include "common/posix/posix_host.h"
#include "host/host.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "surface/surface.h"
#include "surface/x11/glx_surface.h"
#include "textures/textures.h"

namespace {

constexpr const char* SaverClass = "WindowsScreenSaverClass";
constexpr const char* SaverTitle = "Screen Saver";
constexpr unsigned MouseThreshold = 4;
constexpr int FaultExitCode = 70;

volatile sig_atomic_t stopRequested = 0;

struct SaverRun {
    Display* display = nullptr;
    GlxSurface surface;
    bool previewMode = false;
    bool activated = false;    // focus arrived once; losing it then ends the saver
    int mouseX = 0;            // MouseReference, root coordinates
    int mouseY = 0;
    bool running = true;
};

int ignoreXError(Display*, XErrorEvent*) { return 0; }

// ---- Fault guard -----------------------------------------------------------

void onFault(int signal)
{
    // Only async-signal-safe calls here.
    const char message[] = "quelmar: fatal signal, exiting\n";
    ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    (void)signal;
    _exit(FaultExitCode);
}

void onStop(int) { stopRequested = 1; }

void installGuards()
{
    struct sigaction fault {};
    fault.sa_handler = onFault;
    sigemptyset(&fault.sa_mask);
    fault.sa_flags = SA_RESETHAND;
    for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        sigaction(s, &fault, nullptr);
    struct sigaction stop {};
    stop.sa_handler = onStop;
    sigemptyset(&stop.sa_mask);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaction(s, &stop, nullptr);
}

// ---- Windows ---------------------------------------------------------------

bool readPointer(Display* display, int& x, int& y)
{
    Window root, child;
    int wx, wy;
    unsigned mask;
    return XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &wx, &wy, &mask);
}

// The single-instance marker: a top-level window of our class titled "Screen Saver".
Window findRunningSaver(Display* display)
{
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XClassHint hint{};
        char* name = nullptr;
        if (XGetClassHint(display, children[i], &hint)) {
            if (hint.res_class && std::strcmp(hint.res_class, SaverClass) == 0 &&
                XFetchName(display, children[i], &name) && name && std::strcmp(name, SaverTitle) == 0)
                found = children[i];
            XFree(hint.res_name);
            XFree(hint.res_class);
            if (name)
                XFree(name);
        }
    }
    if (children)
        XFree(children);
    return found;
}

Cursor invisibleCursor(Display* display, Window window)
{
    static const char empty[1] = {0};
    Pixmap bitmap = XCreateBitmapFromData(display, window, empty, 1, 1);
    XColor black{};
    Cursor cursor = XCreatePixmapCursor(display, bitmap, bitmap, &black, &black, 0, 0);
    XFreePixmap(display, bitmap);
    return cursor;
}

void nameWindow(Display* display, Window window, const char* title)
{
    XStoreName(display, window, title);
    XClassHint hint{};
    hint.res_name = const_cast<char*>("quelmar");
    hint.res_class = const_cast<char*>(SaverClass);
    XSetClassHint(display, window, &hint);
}

// ---- Dismissal -------------------------------------------------------------

void handleEvent(SaverRun& run, const XEvent& event)
{
    if (event.type == DestroyNotify && event.xdestroywindow.window == run.surface.window) {
        run.surface.window = 0;  // gone with its parent
        run.running = false;
        return;
    }
    if (event.type == MapNotify && !run.previewMode)
        XSetInputFocus(run.display, run.surface.window, RevertToParent, CurrentTime);
    if (run.previewMode)
        return;  // a preview ends only with its parent
    switch (event.type) {
    case KeyPress:
        run.running = false;
        break;
    case ButtonPress:
        if (event.xbutton.button >= Button1 && event.xbutton.button <= Button3)
            run.running = false;
        break;
    case MotionNotify: {
        int x, y;
        if (!readPointer(run.display, x, y))
            break;
        const unsigned distance = static_cast<unsigned>(std::abs(x - run.mouseX)) +
                                  static_cast<unsigned>(std::abs(y - run.mouseY));
        if (distance > MouseThreshold) {
            run.running = false;
            run.mouseX = x;
            run.mouseY = y;
        }
        break;
    }
    case FocusIn:
        if (event.xfocus.mode == NotifyNormal)
            run.activated = true;
        break;
    case FocusOut:
        if (run.activated && event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior)
            run.running = false;
        break;
    default:
        break;
    }
}

int RunSaver(Window parent)
{
    SaverRun run;
    run.display = XOpenDisplay(nullptr);
    if (!run.display) {
        std::fprintf(stderr, "quelmar: cannot open the X display (is DISPLAY set?)\n");
        return 1;
    }
    XSetErrorHandler(ignoreXError);
    Display* display = run.display;
    int width, height;
    if (parent) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, parent, &attributes)) {
            XCloseDisplay(display);
            return InvalidCommandExitCode;
        }
        width = attributes.width;
        height = attributes.height;
        run.previewMode = true;
    } else {
        if (Window other = findRunningSaver(display)) {
            XRaiseWindow(display, other);
            XSetInputFocus(display, other, RevertToParent, CurrentTime);
            XCloseDisplay(display);
            return 0;
        }
        width = DisplayWidth(display, DefaultScreen(display));
        height = DisplayHeight(display, DefaultScreen(display));
        parent = DefaultRootWindow(display);
    }
    if (!run.previewMode)
        readPointer(display, run.mouseX, run.mouseY);

    ClientWidth = width;
    ClientHeight = height;
    if (!createGlxSurface(display, parent, 0, 0, width, height, !run.previewMode, run.surface)) {
        platformShowError("Error", "Cant create a OpenGL window!");
        std::exit(1);
    }
    const Window window = run.surface.window;
    nameWindow(display, window, run.previewMode ? "Preview" : SaverTitle);
    if (!run.previewMode) {
        Cursor cursor = invisibleCursor(display, window);
        XDefineCursor(display, window, cursor);
        XFreeCursor(display, cursor);
    }
    XMapRaised(display, window);

    loadSettings();
    InitScene(ClientWidth, ClientHeight);

    // Frames back to back; pending events are handled between frames.
    while (run.running && !stopRequested && !hostQuit.requested) {
        while (run.running && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            handleEvent(run, event);
        }
        if (!run.running)
            break;
        drawFrame();
        glXSwapBuffers(display, window);
    }

    if (run.surface.window) {
        deleteTextures();
        releaseEncounter();
    }
    releaseGlxSurface(run.surface);
    XCloseDisplay(display);
    return hostQuit.requested ? hostQuit.exitCode : 0;
}

int RunPreview(const char* text)
{
    const uint32_t handle = ParseWindowHandle(text);
    if (handle == 0)
        return InvalidCommandExitCode;
    return RunSaver(static_cast<Window>(handle));
}

int ShowSettingsDialog()
{
    std::fprintf(stderr, "quelmar: the settings dialog is not available on this platform yet\n");
    return 0;
}

} // namespace

int HostMain(const char* argumentText)
{
    installGuards();
    const HostCommand command = parseHostCommand(argumentText, false);
    switch (command.mode) {
    case RunMode::SettingsDialog:
    case RunMode::SettingsDialogOwned:
        return ShowSettingsDialog();
    case RunMode::Saver:
        return RunSaver(0);
    case RunMode::Preview:
        return RunPreview(command.rest);
    case RunMode::ChangePassword:  // never on X11: not the Windows 95 family
    case RunMode::Invalid:
        break;
    }
    return InvalidCommandExitCode;
}
