#include "xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>

XvfbServer::XvfbServer(int width, int height)
{
    // The server writes its display number to this pipe once it accepts
    // connections.
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        dup2(ends[1], 3);  // dup2 clears close-on-exec on the copy
        int sink = open("/dev/null", O_RDWR);
        if (sink >= 0) {
            dup2(sink, 0);
            dup2(sink, 1);
            dup2(sink, 2);
        }
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    std::string number;
    for (;;) {
        pollfd ready = {ends[0], POLLIN, 0};
        char c;
        if (poll(&ready, 1, 10000) <= 0 || read(ends[0], &c, 1) != 1 || !isdigit(c))
            break;
        number += c;
    }
    close(ends[0]);
    if (!number.empty())
        display_ = ":" + number;
}

XvfbServer::~XvfbServer()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}
