#include "blob_mesh.h"

#include <GL/gl.h>

#include "effect_math.h"

namespace {

const float kPi = 3.1415927f;

float ClampUnit(float value)
{
    if (value > 1.0f)
        return 1.0f;
    if (value < -1.0f)
        return -1.0f;
    return value;
}

// One axis's share of the radial factor: (1 + sin) / 2 lies in [0, 1].
float Wave(float coordinate, float frequency, float phase, float amplitude)
{
    const float argument = coordinate * frequency + phase;
    return (1.0f + SinF(argument)) * 0.5f * amplitude;
}

}  // namespace

BlobMesh::BlobMesh(float radius, int divisions)
{
    const int n = divisions + 1;
    vertexCount = n * n;
    baseVertices = new MeshVertex[vertexCount];
    workVertices = new MeshVertex[vertexCount];
    triangleCount = 2 * divisions * divisions;
    triangles = new MeshTriangle[triangleCount];

    // Row 0 is the +y pole, the last row the -y pole. With an even count the
    // columns run from 0 to 2 pi inclusive, so the last column repeats the
    // first as a vertex of its own.
    const int half = (divisions + 1) / 2;
    const float lonStep = kPi / static_cast<float>(half);
    const float latStep = kPi / static_cast<float>(divisions);
    for (int j = 0; j <= divisions; ++j) {
        for (int k = 0; k <= divisions; ++k) {
            const float lon = static_cast<float>(k) * lonStep;
            const float lat = static_cast<float>(j) * latStep;
            baseVertices[j * n + k].position.Set(SinF(lon) * SinF(lat) * radius,
                                                 radius * CosF(lat),
                                                 CosF(lon) * SinF(lat) * radius);
        }
    }

    // Two triangles per cell, counter-clockwise seen from outside.
    MeshTriangle* triangle = triangles;
    for (int r = 0; r < divisions; ++r) {
        for (int c = 0; c < divisions; ++c) {
            triangle->indices[0] = r * n + c;
            triangle->indices[1] = (r + 1) * n + c;
            triangle->indices[2] = r * n + c + 1;
            ++triangle;
            triangle->indices[0] = r * n + c + 1;
            triangle->indices[1] = (r + 1) * n + c;
            triangle->indices[2] = (r + 1) * n + c + 1;
            ++triangle;
        }
    }
}

void BlobMesh::DeformAndDraw(float fx, float fy, float fz, float px, float py, float pz,
                             float ax, float ay, float az)
{
    for (int32_t i = 0; i < vertexCount; ++i) {
        const Vector3& p = baseVertices[i].position;
        float s = 1.0f;
        s = s + Wave(p.x, fx, px, ax);
        s = s + Wave(p.y, fy, py, ay);
        s = s + Wave(p.z, fz, pz, az);
        Vector3 w;
        p.ScaledCopy(w, s);
        w.Set(ClampUnit(w.x), ClampUnit(w.y), ClampUnit(w.z));
        workVertices[i].position = w;
    }

    ComputeNormals();

    // Triangles that enclose no area (at the +y pole, or folded flat by the
    // clamp) carry a non-finite normal; they produce no fragments.
    glBegin(GL_TRIANGLES);
    for (int32_t t = 0; t < triangleCount; ++t) {
        const MeshTriangle& triangle = triangles[t];
        glNormal3fv(&triangle.faceNormal.x);
        for (int corner = 0; corner < 3; ++corner)
            glVertex3fv(&workVertices[triangle.indices[corner]].position.x);
    }
    glEnd();
}

void BlobMesh::ComputeNormals()
{
    for (int32_t t = 0; t < triangleCount; ++t) {
        MeshTriangle& triangle = triangles[t];
        const Vector3& a = workVertices[triangle.indices[0]].position;
        const Vector3& b = workVertices[triangle.indices[1]].position;
        const Vector3& c = workVertices[triangle.indices[2]].position;
        // (a - b) x (a - c), the same vector as (b - a) x (c - a).
        const float nx = (a.y - b.y) * (a.z - c.z) - (a.z - b.z) * (a.y - c.y);
        const float ny = (a.z - b.z) * (a.x - c.x) - (a.x - b.x) * (a.z - c.z);
        const float nz = (a.x - b.x) * (a.y - c.y) - (a.y - b.y) * (a.x - c.x);
        triangle.faceNormal.Set(nx, ny, nz).Normalise();
    }
}
