#include "voxel_cubes.h"

#include <GL/gl.h>

#include "effect_math.h"
#include "voxel_grid.h"

void DrawVoxelCubes()
{
    const int last = kVoxelGridSize - 2;
    glPushMatrix();
    for (int i = 1; i <= last; ++i) {
        for (int j = 1; j <= last; ++j) {
            for (int k = 1; k <= last; ++k) {
                glPushMatrix();
                float v = g_voxelGrid[i][j][k];
                // A NaN fails the comparison and is not drawn.
                if (v > 1.25e-5f) {
                    v = v / 2;
                    glTranslatef(static_cast<float>(i - 16), static_cast<float>(j - 16),
                                 static_cast<float>(k - 16));
                    // The small constant is added in double.
                    const float s = static_cast<float>(PowF(v, 0.2f) + 0.0125);
                    glScalef(s, s, s);
                    glColor4f(i / 32.0f, j / 128.0f, k / 32.0f, 0.125f);
                    DrawUnitCube();
                }
                glPopMatrix();
            }
        }
    }
    glPopMatrix();
}

void DrawUnitCube()
{
    glBegin(GL_QUADS);

    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex3f(-1.0f, -1.0f, 1.0f);
    glVertex3f(1.0f, -1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, 1.0f);

    glNormal3f(0.0f, 0.0f, -1.0f);
    glVertex3f(-1.0f, -1.0f, -1.0f);
    glVertex3f(-1.0f, 1.0f, -1.0f);
    glVertex3f(1.0f, 1.0f, -1.0f);
    glVertex3f(1.0f, -1.0f, -1.0f);

    glNormal3f(0.0f, 1.0f, 0.0f);
    glVertex3f(-1.0f, 1.0f, -1.0f);
    glVertex3f(-1.0f, 1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, -1.0f);

    glNormal3f(0.0f, -1.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, -1.0f);
    glVertex3f(1.0f, -1.0f, -1.0f);
    glVertex3f(1.0f, -1.0f, 1.0f);
    glVertex3f(-1.0f, -1.0f, 1.0f);

    glNormal3f(1.0f, 0.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, -1.0f);
    glVertex3f(1.0f, 1.0f, -1.0f);
    glVertex3f(1.0f, 1.0f, 1.0f);
    glVertex3f(1.0f, -1.0f, 1.0f);

    glNormal3f(-1.0f, 0.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, -1.0f);
    glVertex3f(-1.0f, -1.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, -1.0f);

    glEnd();
}
