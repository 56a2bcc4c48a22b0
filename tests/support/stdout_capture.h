// Redirects standard output (fd 1), or standard error (fd 2), to a temporary
// file for as long as it lives, so a test can read what the console or a
// message box reported there.
#pragma once

#include <string>

class StreamCapture {
public:
    explicit StreamCapture(int fd);
    ~StreamCapture();
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    // Restores the stream and returns everything written since construction.
    // Later calls return the same text.
    std::string Finish();

private:
    int fd_;
    int saved_ = -1;
    int file_ = -1;
    bool finished_ = false;
    std::string text_;
};

class StdoutCapture : public StreamCapture {
public:
    StdoutCapture() : StreamCapture(1) {}
};

// Message boxes that no one can answer are printed here.
class StderrCapture : public StreamCapture {
public:
    StderrCapture() : StreamCapture(2) {}
};

// Points standard output at a pipe whose reader has already gone, for as
// long as it lives: every write there fails as it does when the reader of a
// console pipe quits.
class StdoutReaderGone {
public:
    StdoutReaderGone();
    ~StdoutReaderGone();
    StdoutReaderGone(const StdoutReaderGone&) = delete;
    StdoutReaderGone& operator=(const StdoutReaderGone&) = delete;

private:
    int saved_ = -1;
};
