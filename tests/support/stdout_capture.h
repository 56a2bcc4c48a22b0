// Redirects standard output (fd 1) to a temporary file for as long as it
// lives, so a test can read what the console wrote.
#pragma once

#include <string>

class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Restores fd 1 and returns everything written since construction.
    // Later calls return the same text.
    std::string Finish();

private:
    int savedStdout_ = -1;
    int file_ = -1;
    bool finished_ = false;
    std::string text_;
};
