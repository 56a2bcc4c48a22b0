#include "pravik_plugin.h"

#include <GL/gl.h>

#include "stripe_grid.h"

void Pravik_Plugin::Init()
{
    OrvanEffectInitPreamble(this, initialised, "pravik plugin initalziation called");
    glEnable(GL_TEXTURE_2D);
}

// time: absolute stream time in hundredths of a second. The picture is a
// function of it alone.
void Pravik_Plugin::Render(float time)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    const float t2 = time + time;

    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);

    glTranslatef(0.0f, 0.0f, -10.0f);

    // 50, 62.5 and -66.67 degrees per second; float divisors, since a
    // double 3.2 moves the angle by a bit on many frames.
    const float angles[3] = {t2 / 4.0f, t2 / 3.2f, -t2 / 3.0f};
    for (float angle : angles) {
        glPushMatrix();
        glRotatef(angle, 0.0f, 0.0f, 1.0f);
        DrawStripeGrid();
        glPopMatrix();
    }

    // Blend function stays (SRC_ALPHA, ONE) for the layers above.
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

ORVAN_EFFECT_IGNORES_TRIGGERS(Pravik_Plugin)
