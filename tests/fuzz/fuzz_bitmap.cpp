// Bitmap files through the bitmap importer: the platform's DIB sections
// (LoadImageA, GetObjectA) on any bytes, then the importer's copy of the
// rows. A refused file must leave the record without pixels; an accepted one
// holds exactly width x height blue-green-red pixels.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>

#include "fuzz_support.h"
#include "importers.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    EnterFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ImportAndCheck("input.bmp", ImportBitmap, GL_BGR_EXT, data, size);
    return 0;
}
