#include "texture_pool.h"

#include <cstdlib>
#include <cstring>

#include "importers.h"
#include "orvan_core.h"
#include "texture.h"

namespace {

const int kGrowth = 20;

}  // namespace

TexturePool::TexturePool()
{
    textures.resize(kGrowth);
    for (int i = 0; i < kGrowth; i++)
        textures[i] = new Texture();

    RegisterImporter(ImportRaw, "RAW Importer", "raw", 0);
    RegisterImporter(ImportBitmap, "Bitmap Importer", "bmp", 0);
    RegisterImporter(ImportJpeg, "JPEG Importer", "jpg", 0);
}

// Records, importer records and GL textures live until the process ends:
// plugins keep pointers to records. Only the containers go.
TexturePool::~TexturePool()
{
    importers.clear();
    textures.clear();
}

Texture* TexturePool::GetTexture(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= textures.size())
        return nullptr;
    return textures[index];
}

// The four index operations below touch nothing for an index that names no
// record.

GLuint TexturePool::BindTexture(int index)
{
    Texture* record = GetTexture(index);
    if (!record)
        return 0;
    record->bindCount++;
    return record->glTexture;
}

int TexturePool::UnbindTexture(int index)
{
    Texture* record = GetTexture(index);
    if (!record)
        return -1;
    record->bindCount--;
    return 0;
}

int TexturePool::LoadTexture(char* file, const char* name)
{
    return this->LoadTextureEx(file, name, 0, 0, 0, 0);
}

int TexturePool::LoadTextureEx(char* file, const char* name, int width, int height,
                               int bitsPerPixel, int /*reserved*/)
{
    int index = this->FindTexture(name);
    if (index != -1) {
        Orvan_Core_Print("duplicate texture load attempt!\n");
        return index;
    }

    index = this->CreateTexture(name, width, height, bitsPerPixel, false);
    Texture* record = GetTexture(index);

    int format = this->ImportTexture(file, record);
    if (format == -1) {
        Orvan_Core_Print("Import Failed - returned -1\n");
        this->FreeTexture(index);
        return -1;
    }

    glGenTextures(1, &record->glTexture);
    glBindTexture(GL_TEXTURE_2D, record->glTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

    // The importers' rows are exactly width x 3 bytes long, and GL reads rows
    // at its default unpack alignment of 4, which nothing changes. Where a row
    // is not a multiple of 4 bytes (a width such as 5) GL would read past the
    // buffer, so only there the upload reads at alignment 1 and puts the
    // caller's alignment back.
    const bool unaligned = static_cast<long long>(record->width) * 3 % 4 != 0;
    GLint alignment = 4;
    if (unaligned) {
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    glTexImage2D(GL_TEXTURE_2D, 0, 3, record->width, record->height, 0,
                 static_cast<GLenum>(format), GL_UNSIGNED_BYTE, record->bitmap);
    if (unaligned)
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return 0;
}

int TexturePool::CreateTexture(const char* name, int width, int height, int /*bitsPerPixel*/,
                               bool renderTarget)
{
    size_t count = textures.size();
    size_t index = 0;
    while (index < count && textures[index]->inUse)
        index++;

    if (index == count) {
        Orvan_Core_Print("no free texture, resizing array...\n");
        textures.resize(count + kGrowth);
        for (size_t i = count; i < count + kGrowth; i++)
            textures[i] = new Texture();
    }

    Texture* record = textures[index];
    record->bindCount = 0;
    record->inUse = true;
    record->height = height;
    record->width = width;
    record->name = static_cast<char*>(malloc(strlen(name) + 1));
    strcpy(record->name, name);
    record->renderTarget = renderTarget;
    return static_cast<int>(index);
}

int TexturePool::ImportTexture(char* file, Texture* record)
{
    if (!record) {
        Orvan_Core_Print("import failure - null texture object");
        return -1;
    }

    ImportFunction function = FindImporter(file);
    if (!function) {
        Orvan_Core_Print("import failure - no valid importer detected\n");
        return -1;
    }

    int result = function(file, record);
    if (result == 0) {
        Orvan_Core_Print("import failure - importer returned a null\n");
        return -1;
    }
    return result;
}

Texture* TexturePool::GetTextureByName(const char* name)
{
    return GetTexture(this->FindTexture(name));
}

int TexturePool::FindTexture(const char* name)
{
    if (textures.empty())
        return -1;
    for (size_t i = 0; i < textures.size(); i++) {
        const char* own = textures[i]->name;
        if (own && strcmp(own, name) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int TexturePool::FreeTexture(int index)
{
    Texture* record = GetTexture(index);
    if (!record)
        return -1;
    record->inUse = false;
    if (record->name) {
        free(record->name);
        record->name = nullptr;
    }
    if (record->bitmap) {
        free(record->bitmap);
        record->bitmap = nullptr;
    }
    return 0;
}

int TexturePool::UnloadTexture(int index)
{
    Texture* record = GetTexture(index);
    if (!record)
        return -1;
    if (record->bindCount != 0) {
        Orvan_Core_Print("Error Unloading Texture - Texture Still Bound!\n");
        return -1;
    }
    record->inUse = false;
    this->FreeTexture(index);
    return 0;
}
