#include "tiled_sphere.h"

#include <GL/gl.h>

#include "extruded_tile.h"
#include "effect_math.h"

float g_tilePhaseA = 0.0f;
float g_tilePhaseB = 0.0f;

namespace {

// Degrees to radians with pi taken as 3.14159: slightly short of pi/180,
// so the pole corners do not quite meet.
const float kDegrees = 0.017453277f;

// The point at latitude lat and longitude lon, in degrees.
Vector3 SpherePoint(int lat, int lon)
{
    const float latAngle = static_cast<float>(lat * double(kDegrees));
    const float lonAngle = static_cast<float>(lon * double(kDegrees));
    const float cosLat = CosF(latAngle);
    Vector3 p;
    p.Set(static_cast<float>(double(cosLat) * CosF(lonAngle)),
          static_cast<float>(double(cosLat) * SinF(lonAngle)), SinF(latAngle));
    return p;
}

// Draws the tile between latitudes lat and lat + step and longitudes lon and
// lon + step, corners in the same order for both spheres.
void Tile(float scale, float height, int lat, int lon, int step)
{
    const Vector3 a = SpherePoint(lat, lon + step);
    const Vector3 b = SpherePoint(lat + step, lon + step);
    const Vector3 c = SpherePoint(lat + step, lon);
    const Vector3 d = SpherePoint(lat, lon);
    DrawExtrudedTile(scale, height, &a, &b, &c, &d);
}

}  // namespace

void DrawTiledSphere()
{
    const int step = 10;
    glBegin(GL_QUADS);
    int n = 0;
    float pa = g_tilePhaseA;
    float pb = g_tilePhaseB;
    for (int lat = -90; lat <= 90 - step; lat += step) {
        for (int lon = 0; lon <= 360 - step; lon += step) {
            const float h = static_cast<float>(double(SinF(pa)) * CosF(pb) / 2);
            // Odd tiles rise, even ones sink.
            Tile(0.5f, n % 2 != 0 ? h : -h, lat, lon, step);
            // The second constant is 6.2829854, not 2 pi: the two phases drift.
            pa = static_cast<float>(pa + (6.2831854 / step) / 6);
            pb = static_cast<float>(pb + (6.2829854 / step) / 3);
            ++n;
        }
        g_tilePhaseA = static_cast<float>(g_tilePhaseA + 0.007);
        pa = g_tilePhaseA;
        g_tilePhaseB = static_cast<float>(g_tilePhaseB + 0.021);
        pb = g_tilePhaseB;
        // 37 per row: the sign pattern shifts by one from row to row.
        ++n;
    }
    g_tilePhaseA += 0.0001f;
    g_tilePhaseB += 0.0003f;
    glEnd();
}

void DrawFlatTiledSphere()
{
    const int step = 15;
    glBegin(GL_QUADS);
    for (int lat = -90; lat <= 90 - step; lat += step)
        for (int lon = 0; lon <= 360 - step; lon += step)
            Tile(0.55f, 0.0f, lat, lon, step);
    glEnd();
}
