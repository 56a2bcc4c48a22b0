#include "outline_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "effect_math.h"

GLuint g_fontListBase = 0;
GLYPHMETRICSFLOAT g_glyphMetrics[256];
HDC g_fontDC = nullptr;

BOOL BuildOutlineFont()
{
    g_fontListBase = glGenLists(256);
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "Impact");
    // The font stays selected for the rest of the run; what it replaces is
    // not needed again.
    SelectObject(g_fontDC, font);
    // Codes 0-254: the 256th list is reserved but left empty.
    return wglUseFontOutlinesA(g_fontDC, 0, 255, g_fontListBase, 0.0f, 0.0f, WGL_FONT_POLYGONS,
                               g_glyphMetrics);
}

void PrintOutlineText(const char* format, ...)
{
    if (!format)
        return;
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);

    glListBase(g_fontListBase);
    for (size_t i = 0; i < strlen(text); i++) {
        const unsigned char code[1] = {static_cast<unsigned char>(text[i])};
        const float fi = static_cast<float>(i);
        const float fc = static_cast<float>(code[0]);
        const float adv = g_glyphMetrics[code[0]].gmfCellIncX;

        // Single-precision sine, cosine and remainder; what lies between
        // them is formed in double and rounded where it is passed or kept.
        const float sinI = SinF(fi);
        const float scale = static_cast<float>(
            static_cast<double>(FmodF(static_cast<float>((static_cast<double>(sinI) + 1.0) * fc), 0.25f)) + 1.0);
        const float jit = FmodF(
            static_cast<float>(static_cast<double>(sinI) * static_cast<double>(CosF(fc)) * adv), 0.25f);

        glPushMatrix();
        glScalef(scale, scale, 0.0f);
        glTranslatef(static_cast<float>(jit / 8.0), static_cast<float>(jit / 5.0), 0.0f);
        glPushAttrib(GL_LIST_BIT);
        glCallLists(1, GL_UNSIGNED_BYTE, code);
        glPopAttrib();
        glPopMatrix();
        // The advance is the unscaled cell increment and a small gap.
        glTranslatef(static_cast<float>(adv + 0.05), 0.0f, 0.0f);
    }
}
