// The main loop in the test process: the player's window, the real sound
// stream of a generated soundtrack, a recorder plugin drawn by a one-event
// script. Each test starts from a fresh player world (gtest_discover_tests
// runs every test in a process of its own).
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "demo_script.h"
#include "fsound.h"
#include "kvd_timeline.h"
#include "main_loop.h"
#include "mp3_writer.h"
#include "orvan_core.h"
#include "orvan_gl.h"
#include "orvan_plugin_host.h"
#include "player_globals.h"
#include "player_startup.h"
#include "recorder_plugin.h"
#include "script_event.h"
#include "soundtrack.h"
#include "win_window.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSoundtrackMs = 600;

class PlayerMainLoop : public ::testing::Test {
protected:
    // The player world is made once per process, on the first test's SetUp,
    // so that a failure to make it fails that test instead of skipping it.
    void SetUp() override
    {
        static bool prepared = false;
        if (!prepared) {
            prepared = true;
            Prepare();
        }
        ASSERT_NE(nullptr, g_stream) << "no player world";
    }

    static void Prepare()
    {
        // Headless and silent unless the caller chose otherwise.
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("KELDA_UNATTENDED", "1", 0);
        // The loader looks beside the test binary for the recorder first.
        folder_ = (fs::temp_directory_path() / "kelda-loop-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(&folder_[0]));
        ASSERT_EQ(0, chdir(folder_.c_str()));
        fs::create_directories("data");
        ASSERT_TRUE(WriteMp3File("data/mellot.mp3",
                                 EncodeMp3(MakeTone(44100, 2, 44100L * kSoundtrackMs / 1000, 440.0, 0.1))));
        std::vector<KvdEvent> events(1);
        events[0].start = 0;
        events[0].end = 600000;
        events[0].name = "Recorder A";
        std::string error;
        ASSERT_TRUE(WriteKvdBytes("kelda.kvd", EncodeKvdFile(events), error)) << error;

        Orvan_Core_Begin();
        OrvanGL* gl = new OrvanGL;
        hwnd_ = OpenPlayerWindow(gl);
        ASSERT_NE(nullptr, hwnd_);
        const char* const plugins[] = {"recorder_a.DLL"};
        StartHostServices(gl, plugins, 1);
        ASSERT_EQ(1u, g_host->plugins.size());
        LoadDemoScript();
        ASSERT_EQ(1u, g_scriptEvents.size());
        ASSERT_TRUE(StartSoundtrack(&streamLength_));
        // Whatever the window reported while it opened is not the tests' business.
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        }
    }

    static void TearDownTestSuite()
    {
        std::error_code error;
        if (!folder_.empty())
            fs::remove_all(folder_, error);
    }

    static RecorderPlugin* Recorder()
    {
        return static_cast<RecorderPlugin*>(g_host->plugins[0]);
    }

    static void PushKey(Uint32 type)
    {
        SDL_Event event = {};
        event.type = type;
        event.key.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = SDLK_ESCAPE;
        event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
        ASSERT_EQ(1, SDL_PushEvent(&event));
    }

    static std::string folder_;
    static HWND hwnd_;
    static int32_t streamLength_;
};

std::string PlayerMainLoop::folder_;
HWND PlayerMainLoop::hwnd_ = nullptr;
int32_t PlayerMainLoop::streamLength_ = 0;

// A pass that handles a message draws nothing; key down and up both pending
// are both handled before the next idle pass, so the run goes on.
TEST_F(PlayerMainLoop, MessagePassesDrawNothingAndAPressedAndReleasedEscapeIsMissed)
{
    const size_t before = Recorder()->calls.size();
    MainLoop loop(hwnd_, streamLength_);
    loop.Begin();
    PushKey(SDL_KEYDOWN);
    PushKey(SDL_KEYUP);
    loop.RunPass();
    EXPECT_EQ(1, g_keys[VK_ESCAPE]);
    loop.RunPass();
    EXPECT_EQ(0, g_keys[VK_ESCAPE]);
    EXPECT_EQ(0.0f, loop.frames);
    EXPECT_EQ(before, Recorder()->calls.size());

    loop.RunPass();
    EXPECT_FALSE(loop.quit);
    EXPECT_EQ(1.0f, loop.frames);
    ASSERT_EQ(before + 1, Recorder()->calls.size());
    EXPECT_EQ(RecorderPlugin::Call::kRender, Recorder()->calls.back().kind);
}

// Escape down at an idle pass: that pass still counts and draws, then the loop ends.
TEST_F(PlayerMainLoop, EscapeDownEndsTheLoopAfterAFullIdlePass)
{
    const size_t before = Recorder()->calls.size();
    MainLoop loop(hwnd_, streamLength_);
    loop.Begin();
    FSOUND_SetPaused(g_channel, 0);
    PushKey(SDL_KEYDOWN);
    loop.RunPass();
    EXPECT_FALSE(loop.quit);
    loop.RunPass();
    EXPECT_TRUE(loop.quit);
    EXPECT_EQ(1.0f, loop.frames);
    EXPECT_EQ(before + 1, Recorder()->calls.size());
    // The stream was paused: its position stands still.
    const int paused = FSOUND_Stream_GetTime(g_stream);
    SDL_Delay(150);
    EXPECT_EQ(paused, FSOUND_Stream_GetTime(g_stream));
    PushKey(SDL_KEYUP);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

TEST_F(PlayerMainLoop, QuitMessageEndsTheLoopWithoutAFrame)
{
    const size_t before = Recorder()->calls.size();
    MainLoop loop(hwnd_, streamLength_);
    loop.Begin();
    PostQuitMessage(0);
    loop.RunPass();
    EXPECT_TRUE(loop.quit);
    EXPECT_EQ(0.0f, loop.frames);
    EXPECT_EQ(before, Recorder()->calls.size());
}

// Played to the end: the last frame is drawn at the stream's length, every
// idle pass drew once, and the title carries the frame rate.
TEST_F(PlayerMainLoop, RunsToTheEndOfTheStreamDrawingEveryIdlePass)
{
    const size_t before = Recorder()->calls.size();
    MainLoop loop(hwnd_, streamLength_);
    loop.Begin();
    char title[2048] = {};
    GetWindowTextA(hwnd_, title, sizeof title);
    EXPECT_STREQ("anus", title);

    FSOUND_SetPaused(g_channel, 0);
    const Uint32 deadline = SDL_GetTicks() + 10000;
    while (!loop.quit && SDL_GetTicks() < deadline)
        loop.RunPass();
    ASSERT_TRUE(loop.quit);
    EXPECT_EQ(streamLength_, FSOUND_Stream_GetTime(g_stream));

    const std::vector<RecorderPlugin::Call>& calls = Recorder()->calls;
    ASSERT_EQ(before + size_t(loop.frames), calls.size());
    EXPECT_FLOAT_EQ(streamLength_ / 10.0f, calls.back().time);
    for (size_t i = before + 1; i < calls.size(); i++)
        EXPECT_LE(calls[i - 1].time, calls[i].time);

    GetWindowTextA(hwnd_, title, sizeof title);
    EXPECT_GT(loop.frameRate, 0.0f);
    char formatted[64];
    snprintf(formatted, sizeof formatted, "Orvan @(%gfps)", double(loop.frameRate));
    EXPECT_STREQ(formatted, title);
}

}  // namespace
