#include "back_buffer_png.h"

#include <GL/gl.h>
#include <IL/il.h>

#include <vector>

bool WriteBackBufferPng(const char* file, int width, int height)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    // Alpha is whatever blending left in the frame; the picture on screen
    // is opaque.
    for (size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255;

    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool ok = ilTexImage(width, height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, pixels.data()) == IL_TRUE;
    if (ok) {
        // GL's rows run bottom up; the writer turns them for the file.
        ilSetInteger(IL_IMAGE_ORIGIN, IL_ORIGIN_LOWER_LEFT);
        ilEnable(IL_FILE_OVERWRITE);
        ok = ilSave(IL_PNG, file) == IL_TRUE;
    }
    ilDeleteImages(1, &image);
    return ok;
}
