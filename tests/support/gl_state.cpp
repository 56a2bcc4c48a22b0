#include "gl_state.h"

GLint GlInteger(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLuint BoundTexture()
{
    return static_cast<GLuint>(GlInteger(GL_TEXTURE_BINDING_2D));
}

GLint TextureLevelParameter(GLuint texture, GLenum name)
{
    const GLint previous = GlInteger(GL_TEXTURE_BINDING_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return value;
}
