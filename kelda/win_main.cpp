// The player: start-up, the main loop and shutdown.
#include "win_main.h"

#include "fsound.h"
#include "main_loop.h"
#include "orvan_core.h"
#include "orvan_gl.h"
#include "orvan_plugin_host.h"
#include "player_globals.h"
#include "player_startup.h"
#include "plugin_load_list.h"
#include "demo_script.h"
#include "soundtrack.h"
#include "win_time.h"
#include "win_window.h"

namespace {

void ShutDown(Orvan_Plugin_Host* host, OrvanGL* gl)
{
    Orvan_Core_Print("mainloop exited\n");
    Orvan_Core_Print("Destroying Plugin Host...\n");
    // Both classes have virtual operations but a plain destructor: their
    // layouts are shared with the plugin libraries, which read fields at fixed
    // offsets, and the objects are only ever deleted here, through their own
    // type. Marking them final would let plugins devirtualize calls into host
    // symbols they cannot link.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdelete-non-virtual-dtor"
    delete host;
    delete gl;
#pragma GCC diagnostic pop

    ChangeDisplaySettingsA(NULL, 0);
    ShowCursor(TRUE);
    Sleep(500);
    Orvan_Core_End();
}

}  // namespace

int WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Orvan_Core_Begin();
    Orvan_Core_Print("Orvan Demo Player VORNEX\n");
    // Held until the process ends on the early ends, which delete nothing.
    static OrvanGL* gl;
    gl = new OrvanGL;

    HWND hwnd = OpenPlayerWindow(gl);
    if (!hwnd)
        return 0;

    Orvan_Plugin_Host* host = StartHostServices(gl, kPluginLoadList, kPluginLoadCount);

    Orvan_Core_Print("Loading and post-processing demo script...\n");
    LoadDemoScript();

    int32_t streamLength = 0;
    if (!StartSoundtrack(&streamLength))
        return 0;

    Orvan_Core_Print("Starting Global Timer...\n");
    MainLoop loop(hwnd, streamLength);
    loop.Begin();

    Orvan_Core_Print("entering mainloop\n");
    FSOUND_SetPaused(g_channel, 0);
    while (!loop.quit)
        loop.RunPass();

    ShutDown(host, gl);
    return 0;
}
