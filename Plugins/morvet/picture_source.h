// Which picture the sheet shows for a trigger's selector.
#pragma once

#include <GL/gl.h>

class Orvan_Plugin_Host;

// 0-3 and 9: portraits 0-3 and 4; 4-8: the host's render targets 0-4, whose
// pool indexes and GL names are asked of the host's GL system on every call;
// any other value: portrait 0.
GLuint PictureSource(int selector, Orvan_Plugin_Host* host);
