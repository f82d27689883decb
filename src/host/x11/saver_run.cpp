// The Linux host's runs: settings and scene start-up, the frame loop, the
// three places it draws (full screen, a window of its own, the host's
// window) and the host contract.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/posix/posix_host.h"
#include "common/shown_value.h"
#include "common/posix/profile_file.h"
#include "common/resources.h"
#include "host/x11/x11_host.h"
#include "scene/scene.h"
#include "settings/settings.h"

namespace {

constexpr int OwnWindowWidth = 640;
constexpr int OwnWindowHeight = 480;
constexpr long FullScreenEvents = KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask |
                                  StructureNotifyMask;
constexpr long OwnWindowEvents = KeyPressMask | StructureNotifyMask;
constexpr long HostWindowEvents = StructureNotifyMask;  // the host owns its input

WindowHandle handleOf(Window window) { return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(window)); }

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
    setSwapInterval(run.surface, host.options.vsync ? 1 : 0);
    loadSettings();
    applySettingOptions(host.options);
    InitScene(width, height);
    host.target = run.surface.window;  // its errors mean it went: no message
    markSceneRunning();

    const int64_t delay = host.options.delayMicroseconds;
    int64_t nextFrame = nowMicroseconds();
    int64_t fpsStart = nextFrame;
    int fpsFrames = 0;
    while (run.running && !stopSignalCaught() && !hostQuit.requested && !host.targetGone) {
        while (run.running && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            handleEvent(run, event);
        }
        if (!run.running || stopSignalCaught() || host.targetGone)
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
    readPointer(display, run.dismissal.referenceX, run.dismissal.referenceY);
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
        const int attachError = host.trappedError;  // the next check traps anew
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
            XGetErrorText(display, attachError, text, sizeof text);
            error = std::string(NoSurfaceText) + " " + NoActivateText + " (X error: " + text + ")";
        }
        return surfaceFailed(run, error);
    }
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
        std::fprintf(stderr, "quelmar: '%s' is not a window id\n", shownValue(text).c_str());
        return BadOptionExitCode;
    }
    return RunSaver(handleOf(id));
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
        std::fprintf(stderr, "quelmar: XSCREENSAVER_WINDOW='%s' is not a window id\n", shownValue(fromHost).c_str());
        return BadOptionExitCode;
    }
    host.display = XOpenDisplay(nullptr);
    if (!host.display) {
        std::fprintf(stderr, "quelmar: cannot open the X display (is DISPLAY set?)\n");
        return 1;
    }
    installXErrorHandlers();

    int exitCode = 0;
    switch (options.place) {
    case SaverPlace::FullScreen:
        exitCode = runHostCommand({RunMode::Saver, ""});
        break;
    case SaverPlace::HostWindow:
        exitCode = runHostCommand({RunMode::Preview, options.windowId});
        break;
    case SaverPlace::Root:
        exitCode = RunSaver(handleOf(id ? id : DefaultRootWindow(host.display)));
        break;
    case SaverPlace::OwnWindow:
    case SaverPlace::Settings:
        exitCode = runHostCommand({RunMode::Preview, ""});
        break;
    }
    XCloseDisplay(host.display);
    host.display = nullptr;
    return exitCode;
}
