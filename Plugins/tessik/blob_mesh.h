// A sphere mesh of latitude rows and longitude columns that is deformed by
// three sine waves of its own coordinates, clamped to the cube of half-size 1
// and drawn with one face normal per triangle.
#pragma once

#include <cstdint>

#include "vector3.h"

struct MeshVertex {
    Vector3 position;
};

struct MeshTriangle {
    int32_t indices[3];  // corner order fixes the winding
    Vector3 faceNormal;  // unit normal of the current frame
};

class BlobMesh {
public:
    // (divisions + 1)^2 vertices and 2 * divisions^2 triangles. The arrays
    // are allocated once here and kept for the life of the process.
    BlobMesh(float radius, int divisions);

    // Deforms the base sphere by frequency f, phase p and amplitude a (one
    // value per axis), recomputes the face normals and sends the triangles.
    void DeformAndDraw(float fx, float fy, float fz, float px, float py, float pz, float ax,
                       float ay, float az);

    // Face normals from the work positions.
    void ComputeNormals();

    int32_t vertexCount;
    MeshVertex* baseVertices;
    MeshVertex* workVertices;
    int32_t triangleCount;
    MeshTriangle* triangles;
};
