#include "sorvel2_plugin.h"

#include <GL/gl.h>

#include <cstdint>

#include "arm_segment.h"
#include "effect_math.h"

namespace {

// Degrees; recomputed at the start of every Render.
float g_spinAngle = 0.0f;
// Hundredths of a second added to the render time; only trigger 3 writes it.
float g_triggerOffset = 0.0f;
// Degrees per link; set by every Render before use.
float g_bendAngle;
// Links per arm, handed on truncated.
float g_armDepth = 100.0f;

struct Direction {
    float x, y, z;
};

const Direction kArms[6] = {
    {2.0f, 0.0f, 0.0f},  {-2.0f, 0.0f, 0.0f}, {0.0f, -2.0f, 0.0f},
    {0.0f, 2.0f, 0.0f},  {0.0f, 0.0f, -2.0f}, {0.0f, 0.0f, 2.0f},
};

}  // namespace

void Sorvel2_Plugin::Init()
{
    OrvanEffectInitPreamble(this, initialised, "sorvels 2 plugin initalziation called");
}

// The offset is the 32-bit product value * 10; it wraps for values beyond
// about +-214 million rather than overflowing.
int Sorvel2_Plugin::Trigger(float, int id, int value, int)
{
    if (id == 3) {
        const uint32_t product = static_cast<uint32_t>(value) * 10u;
        g_triggerOffset = static_cast<float>(static_cast<int32_t>(product));
    }
    return 0;
}

// time: absolute stream time in hundredths of a second. Light 1 is switched
// on with whatever parameters it was given elsewhere.
void Sorvel2_Plugin::Render(float time)
{
    g_spinAngle = (time + g_triggerOffset) / 10.0f;  // 10 degrees per second

    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);

    glTranslatef(0.0f, 0.0f, -25.0f);
    glRotatef(g_spinAngle, 1.0f, 1.0f, 1.0f);

    // Degree values taken as radians: a slow swing within +-20 degrees.
    g_bendAngle = (4.0f * SinF(g_spinAngle / 200.0f)) * (5.0f * SinF(g_spinAngle / 150.0f));

    for (const Direction& arm : kArms) {
        glPushMatrix();
        DrawArmSegment(g_bendAngle, static_cast<int>(g_armDepth), arm.x, arm.y, arm.z);
        glPopMatrix();
    }

    // After the arms: a lower layer's line mode still shapes them.
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT1);
}
