// The player's main loop: one window message or one frame per pass.
#pragma once

#include <cstdint>

#include "timer.h"
#include "win_window.h"

class MainLoop {
public:
    // Constructs the frame timer (0.0 to 99999.0 s a step); all counts zero.
    MainLoop(HWND window, int32_t streamLength);

    // The timer's first, discarded Update; the title clock starts there.
    void Begin();

    // One pass: a window message if there is one (WM_QUIT raises quit),
    // otherwise an idle pass that sleeps 1 ms, checks Escape, presents the
    // previous frame, advances the timer, checks for the end of the stream,
    // runs the script at the stream position and, every 0.25 s of timer
    // time, writes the frame rate into the window title.
    void RunPass();

    bool quit = false;
    float frames = 0.0f;              // idle passes so far
    float framesAtLastUpdate = 0.0f;  // at the last title update
    float frameRate = 0.0f;
    double timeNow = 0.0;
    double timeAtLastUpdate = 0.0;
    int32_t streamLength;
    char title[2048] = {};
    HWND hwnd;
    MSG msg = {};
    Timer timer;

private:
    void RunIdlePass();
};
