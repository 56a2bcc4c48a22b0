#include "zoom_echoes.h"

#include <GL/gl.h>

#include "effect_math.h"
#include "effect_quad.h"

void DrawZoomEchoes(float seconds)
{
    const float count = 10.0f;
    // The sideways drift of each copy against the one before: within
    // +-1/40, swinging over about 85 and 63 seconds.
    const float dx = SinF(seconds / 13.53f) * SinF(seconds / 10.0f) / 40.0f;
    const float step = static_cast<float>(0.25 / count);
    float alpha = 0.25f;

    glTranslatef(0.0f, 0.0f, -2.1f);
    for (float k = 0.0f; k < count; k = k + 1.0f) {
        glColor4f(1.0f, 1.0f, 1.0f, alpha);
        // Fills the 45-degree view at depth 2.1 with the window's 4:3.
        DrawTexturedQuad(1.33f, 1.0f);
        // The quads lie in z = 0, so the flattening z factor shows nowhere.
        glScalef(1.01f, 1.02f, 0.0f);
        glTranslatef(dx, 0.0f, 0.0f);
        alpha = alpha - step;
    }
}
