// The effect's four pictures, "plasma1" to "plasma4" in the host's pool.
#pragma once

#include <GL/gl.h>

class Orvan_Plugin_Host;

// GL texture names of the four layers; written by LoadLayerTextures, bound
// by the drawing.
extern GLuint g_layerTextures[4];

// Loads the four pictures into the host's pool, each followed by the lookup
// of its GL name. A picture that did not load leaves its layer at GL name 0,
// the untextured default.
void LoadLayerTextures(Orvan_Plugin_Host* host);
