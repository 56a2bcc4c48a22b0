// An X server of a test's own, for screens the shared Xvfb does not have.
#pragma once

#include <sys/types.h>

#include <string>

class XvfbServer {
public:
    // Starts Xvfb with one screen of the given size on a free display.
    XvfbServer(int width, int height);
    ~XvfbServer();  // ends the server
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // The display name, e.g. ":93"; empty when the server did not start.
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};
