#include "picture_source.h"

#include "orvan_gl.h"
#include "orvan_plugin_host.h"
#include "portrait_textures.h"

GLuint PictureSource(int selector, Orvan_Plugin_Host* host)
{
    switch (selector) {
    case 0:
    case 1:
    case 2:
    case 3:
        return g_portraitTextures[selector];
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
        return host->glSystem->GetTextureId(host->glSystem->rttTargets[selector - 4]);
    case 9:
        return g_portraitTextures[4];
    default:
        return g_portraitTextures[0];
    }
}
