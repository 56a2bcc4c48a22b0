// A small X11 client for the runs under Xvfb: finds the player's window by
// its process id, reads its title, holds a key down through the XTest
// extension, and asks the window to close as a window manager does.
#pragma once

#include <sys/types.h>

#include <string>

typedef struct _XDisplay Display;

class X11Client {
public:
    explicit X11Client(const char* display);  // the display name, e.g. ":91"
    ~X11Client();                             // releases a held key
    X11Client(const X11Client&) = delete;
    X11Client& operator=(const X11Client&) = delete;

    bool Connected() const { return display_ != nullptr; }
    bool HasXTest() const { return hasXTest_; }

    // The top-level window whose _NET_WM_PID is pid; 0 when none (yet).
    unsigned long FindWindowOf(pid_t pid);
    // The window's title (_NET_WM_NAME, else WM_NAME); empty when gone.
    std::string Title(unsigned long window);
    // Presses the Escape key and keeps it down until ReleaseKey.
    bool HoldEscape(unsigned long window);
    void ReleaseKey();
    // A WM_DELETE_WINDOW message, the window manager's close request.
    bool RequestClose(unsigned long window);

private:
    Display* display_ = nullptr;
    bool hasXTest_ = false;
    unsigned int heldKeycode_ = 0;
};
