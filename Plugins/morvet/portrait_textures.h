// The five portraits the effect loads into the host's texture pool.
#pragma once

#include <GL/gl.h>

class Orvan_Plugin_Host;

const int kPortraitCount = 5;

// GL texture names of "kimbel", "ravoth", "tessik", "bemsel" and "pelgrin",
// in this order; 0 for a picture the pool could not load.
extern GLuint g_portraitTextures[kPortraitCount];

// Loads all five, then looks all five up. A repeated call finds them loaded.
void LoadPortraitTextures(Orvan_Plugin_Host* host);
