// The logical fonts CreateFontA makes, as the other font calls read them.
#pragma once

#include <string>

#include "win_types.h"

struct GdiFont {
    int height;
    int width;
    int weight;  // FW_*: 0 and 400 are regular, 700 bold
    bool italic;
    DWORD charSet;
    std::string faceName;  // may be empty
};

// The font behind a handle from CreateFontA, or null for any other handle.
const GdiFont* FindGdiFont(HGDIOBJ object);
