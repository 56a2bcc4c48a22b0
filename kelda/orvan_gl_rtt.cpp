// Render-to-texture targets: pool textures into which the frame drawn so far
// is copied. A capture never redirects drawing; EndRtt copies the lower-left
// corner of the read buffer, the target's size, into the target's texture.
#include "orvan_gl.h"

#include <cstdio>
#include <cstdlib>

#include "orvan_core.h"
#include "texture.h"
#include "texture_pool.h"

int OrvanGL::CreateRttTarget(int width, int height)
{
    if (!texturePool) {
        Orvan_Core_Print("OrvanGL Render To Texture Error - no texture pool bound! Unable to continue\n");
        return -1;
    }

    char name[256];
    snprintf(name, sizeof name, "render to texture target %d", rttCounter);
    rttCounter++;

    int index = texturePool->CreateTexture(name, width, height, 32, true);
    Texture* record = texturePool->GetTexture(index);

    glGenTextures(1, &record->glTexture);
    glBindTexture(GL_TEXTURE_2D, record->glTexture);

    // The creation only sizes the texture; its texels stay undefined until the
    // first capture, so the scratch buffer's contents do not matter. Its rows
    // are padded to 8 bytes, GL's largest unpack alignment, so GL reads within
    // it whatever alignment stands: rows of exactly width x 3 bytes would be
    // read past at GL's default of 4 for widths 1 and 2.
    const size_t row = (static_cast<size_t>(width > 0 ? width : 0) * 3 + 7) / 8 * 8;
    const size_t bytes = row * static_cast<size_t>(height > 0 ? height : 0);
    void* pixels = malloc(bytes ? bytes : 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    free(pixels);

    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return index;
}

int OrvanGL::StartRtt(int poolIndex)
{
    if (rttActive) {
        Orvan_Core_Print("OrvanGL Render to Texture Error - rtt requested but already in process\n");
        return 1;
    }

    // An index that names no record starts nothing: there is no size or
    // texture to capture into.
    Texture* record = texturePool ? texturePool->GetTexture(poolIndex) : nullptr;
    if (!record) {
        Orvan_Core_Print("OrvanGL Render to Texture Error - no texture at pool index %d\n", poolIndex);
        return 3;
    }

    rttActive = true;
    rttTexture = record->glTexture;
    rttWidth = record->width;
    rttHeight = record->height;
    return 0;
}

int OrvanGL::EndRtt()
{
    if (!rttActive) {
        Orvan_Core_Print("OrvanGL Render To Texture Error - tried to end rtt but not in rtt mode\n");
        return 2;
    }

    rttActive = false;
    glBindTexture(GL_TEXTURE_2D, rttTexture);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 0, 0, rttWidth, rttHeight, 0);
    return 0;
}

GLuint OrvanGL::GetTextureId(int poolIndex)
{
    Texture* record = texturePool ? texturePool->GetTexture(poolIndex) : nullptr;
    if (!record) {
        Orvan_Core_Print("OrvanGL Render to Texture Error - no texture at pool index %d\n", poolIndex);
        return 0;  // GL's name for no texture
    }
    return record->glTexture;
}
