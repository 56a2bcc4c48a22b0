// The player run as a child process in its folder, with its console
// (standard output) and standard error caught in files.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include <ostream>

enum class VideoDriver { Offscreen, Xvfb };

// Where the player's console (standard output) goes: a file read at the end,
// or a pipe the test reads, and may close, while the player runs.
enum class ConsoleSink { File, Pipe };

inline void PrintTo(VideoDriver driver, std::ostream* out)
{
    *out << (driver == VideoDriver::Offscreen ? "offscreen driver" : "Xvfb");
}

struct PlayerResult {
    bool exited = false;    // ended by itself (not killed at the timeout)
    int status = -1;        // exit status when it exited
    int signal = 0;         // the signal that ended it, if one did
    double seconds = 0.0;   // from start to end
    std::string console;    // standard output
    std::string errors;     // standard error
};

class PlayerProcess {
public:
    // Starts folder/kelda with folder as its working directory. The driver
    // decides SDL's video driver (Xvfb: DISPLAY from KELDA_TEST_DISPLAY);
    // audio goes to SDL's dummy driver and the run is declared unattended.
    // extra entries are set (or, with an empty value, removed) last. The
    // standard descriptors named in closed are closed for the player.
    PlayerProcess(const std::string& folder, VideoDriver driver,
                  const std::map<std::string, std::string>& extra = {},
                  ConsoleSink console = ConsoleSink::File, const std::vector<int>& closed = {});
    ~PlayerProcess();  // kills a player still running
    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running();
    // Waits for the end, at most timeoutSeconds; then kills the player.
    PlayerResult Wait(double timeoutSeconds);
    // What the console shows so far (File).
    std::string ConsoleSoFar() const;
    // Pipe: reads the console until it has shown the given number of lines,
    // the pipe ends or timeoutSeconds pass; returns what was read.
    std::string ReadConsoleLines(size_t lines, double timeoutSeconds);
    // Pipe: closes the reading end, as a reader that has seen enough does.
    void CloseConsole();

private:
    std::string folder_;
    ConsoleSink sink_;
    int consoleReader_ = -1;  // Pipe: the test's end
    std::string consoleRead_;
    pid_t pid_ = -1;
    bool reaped_ = false;
    int waitStatus_ = 0;
    double started_ = 0.0;
    double ended_ = 0.0;
};

double MonotonicSeconds();

// How a run ended, with its console and standard error, for a failure's message.
std::string Show(const PlayerResult& run);
