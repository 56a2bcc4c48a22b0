#include "x11_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstring>

namespace {

// A property of 32-bit items, or false when the window has none.
bool CardinalProperty(Display* display, Window window, Atom property, unsigned long* value)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 32 && count == 1) {
        *value = *reinterpret_cast<unsigned long*>(data);
        found = true;
    }
    if (data)
        XFree(data);
    return found;
}

// Xlib errors from windows that vanish while we look are expected.
int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

X11Client::X11Client(const char* display)
{
    if (!display || !*display)
        return;
    display_ = XOpenDisplay(display);
    if (!display_)
        return;
    XSetErrorHandler(IgnoreErrors);
    int event = 0, error = 0, major = 0, minor = 0;
    hasXTest_ = XTestQueryExtension(display_, &event, &error, &major, &minor);
}

X11Client::~X11Client()
{
    if (!display_)
        return;
    ReleaseKey();
    XCloseDisplay(display_);
}

unsigned long X11Client::FindWindowOf(pid_t pid)
{
    if (!display_)
        return 0;
    const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    unsigned long found = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; i++) {
            unsigned long value = 0;
            if (CardinalProperty(display_, children[i], pidAtom, &value) &&
                value == static_cast<unsigned long>(pid))
                found = children[i];
        }
        if (children)
            XFree(children);
    }
    return found;
}

std::string X11Client::Title(unsigned long window)
{
    if (!display_ || !window)
        return std::string();
    const Atom netName = XInternAtom(display_, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display_, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 8) {
        title.assign(reinterpret_cast<char*>(data), count);
    } else {
        char* name = nullptr;
        if (XFetchName(display_, window, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    if (data)
        XFree(data);
    return title;
}

bool X11Client::HoldEscape(unsigned long window)
{
    if (!display_ || !hasXTest_ || !window)
        return false;
    // Keys go to the focus window; make it the player's.
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    const KeyCode code = XKeysymToKeycode(display_, XK_Escape);
    if (!code)
        return false;
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XFlush(display_);
    heldKeycode_ = code;
    return true;
}

void X11Client::ReleaseKey()
{
    if (!display_ || !heldKeycode_)
        return;
    XTestFakeKeyEvent(display_, heldKeycode_, False, CurrentTime);
    XFlush(display_);
    heldKeycode_ = 0;
}

bool X11Client::RequestClose(unsigned long window)
{
    if (!display_ || !window)
        return false;
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
    return sent != 0;
}
