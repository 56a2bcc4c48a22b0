#include "win_handles.h"

namespace {

bool s_requested = false;
SDL_DisplayMode s_requestedMode;

// Windows counts 32 bits for the 24-bit colour of four-byte pixels.
bool DepthMatches(Uint32 format, DWORD bitsPerPel)
{
    if (bitsPerPel == 32)
        return SDL_BYTESPERPIXEL(format) == 4;
    return SDL_BITSPERPIXEL(format) == bitsPerPel;
}

bool Matches(const SDL_DisplayMode& candidate, const DEVMODEA& mode)
{
    if (candidate.w <= 0 || candidate.h <= 0)
        return false;
    if ((mode.dmFields & DM_PELSWIDTH) && static_cast<DWORD>(candidate.w) != mode.dmPelsWidth)
        return false;
    if ((mode.dmFields & DM_PELSHEIGHT) && static_cast<DWORD>(candidate.h) != mode.dmPelsHeight)
        return false;
    if ((mode.dmFields & DM_BITSPERPEL) && !DepthMatches(candidate.format, mode.dmBitsPerPel))
        return false;
    // 0 and 1 ask for the hardware's default rate.
    if ((mode.dmFields & DM_DISPLAYFREQUENCY) && mode.dmDisplayFrequency > 1 &&
        static_cast<DWORD>(candidate.refresh_rate) != mode.dmDisplayFrequency)
        return false;
    return true;
}

// The display's own list, then its desktop mode, which some drivers leave out.
bool FindMode(const DEVMODEA& mode, SDL_DisplayMode* found)
{
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode candidate;
        if (SDL_GetDisplayMode(0, i, &candidate) == 0 && Matches(candidate, mode)) {
            *found = candidate;
            return true;
        }
    }
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && Matches(desktop, mode)) {
        *found = desktop;
        return true;
    }
    return false;
}

}  // namespace

const SDL_DisplayMode* PlatformRequestedDisplayMode()
{
    return s_requested ? &s_requestedMode : nullptr;
}

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD)
{
    if (!mode) {
        // Back to the desktop mode: SDL gives it back when a window leaves
        // exclusive fullscreen, and nothing gives it back at process exit.
        s_requested = false;
        for (HWND window : PlatformWindows()) {
            if (window->exclusiveFullscreen &&
                SDL_SetWindowFullscreen(window->sdlWindow, 0) == 0)
                window->exclusiveFullscreen = false;
        }
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!PlatformStartVideo())
        return DISP_CHANGE_FAILED;
    SDL_DisplayMode found;
    if (!FindMode(*mode, &found))
        return DISP_CHANGE_BADMODE;
    s_requestedMode = found;
    s_requested = true;
    return DISP_CHANGE_SUCCESSFUL;
}
