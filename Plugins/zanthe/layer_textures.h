// The effect's four pictures, "plasma1" to "plasma4" in the host's pool.
#pragma once

#include <GL/gl.h>

class TexturePool;

// GL texture names of the four layers; written by LoadLayerTextures, bound
// by the drawing.
extern GLuint g_layerTextures[4];

// Loads the four pictures into the pool and takes their GL names. A picture
// that did not load leaves its layer at GL name 0, the untextured default.
void LoadLayerTextures(TexturePool* pool);
