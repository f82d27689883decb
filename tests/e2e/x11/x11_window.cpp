// Plain top-level windows for the end-to-end tests, standing in for a host's
// window: makes COUNT (default 1) of 320x240, prints their ids on one line,
// then obeys commands for the first on standard input ("destroy", "focus",
// "resize W H", "clear": black again) until end of input.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x11_window: no display\n");
        return 1;
    }
    const int count = argc > 1 ? std::atoi(argv[1]) : 1;
    const int screen = DefaultScreen(display);
    Window windows[8] = {};
    for (int i = 0; i < count && i < 8; ++i) {
        windows[i] = XCreateSimpleWindow(display, RootWindow(display, screen), 50 + 330 * i, 50, 320, 240, 0,
                                         BlackPixel(display, screen), BlackPixel(display, screen));
        XStoreName(display, windows[i], "quelmar-test-parent");
        XSelectInput(display, windows[i], StructureNotifyMask);
        XMapWindow(display, windows[i]);
        for (XEvent event;;) {  // wait until it is shown
            XNextEvent(display, &event);
            if (event.type == MapNotify)
                break;
        }
        std::printf(i ? " %lu" : "%lu", windows[i]);
    }
    std::printf("\n");
    std::fflush(stdout);

    Window window = windows[0];
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        unsigned width = 0, height = 0;
        if (std::strncmp(line, "destroy", 7) == 0 && window) {
            XDestroyWindow(display, window);
            window = 0;
        } else if (std::strncmp(line, "focus", 5) == 0 && window) {
            XSetInputFocus(display, window, RevertToParent, CurrentTime);
        } else if (std::sscanf(line, "resize %u %u", &width, &height) == 2 && window) {
            XResizeWindow(display, window, width, height);
        } else if (std::strncmp(line, "clear", 5) == 0 && window) {
            XClearWindow(display, window);
        }
        XSync(display, False);
        std::printf("ok\n");
        std::fflush(stdout);
    }
    XCloseDisplay(display);
    return 0;
}
