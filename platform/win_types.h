// Basic Windows-style types and handles used across the platform layer.
// Widths follow the Windows ABI where the host's file formats or object
// layouts depend on them (DWORD and LONG are 32 bits); handles are opaque
// pointers, so they are 8 bytes on 64-bit Linux.
#pragma once

#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef uint16_t ATOM;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef void* LPVOID;
typedef const char* LPCSTR;
typedef char* LPSTR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define KELDA_DECLARE_HANDLE(name) \
    struct name##__;               \
    typedef struct name##__* name

KELDA_DECLARE_HANDLE(HWND);
KELDA_DECLARE_HANDLE(HDC);
KELDA_DECLARE_HANDLE(HGLRC);
KELDA_DECLARE_HANDLE(HINSTANCE);
KELDA_DECLARE_HANDLE(HICON);
KELDA_DECLARE_HANDLE(HCURSOR);
KELDA_DECLARE_HANDLE(HBRUSH);
KELDA_DECLARE_HANDLE(HMENU);
typedef HINSTANCE HMODULE;
typedef void* HANDLE;
typedef void* HGDIOBJ;
typedef void* HBITMAP;
typedef void* HFONT;

typedef intptr_t (*FARPROC)();

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct POINT {
    LONG x;
    LONG y;
};

union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    int64_t QuadPart;
};
