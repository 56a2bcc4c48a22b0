// Bitmap files through the bitmap importer: the platform's DIB sections
// (LoadImageA, GetObjectA) on any bytes, then the importer's copy of the
// rows. A refused file must leave the record without pixels; an accepted one
// holds exactly width x height blue-green-red pixels.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "importers.h"
#include "texture.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    EnterFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!WriteInput("input.bmp", data, size))
        abort();
    char file[] = "input.bmp";
    Texture record;
    int format = ImportBitmap(file, &record);
    if (format == GL_BGR_EXT) {
        if (!record.bitmap || record.width <= 0 || record.height <= 0)
            abort();
        // Every byte the upload will read must be there.
        volatile uint8_t sum = 0;
        const size_t bytes = size_t(record.width) * size_t(record.height) * 3;
        for (size_t i = 0; i < bytes; i += 61)
            sum = uint8_t(sum + record.bitmap[i]);
        sum = uint8_t(sum + record.bitmap[bytes - 1]);
    } else if (format != -1 || record.bitmap) {
        abort();
    }
    free(record.bitmap);
    return 0;
}
