// The picture echo and its outline-font scroll through the real library: its
// loads and the font it asks for, the quads and glyph calls it sends to GL
// (seen by the GL tracer), where the two text lines stand and that they pass
// the screen whole, the state it leaves, and the frame.
#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "demo_data_directory.h"
#include "effect_fixture.h"
#include "effect_math.h"
#include "font_objects.h"
#include "gl_state.h"
#include "gl_trace.h"
#include "lent_texture_pool.h"
#include "noting_texture_pool.h"
#include "orvan_gl.h"
#include "orvan_plugin.h"
#include "orvan_plugin_host.h"
#include "stdout_capture.h"
#include "texture.h"
#include "texture_pool.h"
#include "win_console.h"
#include "win_font.h"
#include "win_gl.h"
#include "win_handles.h"

namespace {

struct Quad {
    std::vector<double> colour;  // the last glColor4f before glBegin
    std::vector<float> modelview;
    double mode = 0;
    std::vector<std::vector<double>> texCoords, vertices;
};

// One glyph: its push/pop pair and the advance after it.
struct Glyph {
    std::vector<std::string> calls;  // in order, from the push to the advance
    std::vector<double> scale, nudge;
    std::vector<double> callLists;  // n, type, code
    std::vector<double> attrib;     // glPushAttrib's mask
    int popsAttrib = 0;
    std::vector<double> advance;
};

struct TextLine {
    std::vector<double> start;  // the glTranslatef that places the line
    std::vector<double> listBases;
    std::vector<Glyph> glyphs;
};

struct Frame {
    std::vector<Quad> quads;
    std::vector<std::vector<double>> echoSteps;  // glScalef and glTranslatef after each quad
    TextLine lines[2];
    int loadIdentities = 0;
};

// Splits a frame at its glLoadIdentity calls: the echo after the first, the
// top line after the second, the bottom line after the third.
Frame Parse(const std::vector<GlTraceCall>& calls)
{
    Frame frame;
    std::vector<double> colour;
    Quad* quad = nullptr;
    Glyph* glyph = nullptr;
    bool inGlyph = false;
    for (const GlTraceCall& call : calls) {
        const std::string& name = call.name;
        if (name == "glLoadIdentity") {
            ++frame.loadIdentities;
            glyph = nullptr;
            continue;
        }
        if (frame.loadIdentities <= 1) {
            if (name == "glColor4f") {
                colour = call.args;
            } else if (name == "glBegin") {
                frame.quads.emplace_back();
                quad = &frame.quads.back();
                quad->mode = call.args[0];
                quad->colour = colour;
                quad->modelview = call.modelview;
            } else if (name == "glEnd") {
                quad = nullptr;
            } else if (quad && name == "glTexCoord2f") {
                quad->texCoords.push_back(call.args);
            } else if (quad && name == "glVertex3f") {
                quad->vertices.push_back(call.args);
            } else if (!frame.quads.empty() && (name == "glScalef" || name == "glTranslatef")) {
                frame.echoSteps.push_back(call.args);
            }
            continue;
        }
        if (frame.loadIdentities > 3)
            continue;
        TextLine& line = frame.lines[frame.loadIdentities - 2];
        if (name == "glPushMatrix") {
            line.glyphs.emplace_back();
            glyph = &line.glyphs.back();
            inGlyph = true;
        }
        if (glyph && (inGlyph || glyph->advance.empty()))
            glyph->calls.push_back(name);
        if (name == "glPopMatrix") {
            inGlyph = false;
        } else if (name == "glListBase") {
            line.listBases.push_back(call.args[0]);
        } else if (inGlyph && name == "glScalef") {
            glyph->scale = call.args;
        } else if (inGlyph && name == "glTranslatef") {
            glyph->nudge = call.args;
        } else if (inGlyph && name == "glPushAttrib") {
            glyph->attrib = call.args;
        } else if (inGlyph && name == "glPopAttrib") {
            ++glyph->popsAttrib;
        } else if (inGlyph && name == "glCallLists") {
            glyph->callLists = call.args;
        } else if (name == "glTranslatef") {
            if (glyph)
                glyph->advance = call.args;
            else
                line.start = call.args;
        }
    }
    return frame;
}

std::vector<GlTraceCall> TraceRender(Orvan_Plugin* plugin, float time)
{
    GlTraceRecording recording;
    plugin->Render(time);
    return GlTraceCalls();
}

// The text of a line, from the codes of its glyph calls.
std::string TextOf(const TextLine& line)
{
    std::string text;
    for (const Glyph& glyph : line.glyphs)
        if (glyph.callLists.size() == 3)
            text += static_cast<char>(glyph.callLists[2]);
    return text;
}

// Where the lines stand: 8 minus the scroll, in single precision.
float ExpectedX(float t, int offset)
{
    return 8.0f - FmodF((t - static_cast<float>(offset)) / 8.0f, 90.0f);
}

// The modelview after a list runs from the identity: its cell increment.
float ListAdvance(GLuint list)
{
    glPushMatrix();
    glLoadIdentity();
    glCallList(list);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glPopMatrix();
    return m[12];
}

// Feedback polygons one list draws.
int PolygonsOf(GLuint list)
{
    std::vector<GLfloat> buffer(1 << 18);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -5.0f);  // in front of the host's perspective view
    glCallList(list);
    glPopMatrix();
    const GLint used = glRenderMode(GL_RENDER);
    int polygons = 0;
    for (GLint at = 0; at < used;) {
        if (static_cast<GLenum>(buffer[at]) != GL_POLYGON_TOKEN)
            return -1;
        polygons++;
        at += 2 + 2 * static_cast<int>(buffer[at + 1]);
    }
    return polygons;
}

// The font the effect asks for, built apart by the font layer on a device
// context of its own: codes 0-254 into lists of their own, and their metrics.
struct FontLayerFont {
    BOOL built = FALSE;
    GLuint base = 0;
    GLYPHMETRICSFLOAT metrics[256] = {};
};

const FontLayerFont& FontLayer()
{
    static const FontLayerFont* font = [] {
        FontLayerFont* built = new FontLayerFont;
        HDC dc = new HDC__;
        SelectObject(dc, CreateFontA(-12, 0, 0, 0, 700, 0, 0, 0, 0, 4, 0, 4, 0, "Impact"));
        built->base = glGenLists(256);
        built->built = wglUseFontOutlinesA(dc, 0, 255, built->base, 0.0f, 0.0f,
                                           WGL_FONT_POLYGONS, built->metrics);
        delete dc;
        return built;
    }();
    return *font;
}

class PictureEchoTest : public EffectTest {
protected:
    static void SetUpTestSuite()
    {
        EffectTest::SetUpTestSuite();
        if (plugin_)
            return;
        plugin_ = LoadEffect("quillet.DLL");
        if (!plugin_)
            return;
        DemoDataDirectory data;
        ASSERT_TRUE(data.ok());
        LentTexturePool lent(Host(), *pool_);
        // The player's GL system holds its window's device context.
        HDC saved = Host().glSystem->hdc;
        Host().glSystem->hdc = WindowDc();
        glDisable(GL_TEXTURE_2D);
        StdoutCapture capture;
        plugin_->Init();
        initLog_ = new std::string(capture.Finish());
        texturingAfterInit_ = glIsEnabled(GL_TEXTURE_2D);
        Host().glSystem->hdc = saved;
    }

    void SetUp() override
    {
        ASSERT_NE(plugin_, nullptr);
        ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
        ResetGLState();
        plugin_->Trigger(0.0f, 4, 0, 0);
    }

    static HDC WindowDc() { return GetDC(FindWindowA(nullptr, "Kelda test")); }

    static GLuint Picture() { return pool_->GetTextureByName("quillet")->glTexture; }

    // The list base Render sets, seen by the tracer.
    static GLuint ListBase()
    {
        const Frame frame = Parse(TraceRender(plugin_, 0.0f));
        ResetGLState();
        return frame.lines[0].listBases.empty() ? 0 : static_cast<GLuint>(frame.lines[0].listBases[0]);
    }

    static Orvan_Plugin* plugin_;
    static NotingTexturePool* pool_;
    static std::string* initLog_;
    static bool texturingAfterInit_;
};

Orvan_Plugin* PictureEchoTest::plugin_ = nullptr;
NotingTexturePool* PictureEchoTest::pool_ = new NotingTexturePool;
std::string* PictureEchoTest::initLog_ = nullptr;
bool PictureEchoTest::texturingAfterInit_ = false;

}  // namespace

TEST_F(PictureEchoTest, InitLoadsThePictureAndBuildsTheFontOnTheWindowsDeviceContext)
{
    ASSERT_NE(initLog_, nullptr);
    EXPECT_EQ(initLog_->find("debug:[pravik plugin initalziation called]"), 0u) << *initLog_;
    EXPECT_EQ(initLog_->find("Warning"), std::string::npos);
    EXPECT_EQ(initLog_->find("Import Failed"), std::string::npos) << *initLog_;
    EXPECT_TRUE(texturingAfterInit_);

    const std::vector<std::string> expected = {"load data\\dax.jpg quillet", "find quillet"};
    EXPECT_EQ(pool_->calls, expected);
    Texture* record = pool_->GetTextureByName("quillet");
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(glIsTexture(record->glTexture));
    EXPECT_GT(record->width, 0);

    // The font went into the window's device context.
    const HGDIOBJ font = WindowDc()->selected;
    EXPECT_NE(font, nullptr);

    // Codes 0-254 have lists; letters draw, the blank only advances, and
    // the 256th list is empty. The letters are the font layer's flat
    // outlines at its finest chords, as a deviation of 0 asks.
    const GLuint base = ListBase();
    ASSERT_NE(base, 0u);
    ASSERT_TRUE(FontLayer().built);
    for (int c : {'A', 'k', 'W', '#', '0', 'S', 'e'}) {
        EXPECT_GT(PolygonsOf(base + c), 0) << char(c);
        EXPECT_EQ(PolygonsOf(base + c), PolygonsOf(FontLayer().base + c)) << char(c);
        EXPECT_GT(ListAdvance(base + c), 0.2f) << char(c);
    }
    EXPECT_EQ(PolygonsOf(base + ' '), 0);
    EXPECT_GT(ListAdvance(base + ' '), 0.1f);
    EXPECT_EQ(PolygonsOf(base + 255), 0);
    EXPECT_EQ(ListAdvance(base + 255), 0.0f);
}

TEST_F(PictureEchoTest, AsksForABoldImpactTwelveHigh)
{
    // The logical font the effect selected into the window's device
    // context, as CreateFontA recorded it.
    const GdiFont* font = static_cast<const GdiFont*>(WindowDc()->selected);
    ASSERT_NE(font, nullptr);
    const struct {
        const char* argument;
        long long expected, got;
    } arguments[] = {
        {"height", -12, font->height},
        {"width", 0, font->width},
        {"escapement", 0, font->escapement},
        {"orientation", 0, font->orientation},
        {"weight (bold)", 700, font->weight},
        {"italic", 0, font->italic},
        {"underline", 0, font->underline},
        {"strike-out", 0, font->strikeOut},
        {"character set (ANSI)", 0, font->charSet},
        {"output precision (TrueType)", 4, font->outPrecision},
        {"clip precision (default)", 0, font->clipPrecision},
        {"quality (antialiased)", 4, font->quality},
        {"pitch and family (default, any)", 0, font->pitchAndFamily},
    };
    for (const auto& a : arguments)
        EXPECT_EQ(a.got, a.expected) << a.argument;
    EXPECT_EQ(font->faceName, "Impact");
}

TEST_F(PictureEchoTest, APictureThatDidNotLoadLeavesTheEchoUntextured)
{
    // A pool of its own that never goes away, as the host's targets in it
    // are kept by its address.
    static NotingTexturePool* const pool = new NotingTexturePool;
    NotingTexturePool& without = *pool;
    {
        DemoDataDirectory data({"kimbel.jpg"});  // no dax.jpg
        ASSERT_TRUE(data.ok());
        LentTexturePool lent(Host(), without);
        HDC saved = Host().glSystem->hdc;
        Host().glSystem->hdc = WindowDc();
        StdoutCapture capture;
        plugin_->Init();
        const std::string log = capture.Finish();
        Host().glSystem->hdc = saved;
        EXPECT_NE(log.find("Import Failed - returned -1\n"), std::string::npos) << log;
        const std::vector<std::string> expected = {"load data\\dax.jpg quillet", "find quillet"};
        EXPECT_EQ(without.calls, expected);
        EXPECT_EQ(without.GetTextureByName("quillet"), nullptr);

        // The echo draws its ten quads with no texture; the text is as ever.
        const Frame frame = Parse(TraceRender(plugin_, 1234.0f));
        EXPECT_EQ(frame.quads.size(), 10u);
        EXPECT_EQ(GlTraceCount("glCallLists"), 459u);
        EXPECT_EQ(GlInteger(GL_TEXTURE_BINDING_2D), 0);
    }

    // Back to the suite's pool and its picture for the other tests.
    ResetGLState();
    DemoDataDirectory data;
    LentTexturePool lent(Host(), *pool_);
    HDC saved = Host().glSystem->hdc;
    Host().glSystem->hdc = WindowDc();
    StdoutCapture quiet;
    plugin_->Init();
    quiet.Finish();
    Host().glSystem->hdc = saved;
    plugin_->Render(0.0f);
    EXPECT_EQ(BoundTexture(), Picture());
}

TEST_F(PictureEchoTest, EveryFrameIsTenFadingQuadsAndTheTwoTextsGlyphByGlyph)
{
    for (float time : {0.0f, 750.0f, 4321.5f, 9000.0f}) {
        SCOPED_TRACE(time);
        ResetGLState();
        const Frame frame = Parse(TraceRender(plugin_, time));
        EXPECT_EQ(GlTraceCount("glBegin"), 10u);
        EXPECT_EQ(GlTraceCount("glCallLists"), 459u);
        EXPECT_EQ(frame.loadIdentities, 3);

        ASSERT_EQ(frame.quads.size(), 10u);
        float alpha = 0.25f;
        const float step = static_cast<float>(0.25 / 10.0f);
        const std::vector<std::vector<double>> texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        const std::vector<std::vector<double>> vertices = {{-1.33f, -1, 0}, {1.33f, -1, 0},
                                                           {1.33f, 1, 0}, {-1.33f, 1, 0}};
        for (const Quad& quad : frame.quads) {
            EXPECT_EQ(quad.mode, double(GL_QUADS));
            EXPECT_EQ(quad.colour, (std::vector<double>{1, 1, 1, alpha}));
            EXPECT_EQ(quad.texCoords, texCoords);
            EXPECT_EQ(quad.vertices, vertices);
            alpha = alpha - step;
        }

        // The texts: 229 and 230 printable characters without a percent
        // sign, with their leading and trailing blanks.
        const std::string credits = TextOf(frame.lines[0]);
        const std::string greetings = TextOf(frame.lines[1]);
        ASSERT_EQ(credits.size(), 229u);
        ASSERT_EQ(greetings.size(), 230u);
        for (const std::string& text : {credits, greetings}) {
            EXPECT_EQ(text.find_first_not_of(' '), 48u);
            for (char c : text) {
                EXPECT_GE(c, 32);
                EXPECT_LE(c, 122);
                EXPECT_NE(c, '%');
            }
        }
        EXPECT_EQ(credits.size() - 1 - credits.find_last_not_of(' '), 11u);
        EXPECT_EQ(greetings.size() - 1 - greetings.find_last_not_of(' '), 14u);

        for (const TextLine& line : frame.lines) {
            ASSERT_EQ(line.listBases.size(), 1u);  // set once for the whole text
            const std::vector<std::string> sequence = {
                "glPushMatrix", "glScalef",    "glTranslatef", "glPushAttrib",
                "glCallLists",  "glPopAttrib", "glPopMatrix",  "glTranslatef"};
            for (const Glyph& glyph : line.glyphs) {
                // Scaled first, then nudged in the scaled frame; the advance
                // after the pop.
                ASSERT_EQ(glyph.calls, sequence);
                ASSERT_EQ(glyph.callLists.size(), 3u);
                EXPECT_EQ(glyph.callLists[0], 1.0);
                EXPECT_EQ(glyph.callLists[1], double(GL_UNSIGNED_BYTE));
                EXPECT_EQ(glyph.attrib, std::vector<double>{double(GL_LIST_BIT)});
                EXPECT_EQ(glyph.popsAttrib, 1);
            }
        }
    }
}

TEST_F(PictureEchoTest, OpensWithItsStateAndGrowsAndSwaysEachCopy)
{
    const float time = 4321.5f;
    const std::vector<GlTraceCall> calls = TraceRender(plugin_, time);
    auto is = [](const GlTraceCall& call, const char* name, std::vector<double> args) {
        return call.name == name && call.args == args;
    };
    ASSERT_GE(calls.size(), 9u);
    EXPECT_TRUE(is(calls[0], "glClear", {double(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)}));
    EXPECT_TRUE(is(calls[1], "glLoadIdentity", {}));
    EXPECT_TRUE(is(calls[2], "glEnable", {double(GL_TEXTURE_2D)}));
    EXPECT_TRUE(is(calls[3], "glDisable", {double(GL_DEPTH_TEST)}));
    EXPECT_TRUE(is(calls[4], "glEnable", {double(GL_BLEND)}));
    EXPECT_TRUE(is(calls[5], "glBlendFunc", {double(GL_SRC_ALPHA), double(GL_ONE)}));
    EXPECT_TRUE(is(calls[6], "glDisable", {double(GL_CULL_FACE)}));
    EXPECT_TRUE(is(calls[7], "glTranslatef", {0.0, 0.0, -2.1f}));
    EXPECT_TRUE(is(calls[8], "glBindTexture", {double(GL_TEXTURE_2D), double(Picture())}));

    // After each quad: a scale and a sideways step of dx.
    const float t = time / 10.0f;
    const float dx = SinF(t / 13.53f) * SinF(t / 10.0f) / 40.0f;
    ASSERT_NE(dx, 0.0f);
    const Frame frame = Parse(calls);
    ASSERT_EQ(frame.echoSteps.size(), 20u);
    for (size_t k = 0; k < 10; k++) {
        EXPECT_EQ(frame.echoSteps[2 * k], (std::vector<double>{1.01f, 1.02f, 0.0}));
        EXPECT_EQ(frame.echoSteps[2 * k + 1], (std::vector<double>{dx, 0.0, 0.0}));
    }
    // Copy k stands under k such steps: scaled by 1.01^k and 1.02^k, moved
    // by dx * (1.01 + 1.01^2 + ... + 1.01^k), seen in its matrix.
    double sx = 1, sy = 1, tx = 0;
    for (size_t k = 0; k < 10; k++) {
        const std::vector<float>& m = frame.quads[k].modelview;
        ASSERT_EQ(m.size(), 16u);
        EXPECT_NEAR(m[0], sx, 1e-5) << k;
        EXPECT_NEAR(m[5], sy, 1e-5) << k;
        EXPECT_NEAR(m[12], tx, 1e-6) << k;
        EXPECT_NEAR(m[14], -2.1, 1e-6) << k;
        sx *= 1.01f;
        sy *= 1.02f;
        tx += sx * dx;
    }
}

TEST_F(PictureEchoTest, EachGlyphWearsAScaleAndNudgeOfItsPositionAndCodeOnly)
{
    const GLuint base = ListBase();
    const Frame frame = Parse(TraceRender(plugin_, 777.0f));
    const Frame later = Parse(TraceRender(plugin_, 5555.0f));
    for (int l = 0; l < 2; l++) {
        const TextLine& line = frame.lines[l];
        ASSERT_FALSE(line.glyphs.empty());
        for (size_t i = 0; i < line.glyphs.size(); i++) {
            SCOPED_TRACE(testing::Message() << "line " << l << ", glyph " << i);
            const Glyph& glyph = line.glyphs[i];
            const int code = static_cast<int>(glyph.callLists[2]);
            const float fi = static_cast<float>(i), fc = static_cast<float>(code);
            // The advance is the list's own cell increment plus 0.05.
            const float adv = ListAdvance(base + code);
            ASSERT_EQ(glyph.advance, (std::vector<double>{float(adv + 0.05), 0.0, 0.0}));

            const float scale = static_cast<float>(
                FmodF(static_cast<float>((double(SinF(fi)) + 1.0) * fc), 0.25f) + 1.0);
            const float jit = FmodF(static_cast<float>(double(SinF(fi)) * CosF(fc) * adv), 0.25f);
            EXPECT_EQ(glyph.scale, (std::vector<double>{scale, scale, 0.0}));
            ASSERT_EQ(glyph.nudge.size(), 3u);
            EXPECT_NEAR(glyph.nudge[0], jit / 8.0, 1e-7);
            EXPECT_NEAR(glyph.nudge[1], jit / 5.0, 1e-7);
            EXPECT_EQ(glyph.nudge[2], 0.0);
            EXPECT_GE(scale, 1.0f);
            EXPECT_LT(scale, 1.25f);
            EXPECT_LT(std::fabs(glyph.nudge[0]), 0.03125);
            EXPECT_LT(std::fabs(glyph.nudge[1]), 0.05);

            // Nothing of it depends on time.
            EXPECT_EQ(glyph.scale, later.lines[l].glyphs[i].scale);
            EXPECT_EQ(glyph.nudge, later.lines[l].glyphs[i].nudge);
        }
        // The first glyph stands as it is; a blank at position 1 grows to 1.17707.
        EXPECT_EQ(line.glyphs[0].scale, (std::vector<double>{1.0, 1.0, 0.0}));
        EXPECT_EQ(line.glyphs[0].nudge, (std::vector<double>{0.0, 0.0, 0.0}));
        EXPECT_NEAR(line.glyphs[1].scale[0], 1.17707, 1e-5);
    }
}

TEST_F(PictureEchoTest, BothLinesPassTheScreenWholeWithinOneCycle)
{
    const FontLayerFont& font = FontLayer();
    ASSERT_TRUE(font.built);
    // The host's 45-degree view of 640 x 480 reaches this far to either
    // side at the lines' depth of 9.8.
    const double halfWidth = 9.8 * std::tan(22.5 * M_PI / 180.0) * 640.0 / 480.0;

    // A cycle starts with the lines at x = 8 and moves them 90 units left
    // before they jump back.
    const Frame frame = Parse(TraceRender(plugin_, 0.0f));
    for (int l = 0; l < 2; l++) {
        SCOPED_TRACE(l == 0 ? "credits" : "greetings");
        const TextLine& line = frame.lines[l];
        ASSERT_EQ(line.start.size(), 3u);
        ASSERT_EQ(line.start[0], 8.0);
        ASSERT_EQ(line.glyphs.size(), l == 0 ? 229u : 230u);
        double at = line.start[0];
        double firstLeft = INFINITY, lastRight = -INFINITY;
        for (const Glyph& glyph : line.glyphs) {
            ASSERT_EQ(glyph.callLists.size(), 3u);
            const GLYPHMETRICSFLOAT& m = font.metrics[static_cast<size_t>(glyph.callLists[2])];
            // The effect's lists are of this face: each advance is its cell
            // increment and the gap of 0.05.
            ASSERT_EQ(glyph.advance[0], double(float(m.gmfCellIncX + 0.05)));
            if (m.gmfBlackBoxX > 0.0f) {
                // The black box, under the glyph's scale and nudge.
                const double left = at + glyph.scale[0] * (glyph.nudge[0] + m.gmfptGlyphOrigin.x);
                firstLeft = std::fmin(firstLeft, left);
                lastRight = std::fmax(lastRight, left + glyph.scale[0] * m.gmfBlackBoxX);
            }
            at += glyph.advance[0];
        }
        // Every letter enters from beyond the right edge and has left past
        // the left edge before the jump back.
        EXPECT_GT(firstLeft, halfWidth);
        EXPECT_LT(lastRight - 90.0, -halfWidth) << "the line's last letters are cut off";
    }
}

struct Scroll {
    const char* label;
    int value;   // of trigger 4
    float time;  // hundredths of a second
    float x;     // where both lines stand
};

void PrintTo(const Scroll& scroll, std::ostream* out)
{
    *out << scroll.label;
}

class PictureEchoScrollTest : public PictureEchoTest, public ::testing::WithParamInterface<Scroll> {};

TEST_P(PictureEchoScrollTest, BothLinesStandWhereTheScrollPutsThem)
{
    const Scroll& scroll = GetParam();
    EXPECT_EQ(plugin_->Trigger(123.0f, 4, scroll.value, 0), 0);
    const Frame frame = Parse(TraceRender(plugin_, scroll.time));
    const std::vector<double> top = {scroll.x, 2.9f, -9.8f};
    const std::vector<double> bottom = {scroll.x, -3.5f, -9.8f};
    EXPECT_EQ(frame.lines[0].start, top);
    EXPECT_EQ(frame.lines[1].start, bottom);
    // A thousandth of a second later, by the formula in single precision
    // (before the offset, the same formula in double lands a bit apart).
    const float later = scroll.time + 0.1f;
    const Frame next = Parse(TraceRender(plugin_, later));
    ASSERT_EQ(next.lines[0].start.size(), 3u);
    EXPECT_EQ(next.lines[0].start[0], double(ExpectedX(later / 10.0f, 5 * scroll.value)));
    EXPECT_EQ(next.lines[1].start[0], next.lines[0].start[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Trigger4, PictureEchoScrollTest,
    ::testing::Values(Scroll{"AtTheOffsetTheyStartAtEight", 10, 500.0f, 8.0f},
                      Scroll{"SeventyTwoSecondsLaterAgain", 10, 500.0f + 7200.0f, 8.0f},
                      Scroll{"BeforeTheOffsetTheyWaitFurtherRight", 10, 0.0f, 14.25f},
                      Scroll{"TenSecondsInTheyHaveMovedTwelveAndAHalf", 0, 1000.0f, -4.5f},
                      Scroll{"TheTimelinesRestartAtSevenAndAHalfSeconds", 15, 750.0f, 8.0f},
                      Scroll{"ANegativeValueStartsThemEarlier", -40, 0.0f, -17.0f}),
    [](const ::testing::TestParamInfo<Scroll>& info) { return std::string(info.param.label); });

TEST_F(PictureEchoTest, OnlyTriggerFourMovesTheScrollAndEveryTriggerAnswersZero)
{
    auto startX = [&] { return Parse(TraceRender(plugin_, 3000.0f)).lines[0].start; };
    EXPECT_EQ(plugin_->Trigger(0.0f, 4, 10, 0), 0);
    const std::vector<double> set = startX();
    EXPECT_EQ(set[0], double(ExpectedX(300.0f, 50)));
    for (int id : {0, 1, 2, 3, 5, -4, 4 + 256}) {
        EXPECT_EQ(plugin_->Trigger(0.0f, id, 99, 7), 0) << id;
        EXPECT_EQ(startX(), set) << id;
    }
}

TEST_F(PictureEchoTest, LeavesItsStateForTheLayersAbove)
{
    const GLuint base = ListBase();
    // Whatever a lower layer left is overridden.
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
    glTranslatef(3.0f, 4.0f, 5.0f);
    glListBase(7);

    const Frame frame = Parse(TraceRender(plugin_, 2500.0f));

    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(GlInteger(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(GlInteger(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(static_cast<GLuint>(GlInteger(GL_LIST_BASE)), base);
    EXPECT_EQ(BoundTexture(), Picture());
    EXPECT_EQ(GlInteger(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(GlInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(std::vector<float>(colour, colour + 4), (std::vector<float>{1, 1, 1, 1}));

    // The modelview stands past the bottom line: its start plus every advance.
    const TextLine& bottom = frame.lines[1];
    double x = bottom.start[0];
    for (const Glyph& glyph : bottom.glyphs)
        x += glyph.advance[0];
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[12], x, 1e-3);
    EXPECT_FLOAT_EQ(m[13], -3.5f);
    EXPECT_FLOAT_EQ(m[14], -9.8f);
    EXPECT_EQ(m[0], 1.0f);
}

TEST_F(PictureEchoTest, TheEchoAddsTenFadingCopiesOfThePicture)
{
    // At time 0 there is no sway: copy k is the picture grown by 1.01^k and
    // 1.02^k about the centre, added at alpha 0.25 - 0.025 k.
    const int points[][2] = {{320, 240}, {150, 100}, {500, 380}, {60, 420}, {600, 40}};
    plugin_->Render(0.0f);
    std::vector<Pixel> echo;
    for (const auto& p : points)
        echo.push_back(ReadBackPixel(p[0], p[1]));

    // Each copy drawn alone and opaque, in the same frame of reference.
    std::vector<double> expected(3 * std::size(points), 0.0);
    for (int k = 0; k < 10; k++) {
        ResetGLState();
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, Picture());
        glTranslatef(0.0f, 0.0f, -2.1f);
        for (int step = 0; step < k; step++)
            glScalef(1.01f, 1.02f, 0.0f);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex3f(-1.33f, -1, 0);
        glTexCoord2f(1, 0);
        glVertex3f(1.33f, -1, 0);
        glTexCoord2f(1, 1);
        glVertex3f(1.33f, 1, 0);
        glTexCoord2f(0, 1);
        glVertex3f(-1.33f, 1, 0);
        glEnd();
        glDisable(GL_TEXTURE_2D);
        const double alpha = 0.25 - 0.025 * k;
        for (size_t i = 0; i < std::size(points); i++) {
            const Pixel copy = ReadBackPixel(points[i][0], points[i][1]);
            expected[3 * i] += alpha * copy.r;
            expected[3 * i + 1] += alpha * copy.g;
            expected[3 * i + 2] += alpha * copy.b;
        }
    }
    for (size_t i = 0; i < std::size(points); i++) {
        SCOPED_TRACE(testing::Message() << "at " << points[i][0] << ", " << points[i][1]);
        const int got[3] = {echo[i].r, echo[i].g, echo[i].b};
        for (int c = 0; c < 3; c++)
            EXPECT_NEAR(got[c], std::fmin(255.0, expected[3 * i + c]), 6.0) << "channel " << c;
    }
}

TEST_F(PictureEchoTest, TheTextIsOpaqueWhiteAtTheTopAndBottomOnly)
{
    // The same moment twice, so the same echo: once with the lines still
    // beyond the right edge, once with them on screen.
    const float time = 4000.0f;
    plugin_->Trigger(0.0f, 4, 80, 0);  // the lines start now
    plugin_->Render(time);
    const std::string waiting = ReadBackBuffer();
    ResetGLState();
    plugin_->Trigger(0.0f, 4, 0, 0);  // forty seconds in: x = -42
    plugin_->Render(time);
    const std::string shown = ReadBackBuffer();

    int changedTop = 0, changedBottom = 0, changedMiddle = 0, notWhite = 0;
    for (int y = 0; y < 480; y++) {
        for (int x = 0; x < 640; x++) {
            const size_t at = (static_cast<size_t>(y) * 640 + x) * 4;
            if (memcmp(&waiting[at], &shown[at], 3) == 0)
                continue;
            if (static_cast<unsigned char>(shown[at]) != 255 ||
                static_cast<unsigned char>(shown[at + 1]) != 255 ||
                static_cast<unsigned char>(shown[at + 2]) != 255)
                ++notWhite;
            if (y > 360)
                ++changedTop;
            else if (y < 120)
                ++changedBottom;
            else
                ++changedMiddle;
        }
    }
    EXPECT_GT(changedTop, 5000);
    EXPECT_GT(changedBottom, 5000);
    EXPECT_EQ(changedMiddle, 0);
    // Glyphs are unblended white; only their edges may blend with nothing
    // else, so every changed pixel is white.
    EXPECT_EQ(notWhite, 0);
}

TEST_F(PictureEchoTest, ASecondInitWarnsAndBuildsAnotherFontAndRestartsTheScroll)
{
    const GLuint firstBase = ListBase();
    const GLuint picture = Picture();
    plugin_->Trigger(0.0f, 4, 10, 0);
    DemoDataDirectory data;
    ASSERT_TRUE(data.ok());
    LentTexturePool lent(Host(), *pool_);
    HDC saved = Host().glSystem->hdc;
    Host().glSystem->hdc = WindowDc();
    StdoutCapture capture;
    plugin_->Init();
    const std::string log = capture.Finish();
    Host().glSystem->hdc = saved;

    const std::string warning = "debug:[Warning - plugin already initalized\n]\n";
    EXPECT_EQ(log.find(warning), 0u) << log;
    EXPECT_NE(log.find("debug:[pravik plugin initalziation called]"), std::string::npos) << log;
    EXPECT_NE(log.find("duplicate texture load attempt!"), std::string::npos) << log;
    EXPECT_EQ(Picture(), picture);

    ResetGLState();
    // The scroll offset is back at 0: at time 0 the lines stand at 8.
    EXPECT_EQ(Parse(TraceRender(plugin_, 0.0f)).lines[0].start[0], 8.0);
    ResetGLState();
    const GLuint secondBase = ListBase();
    EXPECT_TRUE(secondBase >= firstBase + 256 || secondBase + 256 <= firstBase);
    EXPECT_GT(PolygonsOf(secondBase + 'A'), 0);
    EXPECT_GT(PolygonsOf(firstBase + 'A'), 0);  // the first lists stay
}
