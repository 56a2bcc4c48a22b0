// What stands behind the window, device-context and GL-context handles, and
// the few calls the platform's own files share. Internal to the platform
// layer: the host sees only the opaque handles of win_types.h.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "win_gl.h"
#include "win_window.h"

struct HWND__ {
    SDL_Window* sdlWindow = nullptr;  // null for the console's window
    WNDPROC proc = nullptr;           // the class's window procedure
    std::string className;
    std::string title;
    HDC dc = nullptr;  // the window's own device context, made by the first GetDC
    bool exclusiveFullscreen = false;
};

struct HDC__ {
    HWND window = nullptr;
    int pixelFormat = 0;        // 0 until SetPixelFormat succeeds
    HGDIOBJ selected = nullptr;  // the object SelectObject put in, for text and bitmap calls
};

struct HGLRC__ {
    SDL_GLContext context = nullptr;
};

// Starts SDL's video subsystem on first use; false when no video driver starts.
bool PlatformStartVideo();

// The live windows made by CreateWindowExA, oldest first.
const std::vector<HWND>& PlatformWindows();
HWND PlatformWindowFromSdl(Uint32 sdlWindowId);
bool PlatformIsWindow(HWND window);

// A class registered with RegisterClassA, or null.
const WNDCLASSA* PlatformFindClass(const char* className);

// The fullscreen mode ChangeDisplaySettingsA accepted and has not given back.
const SDL_DisplayMode* PlatformRequestedDisplayMode();
