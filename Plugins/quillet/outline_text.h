// The effect's outline font: 256 display lists, one per character code, on
// the window's device context, and the wobbling text drawn with them.
#pragma once

#include <GL/gl.h>

#include "win_font.h"
#include "win_types.h"

extern GLuint g_fontListBase;
extern GLYPHMETRICSFLOAT g_glyphMetrics[256];
extern HDC g_fontDC;  // the window's device context; the font is selected into it

// Reserves the lists and builds codes 0-254 from a bold "Impact"; the last
// list stays empty. The result of wglUseFontOutlinesA.
BOOL BuildOutlineFont();

// Draws the formatted text at the current modelview position, each glyph
// scaled and nudged by a pattern that depends on its position and code only,
// and leaves the matrix advanced past the text. Text longer than 255
// characters is cut there. A null format draws nothing.
void PrintOutlineText(const char* format, ...);
