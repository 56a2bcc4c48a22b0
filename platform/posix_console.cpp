#include <cerrno>
#include <csignal>
#include <cstring>
#include <set>
#include <string>
#include <unistd.h>

#include "cp437.h"
#include "win_console.h"
#include "win_handles.h"

// The console is the terminal the program was started from: standard output.
// Writes go straight to fd 1, so nothing waits in a buffer at exit.
//
// Standard output may be a pipe whose reader goes away ("kelda | head -2").
// A console write must then fail without a report, as a write to a console
// that is gone does, so the console ignores SIGPIPE: the write fails with
// EPIPE instead of ending the process before its shutdown.

namespace {

struct ScreenBuffer {
};

std::set<const ScreenBuffer*>& Buffers()
{
    static std::set<const ScreenBuffer*> buffers;
    return buffers;
}

bool IsBuffer(HANDLE handle)
{
    return handle && Buffers().count(static_cast<const ScreenBuffer*>(handle));
}

// The console's window, known by its title once it has one.
HWND__& ConsoleWindow()
{
    static HWND__ window;
    return window;
}

bool s_consoleTitled = false;

// Writes all of text, retrying interrupted and partial writes; the number of
// bytes written.
size_t WriteAll(const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

}  // namespace

BOOL AllocConsole()
{
    signal(SIGPIPE, SIG_IGN);
    ConsoleWindow().className = "ConsoleWindowClass";
    return TRUE;
}

HANDLE CreateConsoleScreenBuffer(DWORD, DWORD, const void*, DWORD, LPVOID)
{
    const ScreenBuffer* buffer = new ScreenBuffer;
    Buffers().insert(buffer);
    return const_cast<ScreenBuffer*>(buffer);
}

BOOL SetConsoleActiveScreenBuffer(HANDLE consoleOutput)
{
    return IsBuffer(consoleOutput) ? TRUE : FALSE;
}

// The terminal keeps its own size; the scroll-back stands in for the rows.
BOOL SetConsoleScreenBufferSize(HANDLE consoleOutput, COORD size)
{
    return IsBuffer(consoleOutput) && size.X > 0 && size.Y > 0 ? TRUE : FALSE;
}

BOOL SetConsoleTitleA(LPCSTR title)
{
    if (!title)
        return FALSE;
    ConsoleWindow().className = "ConsoleWindowClass";
    ConsoleWindow().title = title;
    s_consoleTitled = true;
    if (isatty(STDOUT_FILENO)) {
        std::string sequence = "\033]0;";
        for (const char* c = title; *c; ++c)
            if (static_cast<unsigned char>(*c) >= 0x20 && *c != 0x7F)
                sequence += *c;
        sequence += '\007';
        WriteAll(sequence);
    }
    return TRUE;
}

BOOL WriteConsoleA(HANDLE consoleOutput, const void* buffer, DWORD count, DWORD* written, LPVOID)
{
    if (written)
        *written = 0;
    if (!IsBuffer(consoleOutput) || (!buffer && count))
        return FALSE;

    const unsigned char* bytes = static_cast<const unsigned char*>(buffer);
    std::string text;
    text.reserve(count);
    std::string::size_type ends[256];  // end of each byte's UTF-8, for partial writes
    DWORD done = 0;
    bool ok = true;
    // In chunks, so that a failed write reports how many bytes got through.
    while (done < count && ok) {
        DWORD chunk = count - done < 256 ? count - done : 256;
        text.clear();
        for (DWORD i = 0; i < chunk; ++i) {
            AppendCp437AsUtf8(bytes[done + i], text);
            ends[i] = text.size();
        }
        size_t out = WriteAll(text);
        if (out < text.size()) {
            ok = false;
            DWORD whole = 0;
            while (whole < chunk && ends[whole] <= out)
                ++whole;
            chunk = whole;
        }
        done += chunk;
    }
    if (written)
        *written = done;
    return ok ? TRUE : FALSE;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName)
{
    auto matches = [&](const HWND__& window) {
        return (!className || window.className == className) &&
               (!windowName || window.title == windowName);
    };
    if (s_consoleTitled && matches(ConsoleWindow()))
        return &ConsoleWindow();
    for (HWND window : PlatformWindows())
        if (matches(*window))
            return window;
    return nullptr;
}

// The terminal's window is the terminal's own; the program's windows move and
// resize as asked. The stacking order is left to the window manager.
BOOL SetWindowPos(HWND window, HWND, int x, int y, int cx, int cy, UINT flags)
{
    if (window == &ConsoleWindow())
        return s_consoleTitled ? TRUE : FALSE;
    if (!PlatformIsWindow(window))
        return FALSE;
    if (!(flags & SWP_NOMOVE))
        SDL_SetWindowPosition(window->sdlWindow, x, y);
    if (!(flags & SWP_NOSIZE) && cx > 0 && cy > 0)
        SDL_SetWindowSize(window->sdlWindow, cx, cy);
    return TRUE;
}
