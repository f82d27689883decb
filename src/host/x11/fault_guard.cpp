// The Linux host's guards: a fatal signal ends the process with the fault
// code, a stop signal ends the run between frames, an X error is reported
// where it happens, a lost display ends the process.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <initializer_list>

#include "host/x11/x11_host.h"

X11Host host;

namespace {

volatile sig_atomic_t stopSignal = 0;
volatile sig_atomic_t sceneRunning = 0;
int wakePipe[2] = {-1, -1};  // a stop signal wakes the wait between frames

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

int onXError(Display* display, XErrorEvent* event)
{
    if (host.trapping) {
        host.trappedError = event->error_code;
        return 0;
    }
    if (host.target && event->resourceid == host.target) {
        host.targetGone = true;  // the window we draw into was destroyed under us
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

} // namespace

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

void installXErrorHandlers()
{
    XSetErrorHandler(onXError);
    XSetIOErrorHandler(onXConnectionLost);
}

void markSceneRunning() { sceneRunning = 1; }

int stopSignalCaught() { return stopSignal; }

void beginTrap()
{
    XSync(host.display, False);
    host.trappedError = 0;
    host.trapping = true;
}

bool endTrap()
{
    XSync(host.display, False);
    host.trapping = false;
    return host.trappedError == 0;
}

int64_t nowMicroseconds()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

void waitForInput(int64_t microseconds)
{
    pollfd fds[2] = {{ConnectionNumber(host.display), POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
    timespec timeout{static_cast<time_t>(microseconds / 1000000), static_cast<long>(microseconds % 1000000) * 1000};
    ppoll(fds, wakePipe[0] >= 0 ? 2 : 1, &timeout, nullptr);
}
