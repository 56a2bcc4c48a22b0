#include <algorithm>
#include <cstring>

#include "win_handles.h"

namespace {

std::vector<HWND>& Windows()
{
    static std::vector<HWND> windows;
    return windows;
}

void SetGlAttributes()
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

// A popup that covers the whole switched screen takes the screen over in
// that mode, as a fullscreen window does on a switched Windows display.
void TakeOverScreen(HWND window, int x, int y, int width, int height)
{
    const SDL_DisplayMode* mode = PlatformRequestedDisplayMode();
    if (!mode || x > 0 || y > 0 || x + width < mode->w || y + height < mode->h)
        return;
    if (SDL_SetWindowDisplayMode(window->sdlWindow, mode) == 0 &&
        SDL_SetWindowFullscreen(window->sdlWindow, SDL_WINDOW_FULLSCREEN) == 0)
        window->exclusiveFullscreen = true;
}

}  // namespace

const std::vector<HWND>& PlatformWindows()
{
    return Windows();
}

bool PlatformIsWindow(HWND window)
{
    return window &&
           std::find(Windows().begin(), Windows().end(), window) != Windows().end();
}

HWND PlatformWindowFromSdl(Uint32 sdlWindowId)
{
    for (HWND window : Windows())
        if (SDL_GetWindowID(window->sdlWindow) == sdlWindowId)
            return window;
    return nullptr;
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD, int x, int y, int width,
                     int height, HWND, HMENU, HINSTANCE, LPVOID)
{
    const WNDCLASSA* windowClass = PlatformFindClass(className);
    if (!windowClass || width <= 0 || height <= 0 || !PlatformStartVideo())
        return nullptr;

    SetGlAttributes();
    const char* title = windowName ? windowName : "";
    SDL_Window* sdlWindow =
        SDL_CreateWindow(title, x, y, width, height,
                         SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (!sdlWindow)
        return nullptr;

    HWND window = new HWND__;
    window->sdlWindow = sdlWindow;
    window->proc = windowClass->lpfnWndProc;
    window->className = windowClass->lpszClassName;
    window->title = title;
    Windows().push_back(window);
    TakeOverScreen(window, x, y, width, height);
    return window;
}

BOOL DestroyWindow(HWND window)
{
    if (!PlatformIsWindow(window))
        return FALSE;
    Windows().erase(std::find(Windows().begin(), Windows().end(), window));
    SDL_DestroyWindow(window->sdlWindow);
    delete window->dc;
    delete window;
    return TRUE;
}

BOOL ShowWindow(HWND window, int command)
{
    if (!PlatformIsWindow(window))
        return FALSE;
    BOOL wasVisible = (SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_SHOWN) ? TRUE : FALSE;
    if (command == SW_HIDE)
        SDL_HideWindow(window->sdlWindow);
    else
        SDL_ShowWindow(window->sdlWindow);
    return wasVisible;
}

BOOL SetForegroundWindow(HWND window)
{
    if (!PlatformIsWindow(window))
        return FALSE;
    SDL_RaiseWindow(window->sdlWindow);
    return TRUE;
}

HWND SetFocus(HWND window)
{
    SDL_Window* focused = PlatformStartVideo() ? SDL_GetKeyboardFocus() : nullptr;
    HWND previous = focused ? PlatformWindowFromSdl(SDL_GetWindowID(focused)) : nullptr;
    if (PlatformIsWindow(window))
        SDL_SetWindowInputFocus(window->sdlWindow);  // not every driver can; nothing to report
    return previous;
}

BOOL SetWindowTextA(HWND window, LPCSTR text)
{
    if (!PlatformIsWindow(window))
        return FALSE;
    window->title = text ? text : "";
    SDL_SetWindowTitle(window->sdlWindow, window->title.c_str());
    return TRUE;
}

int GetWindowTextA(HWND window, LPSTR text, int maxCount)
{
    if (!PlatformIsWindow(window) || !text || maxCount <= 0)
        return 0;
    size_t length = std::min(window->title.size(), static_cast<size_t>(maxCount - 1));
    std::memcpy(text, window->title.data(), length);
    text[length] = '\0';
    return static_cast<int>(length);
}

// Windows here have no frame, caption or menu: the client area is the window.
BOOL AdjustWindowRectEx(RECT* rect, DWORD, BOOL, DWORD)
{
    return rect ? TRUE : FALSE;
}
