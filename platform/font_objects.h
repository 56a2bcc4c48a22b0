// The logical fonts CreateFontA makes, as the other font calls read them.
#pragma once

#include <string>

#include "win_types.h"

// Every argument is kept, as a LOGFONT keeps them; outlines read only the
// face name, weight and italic flag.
struct GdiFont {
    int height;
    int width;
    int escapement;
    int orientation;
    int weight;  // FW_*: 0 and 400 are regular, 700 bold
    bool italic;
    DWORD underline;
    DWORD strikeOut;
    DWORD charSet;
    DWORD outPrecision;
    DWORD clipPrecision;
    DWORD quality;
    DWORD pitchAndFamily;
    std::string faceName;  // may be empty
};

// The font behind a handle from CreateFontA, or null for any other handle.
const GdiFont* FindGdiFont(HGDIOBJ object);
