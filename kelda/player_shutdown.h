// The player's shutdown after its main loop.
#pragma once

class OrvanGL;
class Orvan_Plugin_Host;

// Logs the loop's end, deletes the plugin host and the GL system, gives the
// display mode back, shows the cursor, waits half a second and ends the log
// core. The texture pool, the plugins and the console stay.
void ShutDownPlayer(Orvan_Plugin_Host* host, OrvanGL* gl);
