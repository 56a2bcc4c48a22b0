#include "band_figure.h"

#include <GL/gl.h>

#include "effect_math.h"

namespace {

// Degrees per radian as the figure takes it: 57.2, not 180/pi.
const float kDegreesPerRadian = 57.2f;

float Angle(double degrees)
{
    return static_cast<float>(degrees / double(kDegreesPerRadian));
}

// Height of the ring at parameter x, from -1 at 0 to 1 at 360.
float Height(int x)
{
    return static_cast<float>((x - 180) / 180.0);
}

// Radii at parameter x; every sine argument lies in (0, pi), so no root
// sees a negative value.
float WhiteRadius(int x)
{
    return SqrtF(SinF(Angle(x / 2.0)));
}

float RedRadius(int x)
{
    return SqrtF(static_cast<float>(1.1 * SinF(Angle(x / 2.0))));
}

void RingVertex(float angle, float radius, float height)
{
    glVertex3f(static_cast<float>(double(SinF(angle)) * radius), height,
               static_cast<float>(double(CosF(angle)) * radius));
}

}  // namespace

void DrawBandFigure()
{
    glBegin(GL_QUADS);
    int n = 0;
    for (int a = 20; a < 360; a += 10) {
        for (int b = 0; b < 360; b += 10) {
            const float phi0 = Angle(b);
            const float phi1 = Angle(b - 10);
            const float lowRadius = WhiteRadius(a - 10);
            const float highRadius = WhiteRadius(a);
            glColor3f(1.0f, 1.0f, 1.0f);
            RingVertex(phi1, lowRadius, Height(a - 10));
            RingVertex(phi0, lowRadius, Height(a - 10));
            RingVertex(phi0, highRadius, Height(a));
            RingVertex(phi1, highRadius, Height(a));

            // 36 steps a ring: the gaps fall at the same angles on every ring.
            if (n % 3 != 0) {
                const float psi2 = Angle(b + 2);
                const float psi3 = Angle(b - 8);
                const float redLow = RedRadius(a - 8);
                const float redHigh = RedRadius(a + 2);
                glColor3f(1.0f, 0.0f, 0.0f);
                RingVertex(psi3, redLow, Height(a - 6));
                RingVertex(psi2, redLow, Height(a - 6));
                RingVertex(psi2, redHigh, Height(a + 4));
                RingVertex(psi3, redHigh, Height(a + 4));
            }
            ++n;
        }
    }
    glEnd();
}
