#include "player_shutdown.h"

#include <cstddef>

#include "orvan_core.h"
#include "orvan_gl.h"
#include "orvan_plugin_host.h"
#include "win_time.h"
#include "win_window.h"

void ShutDownPlayer(Orvan_Plugin_Host* host, OrvanGL* gl)
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
