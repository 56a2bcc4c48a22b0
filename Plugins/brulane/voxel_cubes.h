// Drawing of the voxel box: one translucent cube per live interior cell.
#pragma once

// Every interior cell above 1.25e-5 becomes a cube at (i-16, j-16, k-16)
// whose size grows with the value and whose colour follows the position.
// Reads the grid only. Each cell, drawn or not, is handled inside its own
// matrix push and pop.
void DrawVoxelCubes();

// A cube of half-size 1 about the origin: six faces with their normals in
// one quad batch; no colour, no texture coordinates.
void DrawUnitCube();
