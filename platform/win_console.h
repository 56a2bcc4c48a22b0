// The debug console: the terminal the program was started from.
//
// Bytes written are code page 437 and reach the terminal as UTF-8; control
// codes other than tab, line feed and carriage return are shown as their
// glyphs, so the text cannot drive the terminal.
#pragma once

#include "win_types.h"

struct COORD {
    short X;
    short Y;
};

#define GENERIC_WRITE 0x40000000u
#define GENERIC_READ 0x80000000u
#define CONSOLE_TEXTMODE_BUFFER 1

#define HWND_TOP (reinterpret_cast<HWND>(0))
#define HWND_TOPMOST (reinterpret_cast<HWND>(-1))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(-2))

#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOACTIVATE 0x0010

BOOL AllocConsole();
HANDLE CreateConsoleScreenBuffer(DWORD desiredAccess, DWORD shareMode, const void* security,
                                 DWORD flags, LPVOID screenBufferData);
BOOL SetConsoleActiveScreenBuffer(HANDLE consoleOutput);
BOOL SetConsoleScreenBufferSize(HANDLE consoleOutput, COORD size);
BOOL SetConsoleTitleA(LPCSTR title);
BOOL WriteConsoleA(HANDLE consoleOutput, const void* buffer, DWORD count, DWORD* written,
                   LPVOID reserved);

// FindWindowA finds the console window by the title SetConsoleTitleA gave it;
// SetWindowPos accepts the console window and the player's window.
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
