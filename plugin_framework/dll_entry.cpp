#include "dll_entry.h"

#include "win_library.h"

BOOL DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

namespace {

// The loader has no entry point to call, so the library calls its own on
// load and unload. This file is linked last, so the library's other static
// objects are constructed before the attach.
struct LibraryEntry {
    LibraryEntry() { DllMain(nullptr, DLL_PROCESS_ATTACH, nullptr); }
    ~LibraryEntry() { DllMain(nullptr, DLL_PROCESS_DETACH, nullptr); }
};

const LibraryEntry s_entry;

}  // namespace
