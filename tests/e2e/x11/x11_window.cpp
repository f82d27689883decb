// A plain black 320x240 top-level window standing in for a host's: prints its
// id once it is shown, then lives until it is killed or its display goes. The
// tests resize, focus and destroy it with xdotool.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("x11_window: no display\n", stderr);
        return 1;
    }
    XSetIOErrorHandler([](Display*) -> int { std::exit(0); });  // killed with its window: no message
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 50, 50, 320, 240, 0,
                                              BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, "quelmar-test-parent");
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XEvent event;
    do  // until it is shown
        XNextEvent(display, &event);
    while (event.type != MapNotify);
    std::printf("%lu\n", window);
    std::fflush(stdout);
    for (;;)
        XNextEvent(display, &event);
}
