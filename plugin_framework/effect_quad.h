// The textured quad several effects draw: centred in the current modelview
// frame at z = 0, from (-halfWidth, -halfHeight) to (halfWidth, halfHeight),
// counter-clockwise, the picture spread over it once.
#pragma once

#include <GL/gl.h>

inline void DrawTexturedQuad(GLfloat halfWidth, GLfloat halfHeight)
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-halfWidth, -halfHeight, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(halfWidth, -halfHeight, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(halfWidth, halfHeight, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-halfWidth, halfHeight, 0.0f);
    glEnd();
}
