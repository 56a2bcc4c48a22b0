// Reads of the GL state that the tests check, one value at a time.
#pragma once

#include <GL/gl.h>

// The single integer value of a state variable.
GLint GlInteger(GLenum name);

// The texture bound to GL_TEXTURE_2D.
GLuint BoundTexture();

// An integer of a texture's level 0, leaving the binding as it was.
GLint TextureLevelParameter(GLuint texture, GLenum name);
