// JPEG pictures through DevIL, flipped so the bottom row comes first.
#include <GL/gl.h>
#include <IL/il.h>
#include <IL/ilu.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "host_file.h"
#include "host_path.h"
#include "importers.h"
#include "jpeg_coded_data.h"
#include "jpeg_segments.h"
#include "orvan_core.h"
#include "texture.h"

namespace {

// Adobe's inverted inks, as Photoshop stores them: each byte is 255 minus
// the ink, so red is (1 - cyan)(1 - black), that is C' x K' / 255.
void AdobeCmykToRgb(const uint8_t* cmyk, size_t pixels, uint8_t* rgb)
{
    for (size_t i = 0; i < pixels; i++, cmyk += 4, rgb += 3) {
        const unsigned black = cmyk[3];
        for (int c = 0; c < 3; c++)
            rgb[c] = static_cast<uint8_t>((cmyk[c] * black + 127) / 255);
    }
}

// Loads the file into the bound DevIL image. DevIL refuses a file that ends
// without its end-of-image marker, as some cameras and encoders write them,
// even where libjpeg reads the whole picture. Such a file goes to DevIL from
// memory with the marker added, but only when its scans cover the whole
// picture and their coded data is whole: a file cut inside its data would
// otherwise show with its missing part in grey, or made up from zeros where
// it is arithmetic-coded. An arithmetic-coded file therefore needs its own
// marker, as nothing else tells its whole data from cut.
bool LoadIntoDevil(const std::string& path, std::vector<uint8_t>& contents)
{
    if (!JpegEndsInFinalScan(contents.data(), contents.size()))
        return ilLoadImage(path.c_str());
    try {
        contents.insert(contents.end(), {0xFF, 0xD9});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return contents.size() <= UINT32_MAX && JpegCodedDataWhole(contents.data(), contents.size()) &&
           ilLoadL(IL_JPG, contents.data(), static_cast<ILuint>(contents.size()));
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
    bool read = false;
    try {
        read = ReadWholeFile(path, SIZE_MAX, contents);
    } catch (const std::bad_alloc&) {
        read = false;
    }
    if (!read || !JpegSegmentsFit(contents.data(), contents.size()) || !LoadIntoDevil(path, contents)) {
        Orvan_Core_Print("JPEG IMPORT ERROR - unable to load \"%s\"!\n", file);
        ilDeleteImages(1, &image);
        return -1;
    }

    // libjpeg hands a four-component picture over as its CMYK inks, which
    // DevIL labels RGBA. Only Adobe's marker says how the inks are stored;
    // without it the colours cannot be known, and the picture is refused
    // rather than shown wrong.
    const bool cmyk = ilGetInteger(IL_IMAGE_FORMAT) == IL_RGBA;
    if (cmyk && !JpegHasAdobeMarker(contents.data(), contents.size())) {
        Orvan_Core_Print("JPEG IMPORT ERROR - unable to load \"%s\"!\n", file);
        ilDeleteImages(1, &image);
        return -1;
    }

    // Grey and palette pictures become three bytes per pixel first.
    if (!cmyk && (ilGetInteger(IL_IMAGE_FORMAT) != IL_RGB || ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE) &&
        !ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
        Orvan_Core_Print("JPEG IMPORT ERROR - cannot convert \"%s\" to RGB!\n", file);
        ilDeleteImages(1, &image);
        return -1;
    }

    iluFlipImage();
    const ILubyte* data = ilGetData();
    ILint width = ilGetInteger(IL_IMAGE_WIDTH);
    ILint height = ilGetInteger(IL_IMAGE_HEIGHT);
    const int channels = cmyk ? 4 : 3;
    size_t pixels = static_cast<size_t>(width > 0 ? width : 0) * static_cast<size_t>(height > 0 ? height : 0);
    if (!data || pixels == 0 || ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL) != channels ||
        ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE ||
        static_cast<size_t>(ilGetInteger(IL_IMAGE_SIZE_OF_DATA)) < pixels * channels) {
        Orvan_Core_Print("JPEG IMPORT ERROR - no RGB pixels in \"%s\"!\n", file);
        ilDeleteImages(1, &image);
        return -1;
    }

    record->width = width;
    record->height = height;
    record->renderTarget = false;
    record->bitmap = static_cast<uint8_t*>(malloc(pixels * 3));
    if (!record->bitmap) {
        Orvan_Core_Print("texture->bitmap == 0\n");
        ilDeleteImages(1, &image);
        return -1;
    }
    if (cmyk)
        AdobeCmykToRgb(data, pixels, record->bitmap);
    else
        memcpy(record->bitmap, data, pixels * 3);
    // The decoded image stays in DevIL, bound, for the rest of the run.
    return GL_RGB;
}
