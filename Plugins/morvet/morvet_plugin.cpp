#include "morvet_plugin.h"

#include <GL/gl.h>

#include "picture_source.h"
#include "portrait_textures.h"
#include "wave_sheet.h"

namespace {

// Set by trigger 1 with any value; read at every frame.
int g_pictureSelector;
// The picture of the current frame.
GLuint g_boundTexture;

const int kPictureTrigger = 1;

}  // namespace

void Morvet_Plugin::Init()
{
    OrvanEffectInitPreamble(this, initialised, "kimbel plugin initalziation called");
    glEnable(GL_TEXTURE_2D);
    g_pictureSelector = 0;
    LoadPortraitTextures(host);
}

// time: absolute stream time in hundredths of a second.
void Morvet_Plugin::Render(float time)
{
    glEnable(GL_TEXTURE_2D);
    g_boundTexture = PictureSource(g_pictureSelector, host);
    glBindTexture(GL_TEXTURE_2D, g_boundTexture);

    // The colour below stays; the opaque sheet overwrites what it covers.
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);

    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -36.5f);
    DrawWaveSheet(time / 10.0f);
}

int Morvet_Plugin::Trigger(float, int id, int value, int)
{
    if (id == kPictureTrigger)
        g_pictureSelector = value;
    return 0;
}
