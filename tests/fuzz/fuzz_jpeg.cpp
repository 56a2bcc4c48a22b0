// JPEG files through the JPEG importer and DevIL: any bytes, a failed decode
// or a picture of another layout must fail the import, and an accepted
// picture holds exactly width x height x 3 bytes.
#include <GL/gl.h>
#include <IL/il.h>

#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "importers.h"
#include "texture.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    EnterFuzzFolder();
    // The GL system's constructor does this in the player.
    ilInit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!WriteInput("input.jpg", data, size))
        abort();
    char file[] = "input.jpg";
    Texture record;
    int format = ImportJpeg(file, &record);
    if (format == GL_RGB) {
        if (!record.bitmap || record.width <= 0 || record.height <= 0)
            abort();
        volatile uint8_t sum = 0;
        const size_t bytes = size_t(record.width) * size_t(record.height) * 3;
        for (size_t i = 0; i < bytes; i += 61)
            sum = uint8_t(sum + record.bitmap[i]);
        sum = uint8_t(sum + record.bitmap[bytes - 1]);
    } else if (format != -1 || record.bitmap) {
        abort();
    }
    free(record.bitmap);
    // The player keeps every decoded image in DevIL; here each input's goes.
    ILuint image = ilGetInteger(IL_CUR_IMAGE);
    if (image)
        ilDeleteImages(1, &image);
    return 0;
}
