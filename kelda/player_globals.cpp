#include "player_globals.h"

#include "script_event.h"

Orvan_Plugin_Host* g_host = nullptr;
OrvanGL* g_gl = nullptr;
FSOUND_STREAM* g_stream = nullptr;
int32_t g_channel = -1;
unsigned char g_keys[256] = {};
std::vector<ScriptEvent*> g_scriptEvents;
