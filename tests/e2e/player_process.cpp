#include "player_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "file_contents.h"

namespace {

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

std::string Show(const PlayerResult& run)
{
    return "status " + std::to_string(run.status) + " signal " + std::to_string(run.signal) +
           " after " + std::to_string(run.seconds) + " s\n--- console:\n" + run.console +
           "--- errors:\n" + run.errors;
}

PlayerProcess::PlayerProcess(const std::string& folder, VideoDriver driver,
                             const std::map<std::string, std::string>& extra, ConsoleSink console,
                             const std::vector<int>& closed)
    : folder_(folder), sink_(console)
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

    // Both ends close on exec, so the player holds only the writing end,
    // which dup2 makes its standard output.
    int ends[2] = {-1, -1};
    if (sink_ == ConsoleSink::Pipe && pipe2(ends, O_CLOEXEC) != 0)
        return;

    started_ = MonotonicSeconds();
    pid_ = fork();
    if (pid_ != 0) {
        if (sink_ == ConsoleSink::Pipe) {
            close(ends[1]);
            consoleReader_ = ends[0];
        }
        return;
    }
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
    if (sink_ == ConsoleSink::Pipe)
        dup2(ends[1], 1);
    else
        RedirectTo(1, folder + "/console.txt");
    RedirectTo(2, folder + "/errors.txt");
    for (int fd : closed)
        close(fd);
    const std::string player = folder + "/kelda";
    execl(player.c_str(), player.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

PlayerProcess::~PlayerProcess()
{
    CloseConsole();
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
    result.console = sink_ == ConsoleSink::Pipe ? consoleRead_ : FileContents(folder_ + "/console.txt");
    result.errors = FileContents(folder_ + "/errors.txt");
    return result;
}

std::string PlayerProcess::ConsoleSoFar() const
{
    return FileContents(folder_ + "/console.txt");
}

std::string PlayerProcess::ReadConsoleLines(size_t lines, double timeoutSeconds)
{
    const double deadline = MonotonicSeconds() + timeoutSeconds;
    auto shown = [&] {
        return static_cast<size_t>(std::count(consoleRead_.begin(), consoleRead_.end(), '\n'));
    };
    while (consoleReader_ >= 0 && shown() < lines && MonotonicSeconds() < deadline) {
        pollfd ready = {consoleReader_, POLLIN, 0};
        if (poll(&ready, 1, 10) <= 0)
            continue;
        char buffer[256];
        ssize_t n = read(consoleReader_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        consoleRead_.append(buffer, static_cast<size_t>(n));
    }
    return consoleRead_;
}

void PlayerProcess::CloseConsole()
{
    if (consoleReader_ >= 0) {
        close(consoleReader_);
        consoleReader_ = -1;
    }
}
