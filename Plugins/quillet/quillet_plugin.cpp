#include "quillet_plugin.h"

#include <GL/gl.h>

#include <cstdint>

#include "effect_math.h"
#include "effect_quad.h"
#include "orvan_gl.h"
#include "outline_text.h"
#include "scroll_texts.h"
#include "texture.h"
#include "texture_pool.h"

namespace {

GLuint g_quilletTexture = 0;
// Stream time, in tenths of a second, at which both lines stand at their start.
int32_t g_scrollOffset = 0;

const int kScrollTrigger = 4;

// Both lines start at x = 8, beyond the right edge, and move left 1/8 unit
// per tenth of a second, jumping back every 90 units (72 s).
float ScrollX(float t)
{
    return 8.0f - FmodF((t - static_cast<float>(g_scrollOffset)) / 8.0f, 90.0f);
}

}  // namespace

void Quillet_Plugin::Init()
{
    OrvanEffectInitPreamble(this, initialised, "pravik plugin initalziation called");
    glEnable(GL_TEXTURE_2D);

    char file[] = "data\\dax.jpg";  // the pool lower-cases its extension in place
    host->texturePool->LoadTexture(file, "quillet");
    // Only a failed load leaves no record; the echo then draws untextured.
    Texture* picture = host->texturePool->GetTextureByName("quillet");
    g_quilletTexture = picture ? picture->glTexture : 0;

    g_fontDC = host->glSystem->hdc;
    g_scrollOffset = 0;
    BuildOutlineFont();
}

// time: absolute stream time in hundredths of a second.
void Quillet_Plugin::Render(float time)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_CULL_FACE);

    glTranslatef(0.0f, 0.0f, -2.1f);
    glBindTexture(GL_TEXTURE_2D, g_quilletTexture);

    const float t = time / 10.0f;  // tenths of a second
    const float dx = SinF(t / 13.53f) * SinF(t / 10.0f) / 40.0f;

    // Ten copies, each under one more step of growth and sway, fading from
    // a quarter of the picture's brightness to a fortieth.
    const float passes = 10.0f;
    const float alphaStep = static_cast<float>(0.25 / passes);
    float alpha = 0.25f;
    for (float k = 0.0f; k < passes; k = k + 1.0f) {
        glColor4f(1.0f, 1.0f, 1.0f, alpha);
        DrawTexturedQuad(1.33f, 1.0f);
        glScalef(1.01f, 1.02f, 0.0f);
        glTranslatef(dx, 0.0f, 0.0f);
        alpha = alpha - alphaStep;
    }

    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    glTranslatef(ScrollX(t), 2.9f, -9.8f);
    PrintOutlineText(CreditsLine);
    glLoadIdentity();
    glTranslatef(ScrollX(t), -3.5f, -9.8f);
    PrintOutlineText(GreetingsLine);
}

// Trigger 4 with value v starts both lines at stream time v / 2 seconds.
int Quillet_Plugin::Trigger(float, int id, int value, int)
{
    if (id == kScrollTrigger)
        g_scrollOffset = static_cast<int32_t>(5u * static_cast<uint32_t>(value));
    return 0;
}
