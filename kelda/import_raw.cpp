// Headerless RAW pictures: rows of red-green-blue bytes, first row first, of
// the size the caller gave the pool.
#include <GL/gl.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "host_path.h"
#include "importers.h"
#include "orvan_core.h"
#include "texture.h"

int ImportRaw(char* file, Texture* record)
{
    Orvan_Core_Print("Orvan RAW Importer 1.0alpha // loading file \"%s\" into object %lld\n", file,
                     static_cast<long long>(reinterpret_cast<intptr_t>(record)));

    FILE* in = fopen(PosixPath(file).c_str(), "rb");
    if (!in) {
        Orvan_Core_Print("RAW IMPORT ERROR - File error!\n");
        return -1;
    }

    // Even two int sizes near 2^31 give a product below 2^64.
    size_t width = record->width > 0 ? static_cast<size_t>(record->width) : 0;
    size_t height = record->height > 0 ? static_cast<size_t>(record->height) : 0;
    size_t bytes = width * height * 3;

    record->renderTarget = false;
    // Cleared, so a file shorter than the picture leaves black pixels behind
    // rather than whatever the heap held.
    record->bitmap = static_cast<uint8_t*>(calloc(bytes ? bytes : 1, 1));
    if (!record->bitmap) {
        Orvan_Core_Print("texture->bitmap == 0\n");
        fclose(in);
        return -1;
    }
    // A file shorter than the picture is not an error.
    if (bytes) {
        size_t got = fread(record->bitmap, 1, bytes, in);
        (void)got;
    }

    fclose(in);
    return GL_RGB;
}
