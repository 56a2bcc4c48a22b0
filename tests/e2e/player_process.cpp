#include "player_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void RedirectTo(int fd, const std::string& path)
{
    int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file >= 0) {
        dup2(file, fd);
        close(file);
    }
}

}  // namespace

double MonotonicSeconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

PlayerProcess::PlayerProcess(const std::string& folder, VideoDriver driver,
                             const std::map<std::string, std::string>& extra)
    : folder_(folder)
{
    std::map<std::string, std::string> env = {
        {"SDL_AUDIODRIVER", "dummy"},
        {"KELDA_UNATTENDED", "1"},
    };
    if (driver == VideoDriver::Offscreen) {
        env["SDL_VIDEODRIVER"] = "offscreen";
        env["DISPLAY"] = "";
    } else {
        const char* display = getenv("KELDA_TEST_DISPLAY");
        env["SDL_VIDEODRIVER"] = "x11";
        env["DISPLAY"] = display ? display : "";
    }
    for (const auto& entry : extra)
        env[entry.first] = entry.second;

    started_ = MonotonicSeconds();
    pid_ = fork();
    if (pid_ != 0)
        return;
    // The child: its own process group, so that nothing it starts outlives a kill.
    setpgid(0, 0);
    for (const auto& entry : env) {
        if (entry.second.empty())
            unsetenv(entry.first.c_str());
        else
            setenv(entry.first.c_str(), entry.second.c_str(), 1);
    }
    if (chdir(folder.c_str()) != 0)
        _exit(126);
    int input = open("/dev/null", O_RDONLY);
    if (input >= 0) {
        dup2(input, 0);
        close(input);
    }
    RedirectTo(1, folder + "/console.txt");
    RedirectTo(2, folder + "/errors.txt");
    const std::string player = folder + "/kelda";
    execl(player.c_str(), player.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

PlayerProcess::~PlayerProcess()
{
    if (pid_ > 0 && !reaped_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &waitStatus_, 0);
    }
}

bool PlayerProcess::Running()
{
    if (pid_ <= 0 || reaped_)
        return false;
    if (waitpid(pid_, &waitStatus_, WNOHANG) == pid_) {
        reaped_ = true;
        ended_ = MonotonicSeconds();
        return false;
    }
    return true;
}

PlayerResult PlayerProcess::Wait(double timeoutSeconds)
{
    PlayerResult result;
    const double deadline = started_ + timeoutSeconds;
    while (Running() && MonotonicSeconds() < deadline)
        usleep(5000);
    if (Running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &waitStatus_, 0);
        reaped_ = true;
        ended_ = MonotonicSeconds();
    }
    if (pid_ > 0) {
        result.exited = WIFEXITED(waitStatus_);
        result.status = result.exited ? WEXITSTATUS(waitStatus_) : -1;
        result.signal = WIFSIGNALED(waitStatus_) ? WTERMSIG(waitStatus_) : 0;
    }
    result.seconds = ended_ - started_;
    result.console = ReadWhole(folder_ + "/console.txt");
    result.errors = ReadWhole(folder_ + "/errors.txt");
    return result;
}

std::string PlayerProcess::ConsoleSoFar() const
{
    return ReadWhole(folder_ + "/console.txt");
}
