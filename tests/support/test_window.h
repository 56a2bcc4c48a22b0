// Opens the player's kind of window through the platform layer, with a
// current GL context, for tests that draw or read GL state.
#pragma once

#include "win_gl.h"
#include "win_window.h"

struct TestWindow {
    HWND hwnd = nullptr;
    HDC hdc = nullptr;
    HGLRC hglrc = nullptr;
};

// Registers a window class (once) and opens a 640x480 popup through the platform layer,
// with the pixel format double-buffered RGBA 32 colour / 16 depth bits and a current GL
// context. proc may be null (DefWindowProcA is used). Returns false on failure.
bool OpenTestWindow(TestWindow& window, WNDPROC proc = nullptr);
void CloseTestWindow(TestWindow& window);
