// Outline fonts through the real fontconfig, FreeType, GLU and Mesa, with no
// display: the faces found, the glyph lists compiled and what they draw, read
// back through GL's feedback mode.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "font_face_match.h"
#include "font_objects.h"
#include "test_window.h"
#include "win_font.h"
#include "win_handles.h"

namespace {

struct Vertex {
    float x, y;
};
typedef std::vector<Vertex> Triangle;

// What one display list draws, in the units it was compiled in: an
// orthographic view that maps one em to 100 pixels, from (200, 200).
struct Drawing {
    std::vector<Triangle> triangles;
    size_t vertices = 0;
};

const float kScale = 100.0f;
const float kOrigin = 200.0f;

Drawing Draw(GLuint list)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(kOrigin, kOrigin, 0.0f);
    glScalef(kScale, kScale, 1.0f);

    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const GLint used = glRenderMode(GL_RENDER);
    glLoadIdentity();

    Drawing drawing;
    for (GLint at = 0; at < used;) {
        const GLenum token = static_cast<GLenum>(buffer[at++]);
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        const int count = static_cast<int>(buffer[at++]);
        Triangle polygon;
        for (int i = 0; i < count; i++, at += 2)
            polygon.push_back(Vertex{(buffer[at] - kOrigin) / kScale, (buffer[at + 1] - kOrigin) / kScale});
        drawing.vertices += polygon.size();
        drawing.triangles.push_back(polygon);
    }
    return drawing;
}

double Area(const Triangle& t)
{
    double area = 0;
    for (size_t i = 0; i < t.size(); i++) {
        const Vertex& a = t[i];
        const Vertex& b = t[(i + 1) % t.size()];
        area += double(a.x) * b.y - double(b.x) * a.y;
    }
    return area / 2;
}

bool Covers(const Drawing& drawing, float x, float y)
{
    for (const Triangle& t : drawing.triangles) {
        if (t.size() != 3)
            continue;
        auto side = [&](const Vertex& a, const Vertex& b) {
            return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
        };
        const float d0 = side(t[0], t[1]), d1 = side(t[1], t[2]), d2 = side(t[2], t[0]);
        if ((d0 >= 0 && d1 >= 0 && d2 >= 0) || (d0 <= 0 && d1 <= 0 && d2 <= 0))
            return true;
    }
    return false;
}

HFONT Font(const char* face, int weight = FW_BOLD)
{
    return CreateFontA(-12, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

class FontOutlinesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (window_.hdc)
            return;
        ASSERT_TRUE(OpenTestWindow(window_));
    }

    // A face's codes 0-254, as the picture echo builds them, into fresh lists.
    struct Built {
        BOOL result = FALSE;
        GLuint base = 0;
        GLYPHMETRICSFLOAT metrics[256];
    };

    static Built Build(const char* face, int weight = FW_BOLD, FLOAT deviation = 0.0f)
    {
        Built built;
        memset(built.metrics, 0x7F, sizeof built.metrics);
        built.base = glGenLists(256);
        SelectObject(window_.hdc, Font(face, weight));
        built.result = wglUseFontOutlinesA(window_.hdc, 0, 255, built.base, deviation, 0.0f,
                                           WGL_FONT_POLYGONS, built.metrics);
        return built;
    }

    static const Built& Impact()
    {
        static const Built built = Build("Impact");
        return built;
    }

    static TestWindow window_;
};

TestWindow FontOutlinesTest::window_;

}  // namespace

TEST_F(FontOutlinesTest, LettersAreFilledTrianglesInsideTheirBlackBoxes)
{
    const Built& font = Impact();
    ASSERT_TRUE(font.result);
    for (unsigned char c : {'A', 'H', 'O', 'g', 'x', '#', '8'}) {
        SCOPED_TRACE(testing::Message() << "glyph " << c);
        const GLYPHMETRICSFLOAT& m = font.metrics[c];
        const Drawing drawing = Draw(font.base + c);
        ASSERT_FALSE(drawing.triangles.empty());

        float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f;
        double area = 0;
        for (const Triangle& t : drawing.triangles) {
            ASSERT_EQ(t.size(), 3u);
            area += Area(t);
            for (const Vertex& v : t) {
                left = std::min(left, v.x);
                right = std::max(right, v.x);
                bottom = std::min(bottom, v.y);
                top = std::max(top, v.y);
            }
        }
        // The lines lie on the curves, so they reach the black box's edges.
        EXPECT_NEAR(left, m.gmfptGlyphOrigin.x, 0.005);
        EXPECT_NEAR(right, m.gmfptGlyphOrigin.x + m.gmfBlackBoxX, 0.005);
        EXPECT_NEAR(top, m.gmfptGlyphOrigin.y, 0.005);
        EXPECT_NEAR(bottom, m.gmfptGlyphOrigin.y - m.gmfBlackBoxY, 0.005);
        // Counter-clockwise seen from +z, covering part of the box only.
        EXPECT_GT(area, 0.1 * m.gmfBlackBoxX * m.gmfBlackBoxY);
        EXPECT_LT(area, 0.9 * m.gmfBlackBoxX * m.gmfBlackBoxY);
    }
}

TEST_F(FontOutlinesTest, EnclosedCountersStayOpen)
{
    const Built& font = Impact();
    ASSERT_TRUE(font.result);
    for (unsigned char c : {'O', 'o', '0', 'D'}) {
        SCOPED_TRACE(testing::Message() << "glyph " << c);
        const GLYPHMETRICSFLOAT& m = font.metrics[c];
        const float midX = m.gmfptGlyphOrigin.x + m.gmfBlackBoxX / 2;
        const float midY = m.gmfptGlyphOrigin.y - m.gmfBlackBoxY / 2;
        const Drawing drawing = Draw(font.base + c);
        EXPECT_FALSE(Covers(drawing, midX, midY)) << "the hole is filled";
        EXPECT_TRUE(Covers(drawing, m.gmfptGlyphOrigin.x + 0.02f, midY)) << "the stroke is missing";
    }
}

TEST_F(FontOutlinesTest, MetricsAreInEmUnitsAndOnlyTheBuiltEntriesAreWritten)
{
    const Built& font = Impact();
    ASSERT_TRUE(font.result);
    const GLYPHMETRICSFLOAT& h = font.metrics['H'];
    EXPECT_GT(h.gmfBlackBoxY, 0.55f);  // capitals stand about three quarters of an em
    EXPECT_LT(h.gmfBlackBoxY, 0.85f);
    EXPECT_NEAR(h.gmfptGlyphOrigin.y, h.gmfBlackBoxY, 0.01f);  // on the baseline
    EXPECT_GT(h.gmfCellIncX, h.gmfBlackBoxX);
    EXPECT_LT(font.metrics['.'].gmfCellIncX, font.metrics['W'].gmfCellIncX);
    EXPECT_LT(font.metrics['g'].gmfptGlyphOrigin.y - font.metrics['g'].gmfBlackBoxY, -0.1f);

    const GLYPHMETRICSFLOAT& blank = font.metrics[' '];
    EXPECT_EQ(blank.gmfBlackBoxX, 0.0f);
    EXPECT_EQ(blank.gmfBlackBoxY, 0.0f);
    EXPECT_GT(blank.gmfCellIncX, 0.1f);
    EXPECT_TRUE(Draw(font.base + ' ').triangles.empty());

    for (int c = 32; c <= 122; c++) {
        EXPECT_GT(font.metrics[c].gmfCellIncX, 0.0f) << c;
        EXPECT_EQ(font.metrics[c].gmfCellIncY, 0.0f) << c;
    }
    // Count 255: entry 255 keeps what the caller put there.
    GLYPHMETRICSFLOAT untouched;
    memset(&untouched, 0x7F, sizeof untouched);
    EXPECT_EQ(memcmp(&font.metrics[255], &untouched, sizeof untouched), 0);
}

TEST_F(FontOutlinesTest, EachListAdvancesTheModelviewByItsCellIncrement)
{
    const Built& font = Impact();
    ASSERT_TRUE(font.result);
    for (int c : std::initializer_list<int>{32, 'A', 'i', 'W', '~', 200}) {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glCallList(font.base + c);
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        glLoadIdentity();
        EXPECT_EQ(m[12], font.metrics[c].gmfCellIncX) << c;
        EXPECT_EQ(m[13], 0.0f) << c;
        EXPECT_EQ(m[14], 0.0f) << c;
        EXPECT_EQ(m[0], 1.0f) << c;
    }
}

TEST_F(FontOutlinesTest, GlyphsFaceTheViewerThroughBackFaceCulling)
{
    const Built& font = Impact();
    ASSERT_TRUE(font.result);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    const size_t culled = Draw(font.base + 'A').triangles.size();
    glDisable(GL_CULL_FACE);
    const size_t all = Draw(font.base + 'A').triangles.size();
    EXPECT_GT(all, 0u);
    EXPECT_EQ(culled, all);
}

TEST_F(FontOutlinesTest, AMissingFaceFallsBackToOneWithLetters)
{
    const Built font = Build("Kelda No Such Face");
    ASSERT_TRUE(font.result);
    const GLYPHMETRICSFLOAT& l = font.metrics['l'];
    EXPECT_LT(l.gmfBlackBoxX, l.gmfBlackBoxY / 3) << "an 'l' is a tall, narrow stroke";
    const GLYPHMETRICSFLOAT& o = font.metrics['o'];
    const Drawing drawing = Draw(font.base + 'o');
    EXPECT_FALSE(Covers(drawing, o.gmfptGlyphOrigin.x + o.gmfBlackBoxX / 2,
                        o.gmfptGlyphOrigin.y - o.gmfBlackBoxY / 2));
}

TEST_F(FontOutlinesTest, AMissingImpactIsSetInANarrowBoldSansThenInADejaVuBold)
{
    const GdiFont* impact = FindGdiFont(Font("Impact"));
    ASSERT_NE(impact, nullptr);
    const std::vector<FontFaceFile> faces = MatchFontFaces(*impact);
    auto file = [&](size_t i) { return faces[i].path.substr(faces[i].path.rfind('/') + 1); };
    ASSERT_FALSE(faces.empty());
    EXPECT_EQ(file(0), "LiberationSansNarrow-Bold.ttf");

    // What a machine without the narrow faces gets: a bold DejaVu Sans,
    // the condensed one where it is installed.
    size_t next = 0;
    while (next < faces.size() && file(next).rfind("LiberationSansNarrow-", 0) == 0)
        ++next;
    ASSERT_LT(next, faces.size());
    const std::string fallback = file(next);
    EXPECT_EQ(fallback.rfind("DejaVuSans", 0), 0u) << fallback;
    EXPECT_NE(fallback.find("-Bold."), std::string::npos) << fallback;

    // The narrow face's glyphs are what the lists hold.
    const Built& built = Impact();
    ASSERT_TRUE(built.result);
    const Built dejaVu = Build("DejaVu Sans");
    EXPECT_LT(built.metrics['n'].gmfCellIncX, 0.85f * dejaVu.metrics['n'].gmfCellIncX);
}

TEST_F(FontOutlinesTest, WeightChoosesTheBoldFace)
{
    const Built regular = Build("DejaVu Sans", FW_NORMAL);
    const Built bold = Build("DejaVu Sans", FW_BOLD);
    ASSERT_TRUE(regular.result);
    ASSERT_TRUE(bold.result);
    EXPECT_GT(bold.metrics['l'].gmfBlackBoxX, 1.2f * regular.metrics['l'].gmfBlackBoxX);
    EXPECT_GT(bold.metrics['m'].gmfCellIncX, regular.metrics['m'].gmfCellIncX);
}

TEST_F(FontOutlinesTest, DeviationTradesVerticesForCloseness)
{
    const Built fine = Impact();
    const Built coarse = Build("Impact", FW_BOLD, 0.05f);
    ASSERT_TRUE(coarse.result);
    const size_t fineVertices = Draw(fine.base + 'O').vertices;
    const size_t coarseVertices = Draw(coarse.base + 'O').vertices;
    EXPECT_GT(coarseVertices, 0u);
    EXPECT_LT(coarseVertices * 2, fineVertices);
}

struct BadCall {
    const char* label;
    bool selectFont;
    DWORD first, count;
    bool zeroBase;
    FLOAT deviation, extrusion;
    int format;
};

void PrintTo(const BadCall& call, std::ostream* out)
{
    *out << call.label;
}

class FontOutlinesRefusalTest : public FontOutlinesTest, public ::testing::WithParamInterface<BadCall> {};

TEST_P(FontOutlinesRefusalTest, ReturnsFalseAndCompilesNothing)
{
    const BadCall& call = GetParam();
    HDC dc = new HDC__;  // a device context of its own, as GetDC gives one
    if (call.selectFont)
        SelectObject(dc, Font("Impact"));
    const GLuint base = glGenLists(256);
    GLYPHMETRICSFLOAT metrics[256];
    memset(metrics, 0, sizeof metrics);
    EXPECT_FALSE(wglUseFontOutlinesA(dc, call.first, call.count, call.zeroBase ? 0 : base,
                                     call.deviation, call.extrusion, call.format, metrics));
    EXPECT_TRUE(Draw(base + 'A').triangles.empty());
    EXPECT_EQ(metrics['A'].gmfCellIncX, 0.0f);
    glDeleteLists(base, 256);
    delete dc;
}

INSTANTIATE_TEST_SUITE_P(
    BadCalls, FontOutlinesRefusalTest,
    ::testing::Values(BadCall{"NoFontSelected", false, 0, 255, false, 0, 0, WGL_FONT_POLYGONS},
                      BadCall{"ListBaseZero", true, 0, 255, true, 0, 0, WGL_FONT_POLYGONS},
                      BadCall{"PastCode255", true, 0, 257, false, 0, 0, WGL_FONT_POLYGONS},
                      BadCall{"FirstPast255", true, 300, 1, false, 0, 0, WGL_FONT_POLYGONS},
                      BadCall{"Lines", true, 0, 255, false, 0, 0, 0},
                      BadCall{"Extruded", true, 0, 255, false, 0, 0.1f, WGL_FONT_POLYGONS},
                      BadCall{"NegativeDeviation", true, 0, 255, false, -0.01f, 0, WGL_FONT_POLYGONS}),
    [](const ::testing::TestParamInfo<BadCall>& info) { return std::string(info.param.label); });

TEST_F(FontOutlinesTest, SelectObjectSwapsTheDeviceContextsSlot)
{
    HDC dc = new HDC__;
    HFONT first = Font("Impact");
    HFONT second = Font("DejaVu Sans");
    EXPECT_EQ(SelectObject(dc, first), nullptr);
    EXPECT_EQ(SelectObject(dc, second), first);
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    EXPECT_EQ(dc->selected, second);
    EXPECT_EQ(SelectObject(nullptr, first), nullptr);

    // Something that is not a font in the slot: no outlines.
    int notAFont = 0;
    SelectObject(dc, &notAFont);
    const GLuint base = glGenLists(1);
    EXPECT_FALSE(wglUseFontOutlinesA(dc, 'A', 1, base, 0, 0, WGL_FONT_POLYGONS, nullptr));
    glDeleteLists(base, 1);
    delete dc;
}
