// The player's start-up steps between the log core and the soundtrack,
// shared by WinMain and the tools that render frames without it.
#pragma once

#include <cstddef>

#include "win_types.h"

class OrvanGL;
class Orvan_Plugin_Host;

// Registers the "Calvastine" class, hides the cursor, switches the display,
// creates the 640x480 popup titled "anus", binds it to gl, sets up GL and
// shows the window. Logs "Window Creation Error.\n" and returns NULL when no
// window is created; the display mode and the cursor then stay as they are.
HWND OpenPlayerWindow(OrvanGL* gl);

// With gl's context current: the texture pool, the five 1024x512 render
// targets, the plugin host with the given libraries loaded in order, g_host
// and g_gl set, every plugin initialised. Returns the plugin host.
Orvan_Plugin_Host* StartHostServices(OrvanGL* gl, const char* const* pluginFiles,
                                     size_t pluginCount);
