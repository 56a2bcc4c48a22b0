#include "portrait_textures.h"

#include <cstring>

#include "orvan_plugin_host.h"
#include "texture.h"
#include "texture_pool.h"

GLuint g_portraitTextures[kPortraitCount];

namespace {

struct Portrait {
    const char* file;
    const char* name;
};

const Portrait kPortraits[kPortraitCount] = {
    {"data//kimbel.jpg", "kimbel"},
    {"data//ravoth.jpg", "ravoth"},
    {"data//tessik.jpg", "tessik"},
    {"data//bemsel.jpg", "bemsel"},
    {"data//pelgrin.jpg", "pelgrin"},
};

}  // namespace

void LoadPortraitTextures(Orvan_Plugin_Host* host)
{
    // The pool lower-cases the extension in the text it is given, so each
    // load gets a writable copy of its file name.
    for (const Portrait& portrait : kPortraits) {
        char file[32];
        strcpy(file, portrait.file);
        host->texturePool->LoadTexture(file, portrait.name);
    }

    // A picture whose load failed has no record; it shows GL's default
    // texture rather than a read through a null record.
    for (int i = 0; i < kPortraitCount; i++) {
        Texture* record = host->texturePool->GetTextureByName(kPortraits[i].name);
        g_portraitTextures[i] = record ? record->glTexture : 0;
    }
}
