// Dynamic loading on dlopen/dlsym.
//
// A Windows-style library name such as "zanthe.DLL" names the shared library
// "zanthe.so" (the suffix matched without regard to case); it is looked for in
// the executable's folder first, then in the working directory.
#pragma once

#include "win_types.h"

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

HMODULE LoadLibraryA(LPCSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
