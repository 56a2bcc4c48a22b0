// Logical fonts and the device context's selection slot. A logical font only
// records what was asked for; the face is looked up when outlines are made.
#include <mutex>
#include <set>

#include "font_objects.h"
#include "win_font.h"
#include "win_handles.h"

namespace {

std::mutex g_lock;

// Fonts live until the process ends, and so does the registry that holds
// them: it is never destroyed, so exit finds every font still referenced.
std::set<const GdiFont*>& Fonts()
{
    static std::set<const GdiFont*>* fonts = new std::set<const GdiFont*>();
    return *fonts;
}

}  // namespace

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR faceName)
{
    GdiFont* font = new GdiFont();
    font->height = height;
    font->width = width;
    font->escapement = escapement;
    font->orientation = orientation;
    font->weight = weight;
    font->italic = italic != 0;
    font->underline = underline;
    font->strikeOut = strikeOut;
    font->charSet = charSet;
    font->outPrecision = outPrecision;
    font->clipPrecision = clipPrecision;
    font->quality = quality;
    font->pitchAndFamily = pitchAndFamily;
    if (faceName)
        font->faceName = faceName;

    std::lock_guard<std::mutex> hold(g_lock);
    Fonts().insert(font);
    return font;
}

const GdiFont* FindGdiFont(HGDIOBJ object)
{
    std::lock_guard<std::mutex> hold(g_lock);
    auto found = Fonts().find(static_cast<const GdiFont*>(object));
    return found == Fonts().end() ? nullptr : *found;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    if (!dc || !object)
        return nullptr;
    HGDIOBJ previous = dc->selected;
    dc->selected = object;
    return previous;
}
