// Outline fonts as GL display lists: a GDI logical font from CreateFontA,
// selected into a device context with SelectObject, turned by
// wglUseFontOutlinesA into one display list per glyph.
//
// fontconfig picks the face (its best match for the face name, weight and
// slant that has outlines for the printable ASCII characters; a missing
// "Impact" is set in a narrow bold sans of like widths), FreeType reads
// its outlines and GLU's tessellator fills them; none of it needs a display.
// These calls form the static library platform_font, apart from the rest of
// the platform layer, so that a plugin library can carry them.
#pragma once

#include "win_types.h"

typedef float FLOAT;

// Weights
#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700

// Character sets: every set is read as Windows code page 1252.
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1

// Output, clip and quality settings: accepted, without effect on outlines.
#define OUT_DEFAULT_PRECIS 0
#define OUT_TT_PRECIS 4
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define ANTIALIASED_QUALITY 4

// Pitch and family
#define DEFAULT_PITCH 0
#define FF_DONTCARE 0

// A logical font: no face is looked up until the font is used. Never NULL;
// an unknown or empty face name falls back to fontconfig's choice for the
// other attributes, as GDI maps it to the nearest font.
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                  LPCSTR faceName);

// Puts object into the device context's one selection slot and returns what
// was there before (NULL at first). NULL, changing nothing, for a null device
// context or object.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);

struct POINTFLOAT {
    FLOAT x;
    FLOAT y;
};

// One glyph's metrics in em units (the em square is 1.0 high): the black
// box's size, its top-left corner relative to the glyph's origin, and the
// advance to the next glyph's origin.
struct GLYPHMETRICSFLOAT {
    FLOAT gmfBlackBoxX;
    FLOAT gmfBlackBoxY;
    POINTFLOAT gmfptGlyphOrigin;
    FLOAT gmfCellIncX;
    FLOAT gmfCellIncY;
};
typedef GLYPHMETRICSFLOAT* LPGLYPHMETRICSFLOAT;
static_assert(sizeof(GLYPHMETRICSFLOAT) == 24, "GLYPHMETRICSFLOAT keeps its Windows size");

// Filled polygons; outlines as lines are not offered.
#define WGL_FONT_POLYGONS 1

// Compiles display lists listBase .. listBase + count - 1 for the character
// codes first .. first + count - 1 of the font selected into dc, in the GL
// context that is current. Each list draws its glyph's filled outline in the
// z = 0 plane, facing +z, with the origin on the baseline at the glyph's left
// and the em square 1.0 high, then translates the modelview by the glyph's
// cell increment. metrics, when not NULL, receives count entries.
// deviation is the largest distance in em units between a curve and the
// lines that stand for it; 0 means one design unit of the face. extrusion
// must be 0 (flat glyphs). FALSE, compiling nothing, when dc holds no font
// from CreateFontA, no face with outlines is found, listBase is 0, the codes
// run past 255 (single-byte codes of code page 1252), format is not
// WGL_FONT_POLYGONS, deviation is negative or extrusion is not 0.
BOOL wglUseFontOutlinesA(HDC dc, DWORD first, DWORD count, DWORD listBase, FLOAT deviation,
                         FLOAT extrusion, int format, LPGLYPHMETRICSFLOAT metrics);
