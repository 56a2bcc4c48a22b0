// FreeType's glyph outlines, read unscaled and unhinted in design units,
// flattened there and scaled to the em square at the end.
#include "font_glyph_outline.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

// FreeType's library lives as long as the process, like the faces' users.
FT_Library Library()
{
    static std::once_flag once;
    static FT_Library library = nullptr;
    std::call_once(once, [] {
        if (FT_Init_FreeType(&library) != 0)
            library = nullptr;
    });
    return library;
}

const int kMaxSegments = 256;

// IBM font class 12 in the OS/2 table: symbols, dingbats and the like.
bool IsSymbolic(FT_Face face)
{
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    return os2 && os2->version != 0xFFFF && (os2->sFamilyClass >> 8) == 12;
}

struct Flattener {
    std::vector<std::vector<FlatPoint>>* contours;
    double tolerance;  // design units
    FlatPoint at;

    void Add(double x, double y)
    {
        std::vector<FlatPoint>& contour = contours->back();
        if (!contour.empty() && contour.back().x == x && contour.back().y == y)
            return;
        contour.push_back(FlatPoint{x, y});
        at = FlatPoint{x, y};
    }

    // Segments for a curve whose second derivative is at most 'bend': the
    // chord of a step h strays from the curve by at most h^2 / 8 * bend.
    int Segments(double bend) const
    {
        const double n = std::ceil(std::sqrt(bend / (8.0 * tolerance)));
        return std::max(1, std::min(kMaxSegments, static_cast<int>(n)));
    }
};

Flattener& Of(void* user)
{
    return *static_cast<Flattener*>(user);
}

int MoveTo(const FT_Vector* to, void* user)
{
    Flattener& f = Of(user);
    f.contours->emplace_back();
    f.Add(to->x, to->y);
    return 0;
}

int LineTo(const FT_Vector* to, void* user)
{
    Of(user).Add(to->x, to->y);
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    Flattener& f = Of(user);
    const FlatPoint p0 = f.at;
    const double bend =
        2.0 * std::hypot(p0.x - 2.0 * control->x + to->x, p0.y - 2.0 * control->y + to->y);
    const int n = f.Segments(bend);
    for (int i = 1; i <= n; i++) {
        const double t = double(i) / n, s = 1.0 - t;
        f.Add(s * s * p0.x + 2 * s * t * control->x + t * t * to->x,
              s * s * p0.y + 2 * s * t * control->y + t * t * to->y);
    }
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
{
    Flattener& f = Of(user);
    const FlatPoint p0 = f.at;
    const double bend =
        6.0 * std::max(std::hypot(p0.x - 2.0 * c1->x + c2->x, p0.y - 2.0 * c1->y + c2->y),
                       std::hypot(c1->x - 2.0 * c2->x + to->x, c1->y - 2.0 * c2->y + to->y));
    const int n = f.Segments(bend);
    for (int i = 1; i <= n; i++) {
        const double t = double(i) / n, s = 1.0 - t;
        const double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
        f.Add(a * p0.x + b * c1->x + c * c2->x + d * to->x,
              a * p0.y + b * c1->y + c * c2->y + d * to->y);
    }
    return 0;
}

}  // namespace

struct OutlineFace::Impl {
    FT_Face face = nullptr;
};

std::unique_ptr<OutlineFace> OutlineFace::Open(const std::string& path, int index)
{
    FT_Library library = Library();
    FT_Face face = nullptr;
    if (!library || FT_New_Face(library, path.c_str(), index, &face) != 0)
        return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0 || IsSymbolic(face)) {
        FT_Done_Face(face);
        return nullptr;
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);  // a face without one keeps its own
    Impl* impl = new Impl();
    impl->face = face;
    return std::unique_ptr<OutlineFace>(new OutlineFace(impl));
}

OutlineFace::OutlineFace(Impl* impl) : impl_(impl) {}

OutlineFace::~OutlineFace()
{
    FT_Done_Face(impl_->face);
    delete impl_;
}

double OutlineFace::DesignUnit() const
{
    return 1.0 / impl_->face->units_per_EM;
}

bool OutlineFace::Glyph(unsigned long unicode, double tolerance, GlyphOutline& out) const
{
    FT_Face face = impl_->face;
    const FT_UInt index = FT_Get_Char_Index(face, unicode);  // 0: the missing glyph
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return false;

    const double em = face->units_per_EM;
    FT_Outline& outline = face->glyph->outline;
    out = GlyphOutline();
    out.evenOdd = (outline.flags & FT_OUTLINE_EVEN_ODD_FILL) != 0;
    out.advanceX = face->glyph->metrics.horiAdvance / em;

    if (outline.n_points > 0) {
        FT_BBox box;
        FT_Outline_Get_BBox(&outline, &box);
        out.boxWidth = (box.xMax - box.xMin) / em;
        out.boxHeight = (box.yMax - box.yMin) / em;
        out.originX = box.xMin / em;
        out.originY = box.yMax / em;

        Flattener flattener{&out.contours, std::max(tolerance * em, 1e-3), FlatPoint{0, 0}};
        FT_Outline_Funcs funcs = {MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
        if (FT_Outline_Decompose(&outline, &funcs, &flattener) != 0)
            return false;
    }

    // Closed implicitly: no repeated first point, nothing shorter than a triangle.
    std::vector<std::vector<FlatPoint>> kept;
    for (std::vector<FlatPoint>& contour : out.contours) {
        if (contour.size() > 1 && contour.front().x == contour.back().x &&
            contour.front().y == contour.back().y)
            contour.pop_back();
        if (contour.size() < 3)
            continue;
        for (FlatPoint& p : contour) {
            p.x /= em;
            p.y /= em;
        }
        kept.push_back(std::move(contour));
    }
    out.contours = std::move(kept);
    return true;
}
