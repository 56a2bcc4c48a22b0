// Sanitizer builds only: dlclose unmaps nothing. SDL unloads EGL, and with it
// Mesa's driver and LLVM, when its last GL window goes; a leak report made
// at exit could then no longer name their frames, and the suppressions name
// third-party leaks by the library they come from. Every library stays
// mapped until the process ends, as the player's own plugins do anyway.
extern "C" int dlclose(void*)
{
    return 0;
}
