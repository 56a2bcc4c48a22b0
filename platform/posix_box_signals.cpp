#include "box_signals.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>
#include <vector>

namespace {

const int kSignals[] = {SIGINT, SIGTERM};

// Shared with the signal handler and with the processes forked meanwhile.
volatile sig_atomic_t s_waiting = 0;  // a box waits for its answer
volatile sig_atomic_t s_caught = 0;   // the first signal that came meanwhile
pid_t s_player = 0;
int s_boxPids[2] = {-1, -1};  // box processes write their pid here
int s_wake[2] = {-1, -1};     // one byte for a signal, or for the answer

void OnSignal(int signal)
{
    const int saved = errno;
    if (!s_caught)
        s_caught = signal;
    const unsigned char byte = 1;
    (void)!write(s_wake[1], &byte, 1);
    errno = saved;
}

// Runs in every process forked while a box waits: it takes the signals'
// defaults back (Ctrl-C reaches the whole process group), dies with the
// player, and reports its pid so that a signal can end it.
void InForkedProcess()
{
    if (!s_waiting)
        return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != s_player)
        _exit(1);
    struct sigaction standard = {};
    standard.sa_handler = SIG_DFL;
    for (int signal : kSignals) {
        struct sigaction current;
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == OnSignal)
            sigaction(signal, &standard, nullptr);
    }
    const pid_t self = getpid();
    (void)!write(s_boxPids[1], &self, sizeof self);
}

// Ends a box process, unless it is no longer this process's child (already
// reaped: its pid may belong to another process by now).
void EndBoxProcess(pid_t pid)
{
    siginfo_t info = {};
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0)
        kill(pid, SIGKILL);
}

// Until the answer: collects the box processes and, once a signal has come,
// ends every one of them, those forked after the signal too.
void Watch()
{
    std::vector<pid_t> boxes;
    bool ending = false;
    for (;;) {
        pollfd ready[2] = {{s_wake[0], POLLIN, 0}, {s_boxPids[0], POLLIN, 0}};
        if (poll(ready, 2, -1) < 0 && errno != EINTR)
            return;
        pid_t pid;
        while (read(s_boxPids[0], &pid, sizeof pid) == sizeof pid) {
            boxes.push_back(pid);
            if (ending)
                EndBoxProcess(pid);
        }
        unsigned char byte;
        while (read(s_wake[0], &byte, 1) == 1) {
            if (byte == 0)
                return;
            if (!ending) {
                ending = true;
                for (pid_t box : boxes)
                    EndBoxProcess(box);
            }
        }
    }
}

void ClosePipe(int (&ends)[2])
{
    for (int& end : ends) {
        if (end >= 0)
            close(end);
        end = -1;
    }
}

}  // namespace

int ShowBoxClosedBySignals(const std::function<int()>& show, int* caught)
{
    *caught = 0;
    static const bool registered = pthread_atfork(nullptr, nullptr, InForkedProcess) == 0;
    if (!registered || pipe2(s_boxPids, O_CLOEXEC | O_NONBLOCK) != 0)
        return show();
    if (pipe2(s_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        ClosePipe(s_boxPids);
        return show();
    }

    s_player = getpid();
    s_caught = 0;
    std::thread watcher;
    try {
        watcher = std::thread(Watch);
    } catch (const std::system_error&) {
        ClosePipe(s_boxPids);
        ClosePipe(s_wake);
        return show();
    }

    // Signals the player was started to ignore stay ignored.
    struct sigaction previous[2];
    bool taken[2] = {false, false};
    struct sigaction guard = {};
    guard.sa_handler = OnSignal;
    sigemptyset(&guard.sa_mask);
    for (int i = 0; i < 2; i++) {
        if (sigaction(kSignals[i], nullptr, &previous[i]) == 0 && previous[i].sa_handler != SIG_IGN)
            taken[i] = sigaction(kSignals[i], &guard, nullptr) == 0;
    }

    s_waiting = 1;
    const int result = show();
    s_waiting = 0;
    const unsigned char answered = 0;
    while (write(s_wake[1], &answered, 1) < 0 && errno == EINTR) {
    }
    watcher.join();

    for (int i = 0; i < 2; i++)
        if (taken[i])
            sigaction(kSignals[i], &previous[i], nullptr);
    ClosePipe(s_boxPids);
    ClosePipe(s_wake);

    *caught = s_caught;
    if (*caught)
        raise(*caught);
    return result;
}
