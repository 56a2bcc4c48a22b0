// Process-wide state of the player, shared by start-up, the window procedure,
// the script loader and the dispatcher.
#pragma once

#include <cstdint>

class Orvan_Plugin_Host;
class OrvanGL;
struct FSOUND_STREAM;

extern Orvan_Plugin_Host* g_host;
extern OrvanGL* g_gl;
extern FSOUND_STREAM* g_stream;
extern int32_t g_channel;
extern unsigned char g_keys[256];  // 1 while the virtual key is down
