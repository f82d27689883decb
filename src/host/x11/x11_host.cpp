#include "host/x11/x11_host.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "common/platform.h"
#include "common/posix/posix_host.h"
#include "common/posix/profile_file.h"
#include "common/resources.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "surface/surface.h"
#include "surface/x11/glx_surface.h"

namespace {

constexpr int OwnWindowWidth = 640;
constexpr int OwnWindowHeight = 480;
constexpr long FullScreenEvents = KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask |
                                  StructureNotifyMask;
constexpr long OwnWindowEvents = KeyPressMask | StructureNotifyMask;
constexpr long HostWindowEvents = StructureNotifyMask;  // the host owns its input

volatile sig_atomic_t stopSignal = 0;
// Until the scene runs a stop cannot wait for the next frame: start-up (the
// GL driver, the textures) takes longer than a host gives.
volatile sig_atomic_t sceneRunning = 0;
int wakePipe[2] = {-1, -1};  // a stop signal wakes the wait between frames

struct X11Host {
    Display* display = nullptr;
    SaverOptions options;
    bool trapping = false;    // an expected error is being checked for
    int trappedError = 0;
    Window target = 0;        // the window drawn into, once it is checked
    bool targetGone = false;  // an error named it: destroyed under us
};
X11Host host;

struct SaverRun {
    GlxSurface surface;
    bool fullScreen = false;   // the dismissal rules apply
    bool ownTopLevel = false;  // --window: the window manager's close, q and Escape end it
    Atom deleteWindow = 0;
    bool activated = false;    // focus arrived once; losing it then ends the saver
    int mouseX = 0;            // MouseReference, root coordinates
    int mouseY = 0;
    bool running = true;
};

// ---- Signals and the fault guard -------------------------------------------

void onFault(int)
{
    // Only async-signal-safe calls here.
    const char message[] = "quelmar: fatal signal, exiting\n";
    ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    _exit(FaultExitCode);
}

void onStop(int number)
{
    if (!sceneRunning) {  // nothing drawn yet: what start-up holds goes with the process
        signal(number, SIG_DFL);
        raise(number);
        return;
    }
    if (!stopSignal)
        stopSignal = number;
    const char byte = 0;
    ssize_t ignored = write(wakePipe[1], &byte, 1);
    (void)ignored;
}

void installGuards()
{
    if (pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        wakePipe[0] = wakePipe[1] = -1;
    struct sigaction fault {};
    fault.sa_handler = onFault;
    sigemptyset(&fault.sa_mask);
    fault.sa_flags = SA_RESETHAND;
    for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        sigaction(s, &fault, nullptr);
    struct sigaction stop {};
    stop.sa_handler = onStop;
    sigemptyset(&stop.sa_mask);
    stop.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaction(s, &stop, nullptr);
}

// ---- X errors: reported where they happen ------------------------------------

int onXError(Display* display, XErrorEvent* event)
{
    if (host.trapping) {
        host.trappedError = event->error_code;
        return 0;
    }
    if (host.target && event->resourceid == host.target) {
        host.targetGone = true;  // the host destroyed the window we draw into
        return 0;
    }
    char text[128] = "";
    char number[16];
    char request[64] = "";
    XGetErrorText(display, event->error_code, text, sizeof text);
    std::snprintf(number, sizeof number, "%d", event->request_code);
    XGetErrorDatabaseText(display, "XRequest", number, "", request, sizeof request);
    std::fprintf(stderr, "quelmar: X error: %s, request %d.%d %s, resource 0x%lx\n", text, event->request_code,
                 event->minor_code, request, event->resourceid);
    return 0;
}

int onXConnectionLost(Display*)
{
    const char message[] = "quelmar: lost the connection to the X display\n";
    ssize_t ignored = write(STDERR_FILENO, message, sizeof message - 1);
    (void)ignored;
    _exit(1);
}

// Starts checking the next requests for an error that is expected.
void beginTrap()
{
    XSync(host.display, False);
    host.trappedError = 0;
    host.trapping = true;
}

// True when no error arrived since beginTrap.
bool endTrap()
{
    XSync(host.display, False);
    host.trapping = false;
    return host.trappedError == 0;
}

// ---- Time --------------------------------------------------------------------

int64_t nowMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

// Waits for X input or a stop signal, at most `microseconds`.
void waitForInput(int64_t microseconds)
{
    pollfd fds[2] = {{ConnectionNumber(host.display), POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
    timespec timeout{static_cast<time_t>(microseconds / 1000000), static_cast<long>(microseconds % 1000000) * 1000};
    ppoll(fds, wakePipe[0] >= 0 ? 2 : 1, &timeout, nullptr);
}

// ---- Windows -----------------------------------------------------------------

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
            if (hint.res_class && std::strcmp(hint.res_class, SaverClassName) == 0 &&
                XFetchName(display, children[i], &name) && name && std::strcmp(name, FullScreenTitle) == 0)
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

void hideCursor(Display* display, Window window)
{
    static const char empty[1] = {0};
    Pixmap bitmap = XCreateBitmapFromData(display, window, empty, 1, 1);
    XColor black{};
    Cursor cursor = XCreatePixmapCursor(display, bitmap, bitmap, &black, &black, 0, 0);
    XFreePixmap(display, bitmap);
    XDefineCursor(display, window, cursor);
    XFreeCursor(display, cursor);
}

void nameWindow(Display* display, Window window, const char* title)
{
    XStoreName(display, window, title);
    XClassHint hint{};
    hint.res_name = const_cast<char*>("quelmar");
    hint.res_class = const_cast<char*>(SaverClassName);
    XSetClassHint(display, window, &hint);
}

// ---- Events ------------------------------------------------------------------

void resize(int width, int height)
{
    if (width == ClientWidth && height == ClientHeight)
        return;
    ClientWidth = width;
    ClientHeight = height;
    ResizeView(width, height);
}

void dismissalRules(SaverRun& run, const XEvent& event)
{
    switch (event.type) {
    case MapNotify:
        XSetInputFocus(host.display, run.surface.window, RevertToParent, CurrentTime);
        break;
    case KeyPress:
        run.running = false;
        break;
    case ButtonPress:
        if (event.xbutton.button >= Button1 && event.xbutton.button <= Button3)
            run.running = false;
        break;
    case MotionNotify: {
        int x, y;
        if (readPointer(host.display, x, y) && mouseDistance(run.mouseX, run.mouseY, x, y) > MouseThreshold) {
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

void handleEvent(SaverRun& run, const XEvent& event)
{
    const Window window = run.surface.window;
    if (event.type == DestroyNotify && event.xdestroywindow.window == window) {
        run.surface.ownWindow = false;  // already gone
        run.running = false;
    } else if (event.type == ConfigureNotify && event.xconfigure.window == window) {
        resize(event.xconfigure.width, event.xconfigure.height);
    } else if (run.fullScreen) {
        dismissalRules(run, event);
    } else if (run.ownTopLevel) {
        if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == run.deleteWindow)
            run.running = false;
        if (event.type == KeyPress) {
            const KeySym key = XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0);
            if (key == XK_q || key == XK_Q || key == XK_Escape)
                run.running = false;
        }
    }
}

// ---- The run -------------------------------------------------------------------

void printFrameRate(int64_t& windowStart, int& frames)
{
    ++frames;
    const int64_t now = nowMicroseconds();
    if (now - windowStart < 1000000)
        return;
    std::fprintf(stderr, "quelmar: %.1f frames per second\n", frames * 1e6 / static_cast<double>(now - windowStart));
    windowStart = now;
    frames = 0;
}

// Settings, scene start-up, then frames back to back (or --delay apart),
// with pending events handled between frames.
int runScene(SaverRun& run, int width, int height)
{
    Display* display = host.display;
    ClientWidth = width;
    ClientHeight = height;
    setSwapInterval(run.surface, host.options.vsync ? 1 : 0);
    loadSettings();
    applySettingOptions(host.options);
    InitScene(ClientWidth, ClientHeight);
    sceneRunning = 1;

    const int64_t delay = host.options.delayMicroseconds;
    int64_t nextFrame = nowMicroseconds();
    int64_t fpsStart = nextFrame;
    int fpsFrames = 0;
    while (run.running && !stopSignal && !hostQuit.requested && !host.targetGone) {
        while (run.running && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            handleEvent(run, event);
        }
        if (!run.running || stopSignal || host.targetGone)
            break;
        const int64_t now = nowMicroseconds();
        if (delay && now < nextFrame) {
            waitForInput(nextFrame - now);
            continue;
        }
        nextFrame = now + delay;
        drawFrame();
        presentGlxSurface(run.surface);
        if (host.options.showFps)
            printFrameRate(fpsStart, fpsFrames);
    }
    ReleaseScene();
    releaseGlxSurface(run.surface);
    XSync(display, False);
    return hostQuit.requested ? hostQuit.exitCode : 0;
}

int surfaceFailed(SaverRun& run, const std::string& error)
{
    std::fprintf(stderr, "quelmar: %s\n", error.c_str());
    beginTrap();  // what the failure left behind may fail to go: the one line says it all
    releaseGlxSurface(run.surface);
    endTrap();
    return NoSurfaceExitCode;
}

int runFullScreen()
{
    Display* display = host.display;
    if (Window other = findRunningSaver(display)) {
        XRaiseWindow(display, other);
        XSetInputFocus(display, other, RevertToParent, CurrentTime);
        return 0;
    }
    SaverRun run;
    run.fullScreen = true;
    readPointer(display, run.mouseX, run.mouseY);
    const int width = DisplayWidth(display, DefaultScreen(display));
    const int height = DisplayHeight(display, DefaultScreen(display));
    std::string error;
    if (!createGlxWindow(display, DefaultRootWindow(display), 0, 0, width, height, true, FullScreenEvents,
                         run.surface, error))
        return surfaceFailed(run, error);
    nameWindow(display, run.surface.window, FullScreenTitle);
    hideCursor(display, run.surface.window);
    XMapRaised(display, run.surface.window);
    return runScene(run, width, height);
}

int runOwnWindow()
{
    Display* display = host.display;
    SaverRun run;
    run.ownTopLevel = true;
    std::string error;
    if (!createGlxWindow(display, DefaultRootWindow(display), 0, 0, OwnWindowWidth, OwnWindowHeight, false,
                         OwnWindowEvents, run.surface, error))
        return surfaceFailed(run, error);
    nameWindow(display, run.surface.window, TEXT_DESCRIPTION);
    run.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, run.surface.window, &run.deleteWindow, 1);
    XMapRaised(display, run.surface.window);
    return runScene(run, OwnWindowWidth, OwnWindowHeight);
}

// Into the host's window itself: its visual, its size, its life.
int runInHostWindow(Window window)
{
    Display* display = host.display;
    SaverRun run;
    std::string error;
    beginTrap();
    XWindowAttributes attributes{};
    const bool exists = XGetWindowAttributes(display, window, &attributes);
    if (exists)
        XSelectInput(display, window, HostWindowEvents);
    if (!endTrap() || !exists) {
        std::fprintf(stderr, "quelmar: there is no window 0x%lx\n", window);
        return BadOptionExitCode;
    }
    beginTrap();
    const bool attached = attachGlxSurface(display, window, run.surface, error);
    if (!endTrap() || !attached) {
        beginTrap();
        const bool stillThere = XGetWindowAttributes(display, window, &attributes);
        if (!endTrap() || !stillThere) {  // the host took it back while we started: as if destroyed
            beginTrap();
            releaseGlxSurface(run.surface);
            endTrap();
            return 0;
        }
        if (attached) {
            char text[128] = "";
            XGetErrorText(display, host.trappedError, text, sizeof text);
            error = std::string(NoSurfaceText) + " " + NoActivateText + " (X error: " + text + ")";
        }
        return surfaceFailed(run, error);
    }
    host.target = window;
    return runScene(run, attributes.width, attributes.height);
}

} // namespace

// ---- The host contract -------------------------------------------------------------

int RunSaver(WindowHandle parent)
{
    if (!parent)
        return runFullScreen();
    return runInHostWindow(static_cast<Window>(reinterpret_cast<uintptr_t>(parent)));
}

int RunPreview(const char* text)
{
    if (!*text)
        return runOwnWindow();
    uint32_t id = 0;
    if (!parseWindowId(text, id)) {
        std::fprintf(stderr, "quelmar: '%s' is not a window id\n", text);
        return BadOptionExitCode;
    }
    return RunSaver(reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(id)));
}

int ShowSettingsDialog(WindowHandle)
{
    std::fprintf(stderr,
                 "quelmar: there is no settings dialog on X11: give the settings as options (quelmar --help) "
                 "or in %s\n",
                 profilePathFor(TEXT_INIFILE).c_str());
    return 0;
}

int RunPasswordChange(const char*) { return BadCommandExitCode; }  // not the Windows 95 family

WindowHandle ForegroundWindow() { return nullptr; }

int stopSignalCaught() { return stopSignal; }

int X11HostMain(const SaverOptions& options)
{
    installGuards();
    host.options = options;
    if (options.place == SaverPlace::Settings)
        return runHostCommand({RunMode::SettingsDialogOwned, ""});

    // The host's window, from the environment: XScreenSaver and MATE give hex, xsecurelock decimal.
    const char* fromHost = std::getenv("XSCREENSAVER_WINDOW");
    uint32_t id = 0;
    if (options.place == SaverPlace::Root && fromHost && *fromHost && !parseWindowId(fromHost, id)) {
        std::fprintf(stderr, "quelmar: XSCREENSAVER_WINDOW='%s' is not a window id\n", fromHost);
        return BadOptionExitCode;
    }
    host.display = XOpenDisplay(nullptr);
    if (!host.display) {
        std::fprintf(stderr, "quelmar: cannot open the X display (is DISPLAY set?)\n");
        return 1;
    }
    XSetErrorHandler(onXError);
    XSetIOErrorHandler(onXConnectionLost);

    char rootText[24];
    std::snprintf(rootText, sizeof rootText, "0x%lx", DefaultRootWindow(host.display));
    HostCommand command{RunMode::Preview, ""};
    switch (options.place) {
    case SaverPlace::FullScreen:
        command.mode = RunMode::Saver;
        break;
    case SaverPlace::HostWindow:
        command.rest = options.windowId;
        break;
    case SaverPlace::Root:
        command.rest = fromHost && *fromHost ? fromHost : rootText;
        break;
    case SaverPlace::OwnWindow:
    case SaverPlace::Settings:
        break;
    }
    const int exitCode = runHostCommand(command);
    XCloseDisplay(host.display);
    host.display = nullptr;
    return exitCode;
}
