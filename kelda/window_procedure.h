// The player window's procedure: keeps g_keys up to date, swallows the
// screen saver and monitor power-down, and turns a close into the quit
// message that ends the main loop.
#pragma once

#include "win_window.h"

LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
