// bench_idle_pass [seconds]: the player's main loop with an empty script and
// no plugins, headless, for a generated soundtrack of the given length
// (default 5 s). Reports idle passes per second, the last frame-rate title,
// and for comparison the rate of bare Sleep(1) calls, the loop's only limit.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "demo_script.h"
#include "fsound.h"
#include "main_loop.h"
#include "mp3_writer.h"
#include "orvan_core.h"
#include "orvan_gl.h"
#include "player_globals.h"
#include "player_startup.h"
#include "soundtrack.h"
#include "win_time.h"
#include "win_window.h"

namespace fs = std::filesystem;

namespace {

double SleepOneRate(double seconds)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    long calls = 0;
    do {
        Sleep(1);
        calls++;
        QueryPerformanceCounter(&now);
    } while (double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart) < seconds);
    return calls / (double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart));
}

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("KELDA_UNATTENDED", "1", 0);

    // The player's world: an empty script and the soundtrack, in a folder of its own.
    std::string folder = (fs::temp_directory_path() / "kelda-bench-XXXXXX").string();
    if (!mkdtemp(&folder[0]) || chdir(folder.c_str()) != 0) {
        fprintf(stderr, "bench_idle_pass: no temp folder\n");
        return 1;
    }
    fs::create_directories("data");
    std::ofstream("kelda.kvd", std::ios::binary).write("\0\0\0\0", 4);
    if (!WriteMp3File("data/mellot.mp3", EncodeMp3(MakeTone(44100, 2, 44100L * seconds, 440.0, 0.1)))) {
        fprintf(stderr, "bench_idle_pass: no soundtrack\n");
        return 1;
    }

    Orvan_Core_Begin();
    OrvanGL* gl = new OrvanGL;
    HWND hwnd = OpenPlayerWindow(gl);
    if (!hwnd)
        return 1;
    StartHostServices(gl, nullptr, 0);
    LoadDemoScript();
    int32_t streamLength = 0;
    if (!StartSoundtrack(&streamLength))
        return 1;

    MainLoop loop(hwnd, streamLength);
    loop.Begin();
    const double begun = loop.timer.GetTotalTime();
    FSOUND_SetPaused(g_channel, 0);
    long passes = 0;
    while (!loop.quit) {
        loop.RunPass();
        passes++;
    }
    const double elapsed = loop.timeNow - begun;
    char title[2048] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    const double sleepRate = SleepOneRate(2.0);

    fs::current_path(fs::temp_directory_path());
    fs::remove_all(folder);

    printf("\nidle passes: %.0f of %ld passes in %.3f s of a %d ms stream\n", double(loop.frames),
           passes, elapsed, streamLength);
    printf("idle-pass rate: %.1f passes/s (last title \"%s\")\n", loop.frames / elapsed, title);
    printf("bare Sleep(1) rate: %.1f calls/s; the loop reaches %.1f%% of it\n", sleepRate,
           100.0 * loop.frames / elapsed / sleepRate);
    return 0;
}
