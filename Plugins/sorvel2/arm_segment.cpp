#include "arm_segment.h"

#include <GL/gl.h>

#include "cube.h"

// An arm nests one push per link, more than GL guarantees. Where the stack
// is shallower the pushes past its depth are refused, and as many pops at
// the end of the arm: every link draws before it recurses and nothing is
// drawn after a pop, so the cubes and the matrix after the arm are the same.
void DrawArmSegment(float angle, int depth, float x, float y, float z)
{
    if (depth <= 1)  // the decremented count would be 0 or less
        return;
    depth = depth - 1;

    // Lands in the caller's matrix: the shrink compounds down the arm.
    glScalef(0.9f, 0.9f, 0.9f);
    glPushMatrix();

    // The first non-zero component picks the axes (-0.0 counts as zero, a
    // NaN as non-zero); GL normalises them.
    if (x != 0.0f) {
        glRotatef(angle, 0.0f, 0.0f, 1.0f);
        glRotatef(angle, 0.0f, 1.0f, 1.0f);
    } else if (y != 0.0f) {
        glRotatef(angle, 1.0f, 0.0f, 0.0f);
        glRotatef(angle, 1.0f, 0.0f, 1.0f);
    } else if (z != 0.0f) {
        glRotatef(angle, 0.0f, 1.0f, 0.0f);
        glRotatef(angle, 0.0f, 1.0f, 1.0f);
    }

    glTranslatef(x, y, z);
    glColor3f(1.0f, 1.0f, 1.0f);
    glLineWidth(2.0f);
    DrawCube();
    DrawArmSegment(angle, depth, x, y, z);
    glPopMatrix();
}
