// One tile of the tiled spheres: its top face shrunk toward the centroid
// and lifted along the tile normal, joined to the tile's own edges by four
// grey walls. Issues only normals, colours and vertices: the caller holds
// the glBegin(GL_QUADS).
#pragma once

#include "vector3.h"

// a, b, c, d go in order around the tile; they are read, never changed.
void DrawExtrudedTile(float scale, float height, const Vector3* a, const Vector3* b,
                      const Vector3* c, const Vector3* d);

// Sends the normal of a quad: the cross product of its first two corners
// taken about the centroid of all four, normalised. Works on its copies.
void QuadNormal(Vector3 p0, Vector3 p1, Vector3 p2, Vector3 p3);
