#include "layer_textures.h"

#include "orvan_plugin_host.h"
#include "texture.h"
#include "texture_pool.h"

GLuint g_layerTextures[4] = {0, 0, 0, 0};

void LoadLayerTextures(Orvan_Plugin_Host* host)
{
    // The pool lower-cases a file name's extension in place: writable copies.
    char files[4][16] = {"data\\plas_1.jpg", "data\\plas_2.jpg", "data\\plas_3.jpg",
                         "data\\plas_4.jpg"};
    static const char* const names[4] = {"plasma1", "plasma2", "plasma3", "plasma4"};

    for (int layer = 0; layer < 4; ++layer) {
        // The pool pointer is read again for every call. The player always
        // has one; without it nothing is loaded rather than calling through
        // a null pointer.
        if (host == nullptr || host->texturePool == nullptr)
            return;
        host->texturePool->LoadTexture(files[layer], names[layer]);
        const Texture* record = host->texturePool->GetTextureByName(names[layer]);
        // No record when the picture failed to load; binding 0 then draws
        // that layer's quads in their colour alone instead of crashing.
        g_layerTextures[layer] = record != nullptr ? record->glTexture : 0;
    }
}
