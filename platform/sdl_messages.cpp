#include <deque>

#include "sdl_virtual_keys.h"
#include "win_handles.h"

namespace {

// Messages posted by the program itself, and translated ones that a
// PM_NOREMOVE peek has looked at; both are taken before SDL is polled again.
std::deque<MSG>& Queue()
{
    static std::deque<MSG> queue;
    return queue;
}

MSG Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = SDL_GetTicks();
    return msg;
}

LPARAM SizeParam(int width, int height)
{
    return static_cast<LPARAM>((static_cast<DWORD>(height & 0xFFFF) << 16) |
                               static_cast<DWORD>(width & 0xFFFF));
}

// Key lParam as Windows builds it: repeat count 1, scan code, previous key
// state (bit 30) and transition state (bit 31).
LPARAM KeyParam(const SDL_KeyboardEvent& key)
{
    DWORD value = 1 | ((static_cast<DWORD>(key.keysym.scancode) & 0xFF) << 16);
    if (key.type == SDL_KEYUP)
        value |= 0xC0000000u;
    else if (key.repeat)
        value |= 0x40000000u;
    return static_cast<LPARAM>(static_cast<int32_t>(value));
}

// One SDL event as a message; false for the events the host has no use for.
bool Translate(const SDL_Event& event, MSG* msg)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        unsigned key = VirtualKeyFromSdl(event.key.keysym.sym);
        HWND window = PlatformWindowFromSdl(event.key.windowID);
        if (!key)
            return false;
        // Keys go to the focus window; with none known, to the program's window.
        if (!window && !PlatformWindows().empty())
            window = PlatformWindows().front();
        *msg = Message(window, event.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, key,
                       KeyParam(event.key));
        return true;
    }
    case SDL_WINDOWEVENT: {
        HWND window = PlatformWindowFromSdl(event.window.windowID);
        if (!window)
            return false;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            *msg = Message(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            *msg = Message(window, WM_ACTIVATE, WA_ACTIVE, 0);
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            *msg = Message(window, WM_ACTIVATE, WA_INACTIVE, 0);
            return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            *msg = Message(window, WM_SIZE, SIZE_RESTORED,
                           SizeParam(event.window.data1, event.window.data2));
            return true;
        case SDL_WINDOWEVENT_MINIMIZED:
            *msg = Message(window, WM_SIZE, SIZE_MINIMIZED, 0);
            return true;
        default:
            return false;
        }
    }
    case SDL_QUIT: {
        // A quit request from outside (Ctrl+C in the terminal, the session
        // ending) closes the program's first window as the window manager
        // would, so the program shuts down in order; with no window left it
        // ends the message loop.
        if (PlatformWindows().empty())
            *msg = Message(nullptr, WM_QUIT, 0, 0);
        else
            *msg = Message(PlatformWindows().front(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    default:
        return false;
    }
}

}  // namespace

BOOL PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT removeFlags)
{
    if (!msg)
        return FALSE;
    if (Queue().empty() && SDL_WasInit(SDL_INIT_VIDEO)) {
        // Pumped once and read with SDL_PeepEvents: SDL_PollEvent ends a
        // round at a marker it leaves in the queue, so after a round cut short
        // by a translated event it would report an empty queue once.
        SDL_PumpEvents();
        SDL_Event event;
        MSG translated;
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
            if (Translate(event, &translated)) {
                Queue().push_back(translated);
                break;
            }
        }
    }
    if (Queue().empty())
        return FALSE;
    *msg = Queue().front();
    if (removeFlags & PM_REMOVE)
        Queue().pop_front();
    return TRUE;
}

// Key messages need no character messages here: nothing reads WM_CHAR.
BOOL TranslateMessage(const MSG* msg)
{
    return msg && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP);
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (!msg || !PlatformIsWindow(msg->hwnd) || !msg->hwnd->proc)
        return 0;
    return msg->hwnd->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    // The low four bits of a system command are Windows' own.
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE && PlatformIsWindow(window) &&
        window->proc)
        return window->proc(window, WM_CLOSE, 0, 0);
    return 0;
}

void PostQuitMessage(int exitCode)
{
    Queue().push_back(Message(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0));
}
