// The face a logical font maps to, found through fontconfig.
#pragma once

#include <string>

#include "font_objects.h"

struct FontFaceFile {
    std::string path;
    int index = 0;  // face within the file
};

// fontconfig's best match for the font's face name, weight and slant among
// the scalable faces that have every printable ASCII character, so a name
// that fontconfig maps to a symbol font still yields letters. False when
// there is no such face.
bool MatchFontFace(const GdiFont& font, FontFaceFile& face);
