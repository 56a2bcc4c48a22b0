#include "plasma_pass.h"

#include <GL/gl.h>

#include "effect_math.h"
#include "effect_quad.h"
#include "layer_textures.h"

namespace {

struct LayerQuad {
    int layer;
    GLfloat colour[4];
    const GLfloat* translation;  // none when null
    const GLfloat* scale;        // none when null
    GLfloat angle;               // degrees about the view axis
};

void DrawLayerQuad(const LayerQuad& quad)
{
    glPushMatrix();
    glBindTexture(GL_TEXTURE_2D, g_layerTextures[quad.layer]);
    glColor4f(quad.colour[0], quad.colour[1], quad.colour[2], quad.colour[3]);
    if (quad.translation)
        glTranslatef(quad.translation[0], quad.translation[1], quad.translation[2]);
    if (quad.scale)
        glScalef(quad.scale[0], quad.scale[1], quad.scale[2]);
    glRotatef(quad.angle, 0.0f, 0.0f, 1.0f);
    DrawTexturedQuad(1.0f, 1.0f);
    glPopMatrix();
}

}  // namespace

float NextPassTime(float t, int pass)
{
    t = static_cast<float>(t * 1.25);
    if (pass == 1)
        t = -t;
    if (pass == 3)
        t = static_cast<float>(-t * 1.25);
    return t;
}

void DrawPlasmaPass(int pass, float t)
{
    const float a = t / 1.434f;
    const float b = -t / 2.0f + 10.0f;
    const float c = t / 1.353f + 20.0f;
    const float d = -t / 1.788f - 30.0f;

    // The pulse of A and C; still in pass 0, where the index zeroes it.
    const float tp = t * static_cast<float>(pass);
    const GLfloat scaleA[3] = {1.1f * SinF(tp / 30.0f) + 3.0f, 1.2f * SinF(tp / 40.0f) + 3.0f,
                               1.2f * SinF(tp / 20.0f) + 3.0f};
    const float s = 2.0f * SinF(tp / 50.0f) + 3.0f;
    const GLfloat scaleC[3] = {s, s, s};

    static const GLfloat shiftA[3] = {-0.05f, 0.05f, 0.0f};
    static const GLfloat shiftB[3] = {-0.05f, 0.0f, 0.0f};

    const LayerQuad quads[4] = {
        {0, {0.0f, 1.0f, 0.0f, 0.25f}, shiftA, scaleA, a},
        {1, {0.0f, 1.0f, 0.0f, 0.2125f}, shiftB, nullptr, b},
        {2, {0.0f, 0.0f, 1.0f, 0.425f}, nullptr, scaleC, c},
        {3, {1.0f, 0.0f, 0.0f, 0.38f}, nullptr, nullptr, d},
    };
    for (const LayerQuad& quad : quads)
        DrawLayerQuad(quad);
}
