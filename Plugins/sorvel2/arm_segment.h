// One link of a cube arm and, through itself, the rest of the arm.
#pragma once

// Each link shrinks the matrix its caller pushed by 0.9, then pushes, bends
// by angle about axes picked by the direction (x, y, z), steps along it and
// draws a cube; depth counts the links, so depth n draws n - 1 cubes.
void DrawArmSegment(float angle, int depth, float x, float y, float z);
