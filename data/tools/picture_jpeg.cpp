#include "picture.h"

#include <IL/il.h>

#include <algorithm>
#include <cmath>

bool SaveJpeg(const Picture& picture, const std::string& path, int quality, std::string& error)
{
    std::vector<unsigned char> bytes(picture.pixels.size() * 3);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const Rgb& c = picture.pixels[i];
        bytes[i * 3 + 0] = static_cast<unsigned char>(std::lround(std::clamp(c.r, 0.0, 1.0) * 255.0));
        bytes[i * 3 + 1] = static_cast<unsigned char>(std::lround(std::clamp(c.g, 0.0, 1.0) * 255.0));
        bytes[i * 3 + 2] = static_cast<unsigned char>(std::lround(std::clamp(c.b, 0.0, 1.0) * 255.0));
    }

    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool ok = ilTexImage(ILuint(picture.width), ILuint(picture.height), 1, 3, IL_RGB, IL_UNSIGNED_BYTE,
                         bytes.data()) == IL_TRUE;
    // Our rows run top to bottom; tell DevIL so the file is upright.
    if (ok)
        ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    ilSetInteger(IL_JPG_QUALITY, quality);
    ilEnable(IL_FILE_OVERWRITE);
    ok = ok && ilSave(IL_JPG, path.c_str()) == IL_TRUE;
    if (!ok)
        error = "DevIL could not write " + path + " (error " + std::to_string(ilGetError()) + ")";
    ilDeleteImages(1, &image);
    return ok;
}
