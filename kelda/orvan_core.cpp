#include "orvan_core.h"

#include <cstdio>
#include <cstring>

#include "win_console.h"
#include "win_time.h"

Orvan_Core* g_core = nullptr;
HANDLE g_console = nullptr;

namespace {

// The console window appears some time after its title is set; wait for it
// at most this many looks, 50 ms apart, and leave it where it is otherwise.
const int kConsoleWindowTries = 40;
const DWORD kConsoleWindowPollMs = 50;

// The console shows code page 437; the log's texts are Latin-1.
unsigned char ToCodePage437(unsigned char c)
{
    switch (c) {
    case 0xC5: return 0x8F;  // Å
    case 0xC4: return 0x8E;  // Ä
    case 0xD6: return 0x99;  // Ö
    case 0xE5: return 0x86;  // å
    case 0xE4: return 0x84;  // ä
    case 0xF6: return 0x94;  // ö
    default: return c;
    }
}

}  // namespace

HANDLE CreateDebugConsole(const char* title, int x, int y)
{
    AllocConsole();
    g_console = CreateConsoleScreenBuffer(GENERIC_WRITE, 0, nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
    SetConsoleActiveScreenBuffer(g_console);
    COORD size;
    size.X = 80;
    size.Y = 600;
    SetConsoleScreenBufferSize(g_console, size);
    SetConsoleTitleA(title);

    HWND window = FindWindowA(nullptr, title);
    for (int tries = 1; !window && tries < kConsoleWindowTries; ++tries) {
        Sleep(kConsoleWindowPollMs);
        window = FindWindowA(nullptr, title);
    }
    if (window) {
        // Raised above everything, then released from staying on top.
        const UINT flags = SWP_NOSIZE | SWP_NOACTIVATE;
        SetWindowPos(window, HWND_TOPMOST, x, y, 0, 0, flags);
        SetWindowPos(window, HWND_TOP, x, y, 0, 0, flags);
        SetWindowPos(window, HWND_NOTOPMOST, x, y, 0, 0, flags);
    }
    return g_console;
}

Orvan_Core::Orvan_Core()
{
    if (g_core) {
        Orvan_Core_Print("Orvan_Core::Orvan_Core() -- Core already exists!\n");
        return;
    }
    g_core = this;
    CreateDebugConsole("Orvan_Core Debug Console", 0, 0);
    Orvan_Core_Print("Orvan_Core::Orvan_Core() Debug Console Created Successfully\n");
}

Orvan_Core::~Orvan_Core() {}

int Orvan_Core::Print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int result = Orvan_Core_PrintV(format, args);
    va_end(args);
    return result;
}

int Orvan_Core_Begin()
{
    if (g_core) {
        Orvan_Core_Print("Redundant Orvan_Core_Begin\n");
        return 0;
    }
    // The constructor registers the object itself.
    g_core = new Orvan_Core;
    return 1;
}

int Orvan_Core_End()
{
    if (g_core) {
        delete g_core;
        g_core = nullptr;
    }
    return 1;
}

int Orvan_Core_PrintV(const char* format, va_list args)
{
    // The log writes whenever the console exists, with or without a core.
    if (!g_console)
        return 0;

    // Longer messages are cut at 255 characters.
    char text[256];
    if (vsnprintf(text, sizeof text, format, args) < 0)
        text[0] = '\0';

    for (char* p = text; *p; ++p)
        *p = static_cast<char>(ToCodePage437(static_cast<unsigned char>(*p)));

    DWORD written = 0;
    return WriteConsoleA(g_console, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
}

int Orvan_Core_Print(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int result = Orvan_Core_PrintV(format, args);
    va_end(args);
    return result;
}
