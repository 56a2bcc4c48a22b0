#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "box_signals.h"

namespace {

// A box as SDL shows one: a process of its own that waits for the click
// (here it sleeps, then exits with what child() says), and a wait for it
// that a signal's interruption only restarts.
int Box(int (*child)(), pid_t* boxPid = nullptr)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(child());
    if (boxPid)
        *boxPid = pid;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int SleepsLong()
{
    sleep(30);
    return 0;
}

int SleepsAMoment()
{
    usleep(800000);
    return 0;
}

volatile sig_atomic_t s_handled = 0;

// Stands in for SDL's handler, which keeps a signal as a quit request.
void KeepsTheSignal(int signal)
{
    s_handled = signal;
}

// Installs a disposition for the test's length and restores the old one.
class Disposition {
public:
    Disposition(int signal, void (*handler)(int)) : signal_(signal)
    {
        struct sigaction action = {};
        action.sa_handler = handler;
        sigaction(signal, &action, &previous_);
    }
    ~Disposition() { sigaction(signal_, &previous_, nullptr); }
    static void (*Current(int signal))(int)
    {
        struct sigaction action;
        sigaction(signal, nullptr, &action);
        return action.sa_handler;
    }

private:
    int signal_;
    struct sigaction previous_;
};

void SignalSoon(int signal)
{
    std::thread([signal] {
        usleep(300000);
        kill(getpid(), signal);
    }).detach();
}

class BoxSignals : public ::testing::TestWithParam<int> {
};

TEST_P(BoxSignals, CloseTheBoxAndReachTheHandlerThatStoodBefore)
{
    const int signal = GetParam();
    Disposition sdl(signal, KeepsTheSignal);
    s_handled = 0;
    pid_t box = 0;
    int caught = 0;
    SignalSoon(signal);
    const auto start = std::chrono::steady_clock::now();
    const int result = ShowBoxClosedBySignals([&] { return Box(SleepsLong, &box); }, &caught);

    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(-1, result) << "the box process is ended";
    EXPECT_EQ(signal, caught);
    EXPECT_EQ(signal, s_handled) << "raised again once the box has gone";
    EXPECT_EQ(KeepsTheSignal, Disposition::Current(signal));
    EXPECT_NE(0, kill(box, 0)) << "the box process is reaped";
}

INSTANTIATE_TEST_SUITE_P(Signals, BoxSignals, ::testing::Values(SIGTERM, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == SIGTERM ? "Sigterm" : "Sigint";
                         });

// A player started to ignore a signal (nohup, a background job) goes on
// ignoring it: the box waits for its answer.
TEST(BoxSignalsIgnored, LeaveTheBoxWaiting)
{
    Disposition ignored(SIGTERM, SIG_IGN);
    int caught = 0;
    SignalSoon(SIGTERM);
    EXPECT_EQ(0, ShowBoxClosedBySignals([] { return Box(SleepsAMoment); }, &caught));
    EXPECT_EQ(0, caught);
    EXPECT_EQ(SIG_IGN, Disposition::Current(SIGTERM));
}

// A box process takes the signals' defaults (Ctrl-C reaches the whole
// process group) and is set to die with the process that showed the box.
int ReportsItsSetting()
{
    int deathSignal = 0;
    prctl(PR_GET_PDEATHSIG, &deathSignal);
    struct sigaction term, interrupt;
    sigaction(SIGTERM, nullptr, &term);
    sigaction(SIGINT, nullptr, &interrupt);
    return (deathSignal == SIGKILL ? 1 : 0) | (term.sa_handler == SIG_DFL ? 2 : 0) |
           (interrupt.sa_handler == SIG_DFL ? 4 : 0);
}

TEST(BoxSignalsForked, ProcessesTakeTheDefaultsAndDieWithTheParent)
{
    Disposition term(SIGTERM, KeepsTheSignal), interrupt(SIGINT, KeepsTheSignal);
    int caught = 0;
    EXPECT_EQ(7, ShowBoxClosedBySignals([] { return Box(ReportsItsSetting); }, &caught));
    EXPECT_EQ(0, caught);
    EXPECT_EQ(0, Box(ReportsItsSetting) & 1) << "outside a box, a fork is left as it is";
}

}  // namespace
