#include "cube.h"

#include <GL/gl.h>

namespace {

struct Corner {
    GLfloat s, t;
    GLfloat x, y, z;
};

struct Face {
    GLfloat nx, ny, nz;
    Corner corners[4];
};

// Texture coordinates are sent along; texturing is off where the cube is drawn.
const Face kFaces[6] = {
    {0, 0, 1, {{0, 0, -1, -1, 1}, {1, 0, 1, -1, 1}, {1, 1, 1, 1, 1}, {0, 1, -1, 1, 1}}},
    {0, 0, -1, {{1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, 1, 1, -1}, {0, 0, 1, -1, -1}}},
    {0, 1, 0, {{0, 1, -1, 1, -1}, {0, 0, -1, 1, 1}, {1, 0, 1, 1, 1}, {1, 1, 1, 1, -1}}},
    {0, -1, 0, {{1, 1, -1, -1, -1}, {0, 1, 1, -1, -1}, {0, 0, 1, -1, 1}, {1, 0, -1, -1, 1}}},
    {1, 0, 0, {{1, 0, 1, -1, -1}, {1, 1, 1, 1, -1}, {0, 1, 1, 1, 1}, {0, 0, 1, -1, 1}}},
    {-1, 0, 0, {{0, 0, -1, -1, -1}, {1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, -1, 1, -1}}},
};

}  // namespace

void DrawCube()
{
    glBegin(GL_QUADS);
    for (const Face& face : kFaces) {
        glNormal3f(face.nx, face.ny, face.nz);
        for (const Corner& corner : face.corners) {
            glTexCoord2f(corner.s, corner.t);
            glVertex3f(corner.x, corner.y, corner.z);
        }
    }
    glEnd();
}
