#include "picture_probe_plugin.h"

#include <cstdio>
#include <cstring>

#include "orvan_plugin_host.h"
#include "texture.h"
#include "texture_pool.h"

void PictureProbePlugin::Init()
{
    Orvan_Plugin_Base::Init();
    FILE* list = fopen("pictures.txt", "r");
    if (!list) {
        host->DebugPrint("picture probe: no pictures.txt");
        return;
    }
    char line[600];
    int number = 0;
    while (fgets(line, sizeof line, list)) {
        char file[512];
        int width = 0, height = 0;
        if (sscanf(line, "%511s %d %d", file, &width, &height) < 1)
            continue;
        char name[32];
        snprintf(name, sizeof name, "probe%d", number++);
        TexturePool* pool = host->texturePool;
        const int result = width > 0 ? pool->LoadTextureEx(file, name, width, height, 24, 0)
                                     : pool->LoadTexture(file, name);
        const Texture* texture = pool->GetTextureByName(name);
        if (texture)
            host->DebugPrint("picture %s: %d, %dx%d", name, result, texture->width, texture->height);
        else
            host->DebugPrint("picture %s: %d, none", name, result);
    }
    fclose(list);
}

int PictureProbePlugin::GetName(char* out)
{
    strcpy(out, "Picture Probe");
    return 0;
}
