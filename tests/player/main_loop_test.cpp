// The main loop and the shutdown in the test process: the player's window,
// the real sound stream of a generated soundtrack, a recorder plugin drawn by
// a one-event script, and the platform calls recorded on their way (see
// platform_trace.h). Each test starts from a fresh player world
// (gtest_discover_tests runs every test in a process of its own); the
// shutdown test, which ends the world, comes last.
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_script.h"
#include "fsound.h"
#include "kvd_timeline.h"
#include "main_loop.h"
#include "mp3_writer.h"
#include "orvan_core.h"
#include "orvan_gl.h"
#include "orvan_plugin_host.h"
#include "platform_trace.h"
#include "player_globals.h"
#include "player_shutdown.h"
#include "player_startup.h"
#include "recorder_plugin.h"
#include "script_event.h"
#include "soundtrack.h"
#include "texture.h"
#include "texture_pool.h"
#include "win_window.h"
#include "window_procedure.h"

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
        ASSERT_FALSE(shutDown_) << "the player world was shut down by an earlier test";
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
        PlatformTraceStart();
        hwnd_ = OpenPlayerWindow(gl);
        ASSERT_NE(nullptr, hwnd_);
        const char* const plugins[] = {"recorder_a.DLL"};
        StartHostServices(gl, plugins, 1);
        PlatformTraceStop();
        startUp_ = PlatformTraceCalls();
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

    // Handles whatever the window has reported, unrecorded.
    static void DrainMessages()
    {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }

    // Plays the stream a little and pauses it; the position it stands at.
    static int PlayBrieflyAndPause()
    {
        FSOUND_SetPaused(g_channel, 0);
        SDL_Delay(100);
        FSOUND_SetPaused(g_channel, 1);
        return FSOUND_Stream_GetTime(g_stream);
    }

    static std::string folder_;
    static HWND hwnd_;
    static int32_t streamLength_;
    static bool shutDown_;
    static std::vector<PlatformCall> startUp_;  // the window's and the host services' start
};

std::string PlayerMainLoop::folder_;
HWND PlayerMainLoop::hwnd_ = nullptr;
int32_t PlayerMainLoop::streamLength_ = 0;
bool PlayerMainLoop::shutDown_ = false;
std::vector<PlatformCall> PlayerMainLoop::startUp_;

// The window's start-up: the class registered, the cursor hidden before the
// display mode is switched, the 640x480 popup at (0, 0) created, then shown,
// brought to the front and given the focus. The five 1024x512 render targets
// are the pool's first five records. The soundtrack is held paused at its
// start until the loop begins.
TEST_F(PlayerMainLoop, StartUpOpensThePopupWindowAndFiveRenderTargets)
{
    EXPECT_EQ(0, FSOUND_Stream_GetTime(g_stream));
    SDL_Delay(150);
    EXPECT_EQ(0, FSOUND_Stream_GetTime(g_stream));

    const std::vector<std::string> windowCalls = {
        "RegisterClassA", "ShowCursor", "ChangeDisplaySettingsA", "CreateWindowExA",
        "ShowWindow",     "SetForegroundWindow", "SetFocus",
    };
    std::vector<PlatformCall> calls;
    for (const PlatformCall& call : startUp_)
        if (std::find(windowCalls.begin(), windowCalls.end(), call.name) != windowCalls.end())
            calls.push_back(call);
    std::vector<std::string> names;
    for (const PlatformCall& call : calls)
        names.push_back(call.name);
    ASSERT_EQ(windowCalls, names);

    const long long wndProc = static_cast<long long>(reinterpret_cast<intptr_t>(&WndProc));
    // style CS_OWNDC | CS_HREDRAW | CS_VREDRAW, WndProc, no extra bytes, the
    // module, an icon and a cursor, no background brush and no menu.
    EXPECT_EQ((std::vector<long long>{0x23, wndProc, 0, 0, 1, 1, 1, 0, 0}), calls[0].args);
    EXPECT_EQ("Calvastine", calls[0].text);
    EXPECT_EQ(std::vector<long long>{0}, calls[1].args);  // ShowCursor(FALSE)
    EXPECT_EQ(1, calls[2].args[0]);                       // a mode asked for
    // WS_EX_APPWINDOW; WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; at (0, 0),
    // 640 x 480; no parent, menu or creation data.
    EXPECT_EQ((std::vector<long long>{0x40000, 0x86000000LL, 0, 0, 640, 480, 0, 0, 0}),
              calls[3].args);
    EXPECT_EQ("Calvastine\nanus", calls[3].text);
    const long long window = static_cast<long long>(reinterpret_cast<intptr_t>(hwnd_));
    EXPECT_EQ(window, calls[3].result);
    EXPECT_EQ((std::vector<long long>{window, SW_SHOW}), calls[4].args);
    EXPECT_EQ(std::vector<long long>{window}, calls[5].args);
    EXPECT_EQ(std::vector<long long>{window}, calls[6].args);

    for (int k = 0; k < 5; k++) {
        SCOPED_TRACE(k);
        EXPECT_EQ(k, g_gl->rttTargets[k]);
        Texture* target = g_host->texturePool->GetTexture(k);
        ASSERT_NE(nullptr, target);
        EXPECT_EQ(1024, target->width);
        EXPECT_EQ(512, target->height);
        EXPECT_NE(0u, g_gl->GetTextureId(k));
    }
}

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

// An idle pass in its order: one look for a message, Sleep(1), the Escape
// test (pausing the stream when the key is down), the frame presented before
// anything is drawn, the timer read, the end-of-stream test, a second reading
// of the position that the frame is drawn at, and, once more than 0.25 s have
// passed since the last update, the title.
TEST_F(PlayerMainLoop, IdlePassMakesItsCallsInOrder)
{
    const std::vector<std::string> plain = {
        "PeekMessageA",          "Sleep",
        "SwapBuffers",           "QueryPerformanceCounter",
        "FSOUND_Stream_GetTime", "FSOUND_Stream_GetTime",
        "ProcessScriptFrame",
    };
    const int position = PlayBrieflyAndPause();
    struct Case {
        const char* name;
        bool escape;
        unsigned waitMs;  // after the timer's first Update
        std::vector<std::string> calls;
    } cases[] = {
        {"Plain", false, 0, plain},
        {"Title", false, 300, plain},
        {"Escape", true, 0, plain},
    };
    cases[1].calls.push_back("SetWindowTextA");
    cases[2].calls.insert(cases[2].calls.begin() + 2, "FSOUND_SetPaused");

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DrainMessages();
        MainLoop loop(hwnd_, position + 1);  // a length the paused stream never reaches
        loop.Begin();
        SDL_Delay(c.waitMs);
        g_keys[VK_ESCAPE] = c.escape ? 1 : 0;
        const size_t rendered = Recorder()->calls.size();
        {
            PlatformTraceRecording recording;
            loop.RunPass();
        }
        g_keys[VK_ESCAPE] = 0;
        const std::vector<PlatformCall>& calls = PlatformTraceCalls();
        ASSERT_EQ(c.calls, PlatformTraceNames());

        EXPECT_EQ((std::vector<long long>{0, 0, 0, PM_REMOVE}), calls[0].args);
        EXPECT_EQ(0, calls[0].result);
        EXPECT_EQ(std::vector<long long>{1}, calls[1].args);  // Sleep(1)
        if (c.escape) {
            EXPECT_EQ((std::vector<long long>{g_channel, 1}), calls[2].args);
        }
        EXPECT_EQ(c.escape, loop.quit);
        const size_t frame = c.escape ? 7 : 6;
        EXPECT_EQ(position, calls[frame - 1].result);
        EXPECT_EQ(std::vector<long long>{calls[frame - 1].result}, calls[frame].args);
        ASSERT_EQ(rendered + 1, Recorder()->calls.size());
        EXPECT_EQ(position / 10.0f, Recorder()->calls.back().time);
        if (c.waitMs) {
            EXPECT_EQ(0u, calls.back().text.find("Orvan @(")) << calls.back().text;
        }
    }
}

// A pass that finds a message handles it and nothing else; WM_QUIT is not
// dispatched, it raises the quit flag.
TEST_F(PlayerMainLoop, MessagePassHandlesOnlyItsMessage)
{
    DrainMessages();
    MainLoop loop(hwnd_, streamLength_);
    loop.Begin();
    PushKey(SDL_KEYDOWN);
    PushKey(SDL_KEYUP);
    {
        PlatformTraceRecording recording;
        loop.RunPass();
    }
    EXPECT_EQ((std::vector<std::string>{"PeekMessageA", "TranslateMessage", "DispatchMessageA"}),
              PlatformTraceNames());
    EXPECT_EQ(1, PlatformTraceCalls()[0].result);
    EXPECT_EQ(WM_KEYDOWN, PlatformTraceCalls()[2].args[0]);
    DrainMessages();

    PostQuitMessage(0);
    {
        PlatformTraceRecording recording;
        loop.RunPass();
    }
    EXPECT_EQ(std::vector<std::string>{"PeekMessageA"}, PlatformTraceNames());
    EXPECT_TRUE(loop.quit);
    EXPECT_EQ(0.0f, loop.frames);
}

// The title is rewritten at the passes where more than 0.25 s of timer time
// have passed since its last update, with the idle passes counted since then
// divided by that time. A pause between two runs of quick passes makes the
// rate since the last update differ from the rate over the whole run.
TEST_F(PlayerMainLoop, TitleShowsTheFrameRateSinceItsLastUpdate)
{
    DrainMessages();
    MainLoop loop(hwnd_, streamLength_);
    loop.Begin();
    double timeAtUpdate = loop.timer.GetTotalTime();
    int passes = 0;
    int passesAtUpdate = 0;
    std::vector<std::string> titles;

    PlatformTraceRecording recording;
    auto pass = [&] {
        const size_t from = PlatformTraceCalls().size();
        loop.RunPass();
        const std::vector<PlatformCall>& calls = PlatformTraceCalls();
        const std::string* title = nullptr;
        bool idle = false;
        for (size_t i = from; i < calls.size(); i++) {
            idle = idle || calls[i].name == "ProcessScriptFrame";
            if (calls[i].name == "SetWindowTextA")
                title = &calls[i].text;
        }
        if (!idle)
            return;
        passes++;
        const double now = loop.timer.GetTotalTime();
        const double elapsed = now - timeAtUpdate;
        ASSERT_EQ(elapsed > 0.25, title != nullptr) << "after " << elapsed << " s";
        if (!title)
            return;
        const float rate = static_cast<float>(
            static_cast<double>(static_cast<float>(passes) - static_cast<float>(passesAtUpdate)) /
            elapsed);
        char expected[64];
        snprintf(expected, sizeof expected, "Orvan @(%gfps)", static_cast<double>(rate));
        EXPECT_EQ(expected, *title) << passes - passesAtUpdate << " passes in " << elapsed << " s";
        titles.push_back(*title);
        passesAtUpdate = passes;
        timeAtUpdate = now;
    };
    auto runUntilTitles = [&](size_t count) {
        const Uint32 deadline = SDL_GetTicks() + 5000;
        while (titles.size() < count && SDL_GetTicks() < deadline && !HasFatalFailure())
            pass();
        ASSERT_EQ(count, titles.size());
    };

    runUntilTitles(1);
    SDL_Delay(400);
    pass();  // one pass after the pause: one frame in about 0.4 s
    ASSERT_EQ(2u, titles.size());
    runUntilTitles(3);

    char shown[2048] = {};
    GetWindowTextA(hwnd_, shown, sizeof shown);
    EXPECT_EQ(titles.back(), shown);
}

// The run ends at a pass whose stream position equals the stream length
// exactly; that pass still draws. A position one off either way goes on.
TEST_F(PlayerMainLoop, StreamEndsTheLoopOnlyAtExactlyItsLength)
{
    const int position = PlayBrieflyAndPause();
    const struct {
        int32_t length;
        bool quits;
    } cases[] = {{position, true}, {position - 1, false}, {position + 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        DrainMessages();
        MainLoop loop(hwnd_, c.length);
        loop.Begin();
        const size_t rendered = Recorder()->calls.size();
        loop.RunPass();
        EXPECT_EQ(c.quits, loop.quit);
        ASSERT_EQ(rendered + 1, Recorder()->calls.size());
        EXPECT_EQ(position / 10.0f, Recorder()->calls.back().time);
    }
}

// Declared last: it ends the player world. The shutdown logs the loop's end,
// deletes the plugin host and then the GL system, gives the display mode
// back, shows the cursor again, waits half a second and ends the log core.
TEST_F(PlayerMainLoop, ShutdownRunsItsStepsInOrder)
{
    EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));  // hidden at start-up
    {
        PlatformTraceRecording recording;
        shutDown_ = true;
        ShutDownPlayer(g_host, g_gl);
    }
    g_host = nullptr;
    g_gl = nullptr;

    const std::vector<PlatformCall>& calls = PlatformTraceCalls();
    ASSERT_EQ((std::vector<std::string>{"WriteConsoleA", "WriteConsoleA", "WriteConsoleA",
                                        "WriteConsoleA", "ChangeDisplaySettingsA", "ShowCursor",
                                        "Sleep", "Orvan_Core_End"}),
              PlatformTraceNames());
    const char* const lines[] = {
        "mainloop exited\n",
        "Destroying Plugin Host...\n",
        "Orvan_Plugin_Host::Orvan Plugin Host Destroyed\n",
        "OrvanGL System Destroyed\n",
    };
    for (size_t i = 0; i < 4; i++)
        EXPECT_EQ(lines[i], calls[i].text);
    EXPECT_EQ((std::vector<long long>{0, 0}), calls[4].args);  // NULL mode: the desktop's
    EXPECT_EQ(std::vector<long long>{1}, calls[5].args);
    EXPECT_EQ(0, calls[5].result);  // the count back where it started
    EXPECT_EQ(std::vector<long long>{500}, calls[6].args);

    EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
    EXPECT_EQ(nullptr, g_core);
    EXPECT_NE(nullptr, g_console);  // the console stays
}

}  // namespace
