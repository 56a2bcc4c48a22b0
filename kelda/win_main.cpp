// The player: start-up, the main loop and shutdown.
#include "win_main.h"

#include "fsound.h"
#include "main_loop.h"
#include "orvan_core.h"
#include "orvan_gl.h"
#include "orvan_plugin_host.h"
#include "player_globals.h"
#include "player_shutdown.h"
#include "player_startup.h"
#include "plugin_load_list.h"
#include "demo_script.h"
#include "run_status.h"
#include "soundtrack.h"
#include "win_window.h"

int WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Orvan_Core_Begin();
    Orvan_Core_Print("Orvan Demo Player VORNEX\n");
    // Held until the process ends on the early ends, which delete nothing.
    static OrvanGL* gl;
    gl = new OrvanGL;

    HWND hwnd = OpenPlayerWindow(gl);
    if (!hwnd)
        return kRunFailed;

    Orvan_Plugin_Host* host = StartHostServices(gl, kPluginLoadList, kPluginLoadCount);

    Orvan_Core_Print("Loading and post-processing demo script...\n");
    LoadDemoScript();

    int32_t streamLength = 0;
    if (!StartSoundtrack(&streamLength))
        return kRunFailed;

    Orvan_Core_Print("Starting Global Timer...\n");
    MainLoop loop(hwnd, streamLength);
    loop.Begin();

    Orvan_Core_Print("entering mainloop\n");
    FSOUND_SetPaused(g_channel, 0);
    while (!loop.quit)
        loop.RunPass();

    ShutDownPlayer(host, gl);
    return kRunPlayed;
}
