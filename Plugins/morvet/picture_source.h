// Which picture the sheet shows for a trigger's selector.
#pragma once

#include <GL/gl.h>

class OrvanGL;

// 0-3 and 9: portraits 0-3 and 4; 4-8: the host's render targets 0-4, whose
// GL names are asked of the GL system on every call; any other value:
// portrait 0.
GLuint PictureSource(int selector, OrvanGL* glSystem);
