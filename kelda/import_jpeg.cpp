// JPEG pictures through DevIL, flipped so the bottom row comes first.
#include <GL/gl.h>
#include <IL/il.h>
#include <IL/ilu.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host_path.h"
#include "importers.h"
#include "jpeg_segments.h"
#include "orvan_core.h"
#include "texture.h"

namespace {

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& contents)
{
    FILE* in = fopen(path.c_str(), "rb");
    if (!in)
        return false;
    uint8_t block[4096];
    size_t got;
    while ((got = fread(block, 1, sizeof block, in)) > 0)
        contents.insert(contents.end(), block, block + got);
    const bool ok = !ferror(in);
    fclose(in);
    return ok;
}

}  // namespace

int ImportJpeg(char* file, Texture* record)
{
    Orvan_Core_Print("Orvan/DevIL JPEG Importer 1.0alpha \n");

    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);

    // A failed decode leaves the image at its declared size with pixels
    // DevIL never wrote, so nothing of it may be used. A file whose segments
    // run past its end would make DevIL's reader spin forever, so it is
    // refused before DevIL sees it.
    std::string path = PosixPath(file);
    std::vector<uint8_t> contents;
    if (!ReadWholeFile(path, contents) || !JpegSegmentsFit(contents.data(), contents.size()) ||
        !ilLoadImage(const_cast<char*>(path.c_str()))) {
        Orvan_Core_Print("JPEG IMPORT ERROR - unable to load \"%s\"!\n", file);
        ilDeleteImages(1, &image);
        return -1;
    }

    // Grey, palette and alpha pictures become three bytes per pixel first.
    if ((ilGetInteger(IL_IMAGE_FORMAT) != IL_RGB || ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE) &&
        !ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
        Orvan_Core_Print("JPEG IMPORT ERROR - cannot convert \"%s\" to RGB!\n", file);
        ilDeleteImages(1, &image);
        return -1;
    }

    iluFlipImage();
    const ILubyte* data = ilGetData();
    ILint width = ilGetInteger(IL_IMAGE_WIDTH);
    ILint height = ilGetInteger(IL_IMAGE_HEIGHT);
    size_t bytes = static_cast<size_t>(width > 0 ? width : 0) * static_cast<size_t>(height > 0 ? height : 0) * 3;
    if (!data || bytes == 0 || ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL) != 3 ||
        static_cast<size_t>(ilGetInteger(IL_IMAGE_SIZE_OF_DATA)) < bytes) {
        Orvan_Core_Print("JPEG IMPORT ERROR - no RGB pixels in \"%s\"!\n", file);
        ilDeleteImages(1, &image);
        return -1;
    }

    record->width = width;
    record->height = height;
    record->renderTarget = false;
    record->bitmap = static_cast<uint8_t*>(malloc(bytes));
    memcpy(record->bitmap, data, bytes);
    // The decoded image stays in DevIL, bound, for the rest of the run.
    return GL_RGB;
}
