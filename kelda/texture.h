// One texture-pool record. Plugins read glTexture straight from a record, so
// the field order and widths are shared with them.
#pragma once

#include <GL/gl.h>
#include <cstdint>

class Texture {
public:
    Texture();

    int32_t bindCount;
    int32_t width;
    int32_t height;
    bool inUse;
    char* name;          // heap copy owned by the record
    bool renderTarget;
    GLuint glTexture;    // 0xFFFFFFFF until a GL name is generated
    uint8_t* bitmap;     // malloc'd pixels, kept after the upload
};
