#include "dunmore2_plugin.h"

#include <GL/gl.h>

#include "blur_target.h"
#include "zoom_echoes.h"

void Dunmore2_Plugin::Init()
{
    OrvanEffectInitPreamble(this, initialised, "blur plugin initalziation called");
    CreateBlurTarget(host);
}

// time: absolute stream time in hundredths of a second. A filter over what
// the lower layers drew in this frame; it clears nothing.
void Dunmore2_Plugin::Render(float time)
{
    // Without a target there is nothing to copy into or draw from.
    if (g_blurTarget == -1)
        return;

    glEnable(GL_TEXTURE_2D);
    float t = time / 10.0f;
    CaptureFrame(host);

    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, g_blurTexture);

    t = t / 10.0f;
    DrawZoomEchoes(t);

    // The blend function stays (SRC_ALPHA, ONE) for the layers above.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
}

ORVAN_EFFECT_IGNORES_TRIGGERS(Dunmore2_Plugin)
