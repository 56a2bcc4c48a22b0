// Glyph outlines as display lists: each glyph's contours filled by GLU's
// tessellator in the z = 0 plane, then the advance to the next glyph, as
// the caller's glCallLists on a string expects.
#include <GL/gl.h>
#include <GL/glu.h>

#include <deque>
#include <memory>
#include <vector>

#include "font_face_match.h"
#include "font_glyph_outline.h"
#include "font_objects.h"
#include "win_font.h"
#include "win_handles.h"

namespace {

// Unicode values of code page 1252's 0x80-0x9F; the other codes are Latin-1.
// Its five unassigned codes keep their own values, which no face draws.
const unsigned short kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

unsigned long UnicodeOf(DWORD code)
{
    return code >= 0x80 && code < 0xA0 ? kCp1252High[code - 0x80] : code;
}

// The tessellator's vertices must stay where they are until the polygon
// ends: the outline's points are copied into a deque, and so are the points
// it makes where contours cross.
struct Point3 {
    GLdouble xyz[3];
};

struct Tessellation {
    std::deque<Point3> points;
    bool failed = false;
};

void GLAPIENTRY Combine(const GLdouble coords[3], void* /*neighbours*/[4], const GLfloat /*weights*/[4],
                        void** out, void* data)
{
    Tessellation& t = *static_cast<Tessellation*>(data);
    t.points.push_back(Point3{{coords[0], coords[1], coords[2]}});
    *out = t.points.back().xyz;
}

void GLAPIENTRY Failed(GLenum /*error*/, void* data)
{
    static_cast<Tessellation*>(data)->failed = true;
}

void GLAPIENTRY Begin(GLenum mode)
{
    glBegin(mode);
}

void GLAPIENTRY Vertex(void* point)
{
    const GLdouble* xyz = static_cast<const GLdouble*>(point);
    glVertex3f(static_cast<GLfloat>(xyz[0]), static_cast<GLfloat>(xyz[1]), static_cast<GLfloat>(xyz[2]));
}

void GLAPIENTRY End()
{
    glEnd();
}

// Asking for edge flags makes the tessellator send separate triangles only:
// Mesa's feedback and selection modes fail on a list that mixes fans, strips
// and triangles. The flags themselves are not needed for filled glyphs.
void GLAPIENTRY EdgeFlag(GLboolean) {}

typedef void(GLAPIENTRY* TessCallback)();

GLUtesselator* NewTessellator()
{
    GLUtesselator* tess = gluNewTess();
    if (!tess)
        return nullptr;
    gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<TessCallback>(Begin));
    gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<TessCallback>(Vertex));
    gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<TessCallback>(End));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG, reinterpret_cast<TessCallback>(EdgeFlag));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<TessCallback>(Combine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<TessCallback>(Failed));
    // Triangles wound counter-clockwise seen from +z, whatever the face's
    // own contour direction.
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    return tess;
}

// Emits the filled glyph into the list being compiled; false when the
// tessellator gave up on it.
bool FillGlyph(GLUtesselator* tess, const GlyphOutline& glyph)
{
    if (glyph.contours.empty())
        return true;
    gluTessProperty(tess, GLU_TESS_WINDING_RULE,
                    glyph.evenOdd ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
    Tessellation t;
    gluTessBeginPolygon(tess, &t);
    for (const std::vector<FlatPoint>& contour : glyph.contours) {
        gluTessBeginContour(tess);
        for (const FlatPoint& p : contour) {
            t.points.push_back(Point3{{p.x, p.y, 0.0}});
            GLdouble* point = t.points.back().xyz;
            gluTessVertex(tess, point, point);
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    return !t.failed;
}

void StoreMetrics(const GlyphOutline& glyph, GLYPHMETRICSFLOAT& metrics)
{
    metrics.gmfBlackBoxX = static_cast<FLOAT>(glyph.boxWidth);
    metrics.gmfBlackBoxY = static_cast<FLOAT>(glyph.boxHeight);
    metrics.gmfptGlyphOrigin.x = static_cast<FLOAT>(glyph.originX);
    metrics.gmfptGlyphOrigin.y = static_cast<FLOAT>(glyph.originY);
    metrics.gmfCellIncX = static_cast<FLOAT>(glyph.advanceX);
    metrics.gmfCellIncY = static_cast<FLOAT>(glyph.advanceY);
}

}  // namespace

BOOL wglUseFontOutlinesA(HDC dc, DWORD first, DWORD count, DWORD listBase, FLOAT deviation,
                         FLOAT extrusion, int format, LPGLYPHMETRICSFLOAT metrics)
{
    if (!dc || format != WGL_FONT_POLYGONS || extrusion != 0.0f || !(deviation >= 0.0f) ||
        listBase == 0 || first > 256 || count > 256 - first || listBase + count < listBase)
        return FALSE;
    const GdiFont* font = FindGdiFont(dc->selected);
    if (!font)
        return FALSE;
    std::unique_ptr<OutlineFace> face;
    for (const FontFaceFile& file : MatchFontFaces(*font))
        if ((face = OutlineFace::Open(file.path, file.index)))
            break;
    if (!face)
        return FALSE;
    GLUtesselator* tess = NewTessellator();
    if (!tess)
        return FALSE;

    const double tolerance = deviation > 0.0f ? deviation : face->DesignUnit();
    BOOL result = TRUE;
    for (DWORD i = 0; i < count; i++) {
        GlyphOutline glyph;
        const bool loaded = face->Glyph(UnicodeOf(first + i), tolerance, glyph);
        if (!loaded)
            glyph = GlyphOutline();
        if (metrics)
            StoreMetrics(glyph, metrics[i]);

        glNewList(listBase + i, GL_COMPILE);
        glNormal3f(0.0f, 0.0f, 1.0f);
        const bool filled = FillGlyph(tess, glyph);
        glTranslatef(static_cast<GLfloat>(glyph.advanceX), static_cast<GLfloat>(glyph.advanceY), 0.0f);
        glEndList();
        if (!loaded || !filled)
            result = FALSE;
    }
    gluDeleteTess(tess);
    return result;
}
