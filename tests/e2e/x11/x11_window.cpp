// A plain top-level window for the end-to-end tests: prints its id, then
// obeys commands on standard input ("destroy", "focus") until end of input.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x11_window: no display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 50, 50, 320, 240, 0,
                                        BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "quelmar-test-parent");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event;;) {  // wait until it is shown
        XNextEvent(display, &event);
        if (event.type == MapNotify)
            break;
    }
    std::printf("%lu\n", window);
    std::fflush(stdout);

    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        if (std::strncmp(line, "destroy", 7) == 0 && window) {
            XDestroyWindow(display, window);
            window = 0;
        } else if (std::strncmp(line, "focus", 5) == 0 && window) {
            XSetInputFocus(display, window, RevertToParent, CurrentTime);
        }
        XSync(display, False);
        std::printf("ok\n");
        std::fflush(stdout);
    }
    XCloseDisplay(display);
    return 0;
}
