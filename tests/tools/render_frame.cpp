// render_frame: draws the frames of a demo script at given stream times,
// headless, and writes each back buffer to a PNG file. The player's own
// start-up does the work: its window and GL state, its plugin host with the
// real plugin libraries in the player's load order, its texture pool and five
// render targets, the script loader and the frame dispatcher.
//
//   render_frame <folder with kelda.kvd and data/> <timeMs> <out.png> [<timeMs> <out.png>...]
//
// The frames are drawn in the order given, one dispatcher pass each, so
// effects that carry state from frame to frame see the sequence. The log goes
// to standard output.
#include <GL/gl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "back_buffer_png.h"
#include "demo_script.h"
#include "orvan_core.h"
#include "orvan_gl.h"
#include "player_startup.h"
#include "plugin_load_list.h"
#include "script_dispatcher.h"

namespace {

const int kWidth = 640;
const int kHeight = 480;

struct Frame {
    int timeMs;
    std::string file;
};

bool ParseTime(const char* text, int& timeMs)
{
    char* end = nullptr;
    errno = 0;
    const long value = strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < INT_MIN || value > INT_MAX)
        return false;
    timeMs = static_cast<int>(value);
    return true;
}

// Output names are taken relative to where the tool was started, before it
// moves into the demo folder.
std::string Absolute(const char* path)
{
    if (path[0] == '/')
        return path;
    char here[4096];
    if (!getcwd(here, sizeof here))
        return path;
    return std::string(here) + "/" + path;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || argc % 2 != 0) {
        fprintf(stderr, "usage: %s <demo folder> <timeMs> <out.png> [<timeMs> <out.png>...]\n",
                argv[0]);
        return 2;
    }
    std::vector<Frame> frames;
    for (int i = 2; i + 1 < argc; i += 2) {
        Frame frame;
        if (!ParseTime(argv[i], frame.timeMs)) {
            fprintf(stderr, "%s: not a time in milliseconds: %s\n", argv[0], argv[i]);
            return 2;
        }
        frame.file = Absolute(argv[i + 1]);
        frames.push_back(frame);
    }

    // The script and every picture are named relative to the demo folder.
    if (chdir(argv[1]) != 0) {
        fprintf(stderr, "%s: cannot enter %s: %s\n", argv[0], argv[1], strerror(errno));
        return 1;
    }
    // The loader would end the process behind a message box; say why instead.
    if (access("kelda.kvd", R_OK) != 0) {
        fprintf(stderr, "%s: no readable kelda.kvd in %s\n", argv[0], argv[1]);
        return 1;
    }
    // Headless unless the caller chose a video driver.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);

    Orvan_Core_Begin();
    OrvanGL* gl = new OrvanGL;
    if (!OpenPlayerWindow(gl)) {
        fprintf(stderr, "%s: cannot open the player's window\n", argv[0]);
        return 1;
    }
    StartHostServices(gl, kPluginLoadList, kPluginLoadCount);
    LoadDemoScript();

    int status = 0;
    for (const Frame& frame : frames) {
        // As the player's loop does: present the previous frame, then draw.
        gl->SwapBuffers();
        ProcessScriptFrame(frame.timeMs);
        if (!WriteBackBufferPng(frame.file.c_str(), kWidth, kHeight)) {
            fprintf(stderr, "%s: cannot write %s\n", argv[0], frame.file.c_str());
            status = 1;
        }
    }
    // Like the player, the process ends with its plugins and GL still held.
    return status;
}
