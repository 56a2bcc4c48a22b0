// The log core and the debug console: one print function for the whole host.
#pragma once

#include <cstdarg>

#include "win_types.h"

class Orvan_Core {
public:
    Orvan_Core();   // opens the console on first construction
    ~Orvan_Core();  // does nothing: the console stays open

    int Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
};

extern Orvan_Core* g_core;
extern HANDLE g_console;

int Orvan_Core_Begin();
int Orvan_Core_End();
// Formats into a 256-byte buffer (longer messages are cut at 255 characters),
// maps six Latin-1 letters to code page 437 and writes to the console. Adds
// no line end. 0 when there is no console.
int Orvan_Core_Print(const char* format, ...) __attribute__((format(printf, 1, 2)));
int Orvan_Core_PrintV(const char* format, va_list args);
HANDLE CreateDebugConsole(const char* title, int x, int y);
