#include "stdout_capture.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

StreamCapture::StreamCapture(int fd) : fd_(fd)
{
    fflush(nullptr);
    char name[] = "/tmp/kelda_stdout_XXXXXX";
    file_ = mkstemp(name);
    if (file_ < 0)
        return;
    unlink(name);
    saved_ = dup(fd_);
    dup2(file_, fd_);
}

StreamCapture::~StreamCapture()
{
    Finish();
}

std::string StreamCapture::Finish()
{
    if (finished_)
        return text_;
    finished_ = true;
    if (file_ < 0)
        return text_;

    fflush(nullptr);
    dup2(saved_, fd_);
    close(saved_);

    char buffer[4096];
    off_t offset = 0;
    ssize_t got;
    while ((got = pread(file_, buffer, sizeof buffer, offset)) > 0) {
        text_.append(buffer, static_cast<size_t>(got));
        offset += got;
    }
    close(file_);
    return text_;
}

StdoutReaderGone::StdoutReaderGone()
{
    int ends[2];
    if (pipe(ends) != 0)
        abort();
    close(ends[0]);
    fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    dup2(ends[1], STDOUT_FILENO);
    close(ends[1]);
}

StdoutReaderGone::~StdoutReaderGone()
{
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
}
