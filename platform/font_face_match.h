// The face a logical font maps to, found through fontconfig.
#pragma once

#include <string>
#include <vector>

#include "font_objects.h"

struct FontFaceFile {
    std::string path;
    int index = 0;  // face within the file
};

// fontconfig's matches for the font's face name, weight and slant, best
// first, among the scalable faces that claim every printable ASCII
// character: a name that fontconfig maps to a symbol font still finds
// letters further down. A face with known substitutes of like widths
// ("Impact") is followed by them, ahead of fontconfig's other choices.
// Empty when there is none.
std::vector<FontFaceFile> MatchFontFaces(const GdiFont& font);
