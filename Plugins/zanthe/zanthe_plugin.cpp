#include "zanthe_plugin.h"

#include <GL/gl.h>

#include "layer_textures.h"
#include "plasma_pass.h"
#include "effect_quad.h"

void Zanthe_Plugin::Init()
{
    OrvanEffectInitPreamble(this, initialised, "plasma plugin initalziation called");
    glEnable(GL_TEXTURE_2D);
    // Every Init loads again; the pool answers repeats with the first load.
    LoadLayerTextures(host);
}

// time: absolute stream time in hundredths of a second.
void Zanthe_Plugin::Render(float time)
{
    glEnable(GL_TEXTURE_2D);
    const float t0 = time / 10.0f;  // tenths of a second

    // This layer owns the whole frame.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_CULL_FACE);

    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -1.25f);

    // The base quad's transform stays: the passes turn with it.
    glBindTexture(GL_TEXTURE_2D, g_layerTextures[0]);
    glColor4f(1.0f, 0.01f, 0.0f, 0.55f);
    glTranslatef(0.1f, 0.1f, 0.0f);
    glRotatef(t0 / 2.0f, 0.0f, 0.0f, 1.0f);
    DrawTexturedQuad(1.0f, 1.0f);

    float t = t0;
    for (int pass = 0; pass < 4; ++pass) {
        t = NextPassTime(t, pass);
        DrawPlasmaPass(pass, t);
    }

    // The blend function stays (SRC_ALPHA, ONE) for the layers above.
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
}

ORVAN_EFFECT_IGNORES_TRIGGERS(Zanthe_Plugin)
