// The Linux host's windows: the single-instance marker, the hidden cursor,
// the names, and what each event of a run means.
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstring>

#include "host/x11/x11_host.h"
#include "scene/scene.h"

namespace {

void resize(int width, int height)
{
    if (width != ClientWidth || height != ClientHeight)
        ResizeScene(width, height);
}

// The input that the dismissal rules judge; false for any other event.
bool saverInputOf(const XEvent& event, SaverInput& input)
{
    switch (event.type) {
    case KeyPress:
        input.kind = SaverInput::KeyPressed;
        return true;
    case ButtonPress:  // not the wheel's buttons
        input.kind = SaverInput::ButtonPressed;
        return event.xbutton.button >= Button1 && event.xbutton.button <= Button3;
    case MotionNotify:
        input.kind = SaverInput::PointerMoved;
        return readPointer(host.display, input.x, input.y);
    case FocusIn:
        input.kind = SaverInput::FocusGained;
        return event.xfocus.mode == NotifyNormal;
    case FocusOut:  // a grab's or a child's focus changes are no loss
        input.kind = SaverInput::FocusLost;
        return event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior;
    default:
        return false;
    }
}

void closeKeys(SaverRun& run, const XEvent& event)
{
    if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == run.deleteWindow)
        run.running = false;
    if (event.type == KeyPress) {
        const KeySym key = XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0);
        if (key == XK_q || key == XK_Q || key == XK_Escape)
            run.running = false;
    }
}

} // namespace

bool readPointer(Display* display, int& x, int& y)
{
    Window root, child;
    int wx, wy;
    unsigned mask;
    return XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &wx, &wy, &mask);
}

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

void handleEvent(SaverRun& run, const XEvent& event)
{
    const Window window = run.surface.window;
    SaverInput input{SaverInput::KeyPressed};
    if (event.type == DestroyNotify && event.xdestroywindow.window == window) {
        run.surface.ownWindow = false;  // already gone
        run.running = false;
    } else if (event.type == ConfigureNotify && event.xconfigure.window == window) {
        resize(event.xconfigure.width, event.xconfigure.height);
    } else if (run.fullScreen) {
        if (event.type == MapNotify)
            XSetInputFocus(host.display, window, RevertToParent, CurrentTime);
        else if (saverInputOf(event, input) && dismissalEnds(run.dismissal, input))
            run.running = false;
    } else if (run.ownTopLevel) {
        closeKeys(run, event);
    }
}
