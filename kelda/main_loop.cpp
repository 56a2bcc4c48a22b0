#include "main_loop.h"

#include <cstdio>

#include "fsound.h"
#include "orvan_gl.h"
#include "player_globals.h"
#include "script_dispatcher.h"
#include "win_time.h"

namespace {

constexpr double kTitleInterval = 0.25;  // seconds of timer time
constexpr WPARAM kEscape = VK_ESCAPE;

}  // namespace

MainLoop::MainLoop(HWND window, int32_t streamLength)
    : streamLength(streamLength), hwnd(window), timer(0.0, 99999.0)
{
}

void MainLoop::Begin()
{
    timer.Update();
    timeAtLastUpdate = timer.GetTotalTime();
}

void MainLoop::RunPass()
{
    if (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
        } else {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return;
    }
    RunIdlePass();
}

void MainLoop::RunIdlePass()
{
    Sleep(1);
    if (g_keys[kEscape]) {
        FSOUND_SetPaused(g_channel, 1);
        quit = true;
    }
    frames += 1.0f;
    // Presents what the previous idle pass drew.
    g_gl->SwapBuffers();

    timer.Update();
    timeNow = timer.GetTotalTime();

    // Exactly the length: the position stops there once the last sample played.
    if (FSOUND_Stream_GetTime(g_stream) == streamLength)
        quit = true;
    ProcessScriptFrame(FSOUND_Stream_GetTime(g_stream));

    const double elapsed = timeNow - timeAtLastUpdate;
    if (elapsed > kTitleInterval) {
        frameRate = static_cast<float>((frames - framesAtLastUpdate) / elapsed);
        snprintf(title, sizeof title, "Orvan @(%gfps)", static_cast<double>(frameRate));
        SetWindowTextA(hwnd, title);
        framesAtLastUpdate = frames;
        timeAtLastUpdate = timeNow;
    }
}
