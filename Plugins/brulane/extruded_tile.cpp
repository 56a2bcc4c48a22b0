#include "extruded_tile.h"

#include <GL/gl.h>

namespace {

// The centroid of four points, summed and divided in double.
Vector3 Centroid(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& p3)
{
    Vector3 m;
    m.Set(static_cast<float>((double(p0.x) + p1.x + p2.x + p3.x) / 4),
          static_cast<float>((double(p0.y) + p1.y + p2.y + p3.y) / 4),
          static_cast<float>((double(p0.z) + p1.z + p2.z + p3.z) / 4));
    return m;
}

// a x b, each component formed in double and stored as a float.
Vector3 Cross(const Vector3& a, const Vector3& b)
{
    Vector3 n;
    n.Set(static_cast<float>(double(a.y) * b.z - double(a.z) * b.y),
          static_cast<float>(double(a.z) * b.x - double(a.x) * b.z),
          static_cast<float>(double(a.x) * b.y - double(a.y) * b.x));
    return n;
}

void Vertex(const Vector3& v)
{
    glVertex3f(v.x, v.y, v.z);
}

}  // namespace

void DrawExtrudedTile(float scale, float height, const Vector3* a, const Vector3* b,
                      const Vector3* c, const Vector3* d)
{
    Vector3 p[4] = {*a, *b, *c, *d};
    const Vector3 m = Centroid(p[0], p[1], p[2], p[3]);
    for (Vector3& corner : p)
        corner.SubtractVector(m);

    Vector3 nrm = Cross(p[0], p[1]);
    nrm.Normalise();

    Vector3 lift;
    nrm.ScaledCopy(&lift, height);
    Vector3 q[4];
    for (int i = 0; i < 4; ++i) {
        p[i].ScaledCopy(&q[i], scale)->AddVector(m).AddVector(lift);
        p[i].AddVector(m);
    }

    glNormal3f(nrm.x, nrm.y, nrm.z);
    glColor4f(1.0f, 1.0f, 1.0f, 0.25f);
    for (const Vector3& corner : q)
        Vertex(corner);

    // Each wall joins an edge of the tile to the matching top edge.
    struct Wall {
        float grey;
        const Vector3* corners[4];
    };
    const Wall walls[4] = {
        {0.25f, {&p[0], &p[1], &q[1], &q[0]}},
        {0.5f, {&q[1], &p[1], &p[2], &q[2]}},
        {0.75f, {&q[3], &q[2], &p[2], &p[3]}},
        {1.0f, {&p[3], &p[0], &q[0], &q[3]}},
    };
    for (const Wall& wall : walls) {
        if (scale > 0.0f) {
            QuadNormal(*wall.corners[0], *wall.corners[1], *wall.corners[2], *wall.corners[3]);
            glColor4f(wall.grey, wall.grey, wall.grey, 0.25f);
            for (const Vector3* corner : wall.corners)
                Vertex(*corner);
        } else {
            // Without a positive scale the walls send no normal of their own,
            // keeping the top's, and run the other way round.
            glColor4f(wall.grey, wall.grey, wall.grey, 0.25f);
            for (int i = 3; i >= 0; --i)
                Vertex(*wall.corners[i]);
        }
    }
}

void QuadNormal(Vector3 p0, Vector3 p1, Vector3 p2, Vector3 p3)
{
    const Vector3 m = Centroid(p0, p1, p2, p3);
    p0.SubtractVector(m);
    p1.SubtractVector(m);
    p2.SubtractVector(m);
    p3.SubtractVector(m);
    Vector3 n = Cross(p0, p1);
    n.Normalise();
    glNormal3f(n.x, n.y, n.z);
}
