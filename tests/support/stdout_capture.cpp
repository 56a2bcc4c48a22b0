#include "stdout_capture.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

StdoutCapture::StdoutCapture()
{
    fflush(stdout);
    char name[] = "/tmp/kelda_stdout_XXXXXX";
    file_ = mkstemp(name);
    if (file_ < 0)
        return;
    unlink(name);
    savedStdout_ = dup(STDOUT_FILENO);
    dup2(file_, STDOUT_FILENO);
}

StdoutCapture::~StdoutCapture()
{
    Finish();
}

std::string StdoutCapture::Finish()
{
    if (finished_)
        return text_;
    finished_ = true;
    if (file_ < 0)
        return text_;

    fflush(stdout);
    dup2(savedStdout_, STDOUT_FILENO);
    close(savedStdout_);

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
