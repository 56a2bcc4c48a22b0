// The player's message boxes, waiting for a click on an X server of the
// test's own, and the signals that end a session. SIGTERM and SIGINT close
// the box and end the player as they do during play; SIGKILL ends the player
// at once. In every case no process of the box outlives the player.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "console_lines.h"
#include "file_contents.h"
#include "player_folder.h"
#include "player_process.h"
#include "xvfb_server.h"

namespace {

constexpr double kTimeout = 60.0;
constexpr int kSoundtrackMs = 30000;  // far longer than any run here

// A process's state letter and parent from /proc; false when it is gone.
bool ReadStat(pid_t pid, char* state, pid_t* parent)
{
    const std::string stat = FileContents("/proc/" + std::to_string(pid) + "/stat");
    // The command name in parentheses may hold anything; what follows does not.
    const std::string::size_type name = stat.rfind(')');
    if (name == std::string::npos)
        return false;
    int ppid = 0;
    if (sscanf(stat.c_str() + name + 1, " %c %d", state, &ppid) != 2)
        return false;
    *parent = ppid;
    return true;
}

std::vector<pid_t> ChildrenOf(pid_t parent)
{
    std::vector<pid_t> children;
    DIR* proc = opendir("/proc");
    if (!proc)
        return children;
    while (dirent* entry = readdir(proc)) {
        char* end = nullptr;
        const long pid = strtol(entry->d_name, &end, 10);
        char state = 0;
        pid_t ppid = 0;
        if (*end == '\0' && pid > 0 && ReadStat(pid_t(pid), &state, &ppid) && ppid == parent)
            children.push_back(pid_t(pid));
    }
    closedir(proc);
    return children;
}

// Neither gone nor a zombie waiting for its reaper.
bool Alive(pid_t pid)
{
    char state = 0;
    pid_t parent = 0;
    return ReadStat(pid, &state, &parent) && state != 'Z' && state != 'X';
}

// The player's box processes, once one of them has stood for half a
// second: a box that waits for its click. Empty when none came.
std::vector<pid_t> WaitForBox(PlayerProcess& player)
{
    const double deadline = MonotonicSeconds() + kTimeout;
    while (player.Running() && MonotonicSeconds() < deadline) {
        const std::vector<pid_t> boxes = ChildrenOf(player.Pid());
        if (!boxes.empty()) {
            usleep(500000);
            for (pid_t box : boxes)
                if (Alive(box))
                    return boxes;
        }
        usleep(10000);
    }
    return {};
}

enum class Box {
    kFullscreen,     // a screen that cannot switch to 640x480
    kMissingScript,  // no kelda.kvd beside the player
};

struct SignalCase {
    const char* name;
    Box box;
    int signal;
};

void PrintTo(const SignalCase& c, std::ostream* out)
{
    *out << c.name;
}

const SignalCase kCases[] = {
    {"FullscreenBoxSigterm", Box::kFullscreen, SIGTERM},
    {"FullscreenBoxSigint", Box::kFullscreen, SIGINT},
    {"FullscreenBoxSigkill", Box::kFullscreen, SIGKILL},
    {"ScriptBoxSigterm", Box::kMissingScript, SIGTERM},
    {"ScriptBoxSigint", Box::kMissingScript, SIGINT},
};

class BoxSignal : public ::testing::TestWithParam<SignalCase> {
};

TEST_P(BoxSignal, ClosesTheBoxAndEndsThePlayer)
{
    const SignalCase& c = GetParam();
    XvfbServer server(c.box == Box::kFullscreen ? 800 : 640, c.box == Box::kFullscreen ? 600 : 480);
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    PlayerFolder folder;
    ASSERT_TRUE(folder.AddPlayer());
    ASSERT_TRUE(folder.AddPlugin("pravik"));
    ASSERT_TRUE(folder.WriteSoundtrack(kSoundtrackMs));
    if (c.box == Box::kFullscreen) {
        ASSERT_TRUE(folder.WriteScript("0 600000 1 0 0 - Interference Plugin\n"));
    }

    // Attended: the box waits for a click that never comes.
    PlayerProcess player(folder.Path(), VideoDriver::Xvfb,
                         {{"DISPLAY", server.Display()}, {"KELDA_UNATTENDED", ""}});
    const std::vector<pid_t> boxes = WaitForBox(player);
    ASSERT_FALSE(boxes.empty()) << "no box waited (the X box needs xfonts-base)\n"
                                << Show(player.Wait(1.0));
    ASSERT_EQ(0, kill(player.Pid(), c.signal));
    const double sent = MonotonicSeconds();
    PlayerResult run = player.Wait(kTimeout);
    const double ended = MonotonicSeconds();

    if (c.signal == SIGKILL) {
        EXPECT_EQ(SIGKILL, run.signal) << Show(run);
    } else {
        ASSERT_TRUE(run.exited) << Show(run);
        EXPECT_LT(ended - sent, 10.0) << Show(run);
        const std::vector<std::string> lines = ConsoleLines(run.console);
        if (c.box == Box::kFullscreen) {
            // The quit request waits for the loop, which ends at its first pass.
            EXPECT_EQ(0, run.status) << Show(run);
            std::vector<std::string> end = {"entering mainloop"};
            for (const std::string& line : ExpectedShutdown())
                end.push_back(line);
            ASSERT_GE(lines.size(), end.size()) << Show(run);
            EXPECT_EQ(end, std::vector<std::string>(lines.end() - long(end.size()), lines.end()))
                << Show(run);
        } else {
            EXPECT_EQ(1, run.status) << Show(run);
            ASSERT_FALSE(lines.empty()) << Show(run);
            EXPECT_EQ("Loading and post-processing demo script...", lines.back()) << Show(run);
        }
    }

    // The box's processes go with the player: reaped by it, or, after a
    // SIGKILL, ended by the kernel when their parent died.
    for (pid_t box : boxes) {
        const double deadline = MonotonicSeconds() + 5.0;
        while (Alive(box) && MonotonicSeconds() < deadline)
            usleep(10000);
        EXPECT_FALSE(Alive(box)) << "box process " << box << " outlived the player";
        if (Alive(box))
            kill(box, SIGKILL);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BoxSignal, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SignalCase>& info) { return info.param.name; });

}  // namespace
