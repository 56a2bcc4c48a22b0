// JPEG files through the JPEG importer and DevIL: any bytes, a failed decode
// or a picture of another layout must fail the import, and an accepted
// picture holds exactly width x height x 3 bytes.
#include <GL/gl.h>
#include <IL/il.h>

#include <cstdint>

#include "fuzz_support.h"
#include "importers.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    EnterFuzzFolder();
    // The GL system's constructor does this in the player.
    ilInit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ImportAndCheck("input.jpg", ImportJpeg, GL_RGB, data, size);
    // The player keeps every decoded image in DevIL; here each input's goes.
    ILuint image = ilGetInteger(IL_CUR_IMAGE);
    if (image)
        ilDeleteImages(1, &image);
    return 0;
}
