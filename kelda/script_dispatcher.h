// The frame dispatcher: runs the demo script for one stream position.
#pragma once

// Picks, for each of the ten layers, the last event of g_scriptEvents active
// at timeMs (both bounds inclusive) and runs the layers in order 0 to 9.
// Keeps nothing from one call to the next.
void ProcessScriptFrame(int timeMs);
