// The wave sheet effect through its real library: its loads into the host's
// texture pool, the picture each selector shows, the sheet it sends to GL,
// and a host render target's picture on the sheet after a capture.
#include <GL/gl.h>
#include <GL/glu.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "demo_data_directory.h"
#include "effect_fixture.h"
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

namespace {

const char* const kPortraits[5] = {"kimbel", "ravoth", "tessik", "bemsel", "pelgrin"};

struct Vertex {
    std::vector<double> texCoord;
    std::vector<double> position;
};

// The sheet of one frame: every vertex with the texture coordinate before it.
struct Sheet {
    int pairs = 0;
    std::vector<double> mode;
    std::vector<std::vector<double>> coloursInPair;
    std::vector<Vertex> vertices;
    bool colourBeforeFirstVertex = false;
};

Sheet ParseSheet(const std::vector<GlTraceCall>& calls)
{
    Sheet sheet;
    bool inPair = false;
    std::vector<double> texCoord;
    for (const GlTraceCall& call : calls) {
        if (call.name == "glBegin") {
            ++sheet.pairs;
            sheet.mode.push_back(call.args[0]);
            inPair = true;
        } else if (call.name == "glEnd") {
            inPair = false;
        } else if (inPair && call.name == "glColor4f") {
            sheet.coloursInPair.push_back(call.args);
            sheet.colourBeforeFirstVertex = sheet.vertices.empty();
        } else if (inPair && call.name == "glTexCoord2f") {
            texCoord = call.args;
        } else if (inPair && call.name == "glVertex3f") {
            sheet.vertices.push_back(Vertex{texCoord, call.args});
        }
    }
    return sheet;
}

class WaveSheetTest : public EffectTest {
protected:
    static void SetUpTestSuite()
    {
        EffectTest::SetUpTestSuite();
        if (plugin_)
            return;
        plugin_ = LoadEffect("morvet.DLL");
        if (!plugin_)
            return;
        DemoDataDirectory data;
        LentTexturePool lent(Host(), *pool_);
        ASSERT_TRUE(data.ok());
        glDisable(GL_TEXTURE_2D);
        StdoutCapture capture;
        plugin_->Init();
        initLog_ = new std::string(capture.Finish());
        texturingAfterInit_ = glIsEnabled(GL_TEXTURE_2D);
    }

    void SetUp() override
    {
        ASSERT_NE(plugin_, nullptr);
        ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
        lent_ = new LentTexturePool(Host(), *pool_);
        ResetGLState();
        plugin_->Trigger(0.0f, 1, 0, 0);
    }

    void TearDown() override { delete lent_; }

    static GLuint Portrait(int k) { return pool_->GetTextureByName(kPortraits[k])->glTexture; }

    // The texture name Render binds, seen by the tracer.
    static GLuint TextureBoundByRender(float time = 0.0f)
    {
        GlTraceRecording recording;
        plugin_->Render(time);
        for (const GlTraceCall& call : GlTraceCalls())
            if (call.name == "glBindTexture")
                return static_cast<GLuint>(call.args[1]);
        return 0xFFFFFFFFu;
    }

    static Sheet TraceSheet(float time)
    {
        GlTraceRecording recording;
        plugin_->Render(time);
        return ParseSheet(GlTraceCalls());
    }

    static Orvan_Plugin* plugin_;
    static NotingTexturePool* pool_;
    static std::string* initLog_;
    static bool texturingAfterInit_;
    LentTexturePool* lent_ = nullptr;
};

Orvan_Plugin* WaveSheetTest::plugin_ = nullptr;
NotingTexturePool* WaveSheetTest::pool_ = new NotingTexturePool;
std::string* WaveSheetTest::initLog_ = nullptr;
bool WaveSheetTest::texturingAfterInit_ = false;

}  // namespace

TEST_F(WaveSheetTest, InitLoadsTheFivePicturesThenLooksThemUp)
{
    ASSERT_NE(initLog_, nullptr);
    EXPECT_EQ(initLog_->find("debug:[kimbel plugin initalziation called]\n"), 0u) << *initLog_;
    EXPECT_EQ(initLog_->find("Warning"), std::string::npos);
    EXPECT_EQ(initLog_->find("Import Failed"), std::string::npos) << *initLog_;
    EXPECT_TRUE(texturingAfterInit_);

    const std::vector<std::string> expected = {
        "load data//kimbel.jpg kimbel", "load data//ravoth.jpg ravoth",
        "load data//tessik.jpg tessik", "load data//bemsel.jpg bemsel",
        "load data//pelgrin.jpg pelgrin", "find kimbel", "find ravoth", "find tessik",
        "find bemsel", "find pelgrin"};
    ASSERT_GE(pool_->calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(pool_->calls.begin(), pool_->calls.begin() + 10), expected);

    // After the host's five targets, in load order, each a real picture.
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(kPortraits[k]);
        EXPECT_EQ(pool_->FindTexture(kPortraits[k]), 5 + k);
        Texture* record = pool_->GetTextureByName(kPortraits[k]);
        ASSERT_NE(record, nullptr);
        EXPECT_TRUE(glIsTexture(record->glTexture));
        EXPECT_GT(record->width, 0);
    }
}

TEST_F(WaveSheetTest, WritesItsDisplayNameWithItsNulOnly)
{
    char buffer[32];
    memset(buffer, 0x5A, sizeof buffer);
    EXPECT_EQ(plugin_->GetName(buffer), 0);
    const char name[] = "Morvet Plugin";
    EXPECT_EQ(memcmp(buffer, name, sizeof name), 0);
    EXPECT_EQ(buffer[sizeof name], 0x5A);
}

TEST_F(WaveSheetTest, EachSelectorShowsItsPicture)
{
    // The targets in another order than the pool's: the sheet must go
    // through the GL system's table of targets, not the selector itself.
    OrvanGL* gl = Host().glSystem;
    const int32_t* targets = gl->rttTargets;
    const int32_t reversed[5] = {targets[4], targets[3], targets[2], targets[1], targets[0]};
    memcpy(gl->rttTargets, reversed, sizeof reversed);
    auto target = [&](int k) { return gl->GetTextureId(reversed[k]); };

    const struct {
        int selector;
        GLuint picture;
    } cases[] = {
        {0, Portrait(0)}, {1, Portrait(1)}, {2, Portrait(2)}, {3, Portrait(3)},
        {4, target(0)},   {5, target(1)},   {6, target(2)},   {7, target(3)},
        {8, target(4)},   {9, Portrait(4)}, {10, Portrait(0)}, {1000, Portrait(0)},
        {-1, Portrait(0)}, {INT_MIN, Portrait(0)}, {INT_MAX, Portrait(0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selector);
        EXPECT_EQ(plugin_->Trigger(12.0f, 1, c.selector, 7), 0);
        EXPECT_EQ(TextureBoundByRender(), c.picture);
        EXPECT_EQ(BoundTexture(), c.picture);
    }

    // The table is read at every frame: a new entry shows at once.
    plugin_->Trigger(0.0f, 1, 4, 0);
    gl->rttTargets[0] = reversed[3];
    EXPECT_EQ(TextureBoundByRender(), target(3));
}

TEST_F(WaveSheetTest, OnlyTriggerOneChangesThePicture)
{
    EXPECT_EQ(plugin_->Trigger(0.0f, 1, 2, 0), 0);
    for (int id : {0, 2, 3, 4, -1, 100}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(plugin_->Trigger(0.0f, id, 9, 0), 0);
        EXPECT_EQ(TextureBoundByRender(), Portrait(2));
    }
}

TEST_F(WaveSheetTest, ASecondInitWarnsFindsThePicturesLoadedAndShowsTheFirst)
{
    DemoDataDirectory data;
    ASSERT_TRUE(data.ok());
    plugin_->Trigger(0.0f, 1, 3, 0);
    const size_t poolCalls = pool_->calls.size();
    StdoutCapture capture;
    plugin_->Init();
    const std::string log = capture.Finish();
    EXPECT_EQ(log.find("debug:[Warning - plugin already initalized\n]\n"
                       "debug:[kimbel plugin initalziation called]\n"),
              0u)
        << log;
    size_t duplicates = 0;
    for (size_t at = log.find("duplicate texture load attempt!\n"); at != std::string::npos;
         at = log.find("duplicate texture load attempt!\n", at + 1))
        ++duplicates;
    EXPECT_EQ(duplicates, 5u) << log;
    EXPECT_EQ(pool_->calls.size(), poolCalls + 10);
    EXPECT_EQ(TextureBoundByRender(), Portrait(0));  // the selector is back at 0
    plugin_->Trigger(0.0f, 1, 9, 0);
    EXPECT_EQ(TextureBoundByRender(), Portrait(4));
}

TEST_F(WaveSheetTest, APictureThatDidNotLoadShowsNoTexture)
{
    // A pool of its own, and a data folder with the first picture only. Like
    // the host's, the pool lives to the end: its records are never freed.
    static NotingTexturePool* const pool = new NotingTexturePool;
    NotingTexturePool& partial = *pool;
    {
        DemoDataDirectory data({"kimbel.jpg"});
        ASSERT_TRUE(data.ok());
        LentTexturePool lent(Host(), partial);
        StdoutCapture capture;
        plugin_->Init();
        const std::string log = capture.Finish();
        EXPECT_NE(log.find("Import Failed - returned -1\n"), std::string::npos) << log;
        ASSERT_NE(partial.GetTextureByName("kimbel"), nullptr);
        EXPECT_EQ(partial.GetTextureByName("ravoth"), nullptr);

        plugin_->Trigger(0.0f, 1, 0, 0);
        EXPECT_EQ(TextureBoundByRender(), partial.GetTextureByName("kimbel")->glTexture);
        for (int selector : {1, 2, 3, 9}) {
            SCOPED_TRACE(selector);
            plugin_->Trigger(0.0f, 1, selector, 0);
            EXPECT_EQ(TextureBoundByRender(), 0u);
        }
    }

    // Back to the suite's pool for the other tests.
    DemoDataDirectory data;
    StdoutCapture quiet;
    plugin_->Init();
    quiet.Finish();
    plugin_->Trigger(0.0f, 1, 9, 0);
    EXPECT_EQ(TextureBoundByRender(), Portrait(4));
}

TEST_F(WaveSheetTest, OneFrameIsTheStateChangesThenOnePairOf1024Quads)
{
    GlTraceRecording recording;
    plugin_->Render(777.0f);
    const std::vector<GlTraceCall>& calls = GlTraceCalls();
    ASSERT_GE(calls.size(), 7u);
    auto is = [](const GlTraceCall& call, const char* name, std::vector<double> args) {
        return call.name == name && call.args == args;
    };
    EXPECT_TRUE(is(calls[0], "glEnable", {double(GL_TEXTURE_2D)}));
    EXPECT_TRUE(is(calls[1], "glBindTexture", {double(GL_TEXTURE_2D), double(Portrait(0))}));
    EXPECT_TRUE(is(calls[2], "glClear", {double(GL_DEPTH_BUFFER_BIT)}));
    EXPECT_TRUE(is(calls[3], "glDisable", {double(GL_BLEND)}));
    EXPECT_TRUE(is(calls[4], "glLoadIdentity", {}));
    EXPECT_TRUE(is(calls[5], "glTranslatef", {0.0, 0.0, double(-36.5f)}));
    EXPECT_TRUE(is(calls[6], "glBegin", {double(GL_QUADS)}));
    EXPECT_EQ(calls.back().name, "glEnd");

    const Sheet sheet = ParseSheet(calls);
    EXPECT_EQ(sheet.pairs, 1);
    EXPECT_EQ(GlTraceCount("glVertex3f"), 4096u);
    EXPECT_EQ(GlTraceCount("glTexCoord2f"), 4096u);
    EXPECT_EQ(GlTraceCount("glClear"), 1u);
    ASSERT_EQ(sheet.coloursInPair.size(), 1u);
    EXPECT_EQ(sheet.coloursInPair[0], (std::vector<double>{1.0, 1.0, 1.0, 1.0}));
    EXPECT_TRUE(sheet.colourBeforeFirstVertex);
}

TEST_F(WaveSheetTest, AtTimeZeroTheSheetLiesAsItsWavePhaseOf31Puts)
{
    const Sheet sheet = TraceSheet(0.0f);
    ASSERT_EQ(sheet.vertices.size(), 4096u);
    auto quad = [&](int i, int j) { return &sheet.vertices[size_t(i * 32 + j) * 4]; };

    // Column edge n at depth offset 2 sin((31 - n) / 5).
    EXPECT_EQ(quad(30, 0)[1].position[2], 0.0);  // edge 31 in the plane itself
    EXPECT_EQ(quad(31, 0)[0].position[2], 0.0);
    EXPECT_NEAR(quad(0, 0)[0].position[2], -0.166, 5e-4);
    EXPECT_NEAR(quad(31, 0)[1].position[2], -0.397, 5e-4);

    EXPECT_NEAR(quad(0, 0)[0].position[0], -21.28, 1e-5);
    EXPECT_NEAR(quad(0, 0)[1].position[0], -19.95, 1e-5);
    EXPECT_NEAR(quad(31, 0)[0].position[0], 19.95, 1e-5);
    EXPECT_NEAR(quad(31, 0)[1].position[0], 21.28, 1e-5);
    EXPECT_EQ(quad(0, 0)[0].position[1], -16.0);
    EXPECT_EQ(quad(0, 0)[2].position[1], -15.0);
    EXPECT_EQ(quad(0, 31)[2].position[1], 16.0);
}

TEST_F(WaveSheetTest, TheSheetIsContinuousCoveredOnceAndFacesTheViewer)
{
    for (float time : {0.0f, 3550.0f, 98765.0f}) {
        SCOPED_TRACE(time);
        const Sheet sheet = TraceSheet(time);
        ASSERT_EQ(sheet.vertices.size(), 4096u);

        // The wave at the column edges, from the phase in double precision.
        const double t = time / 10.0;
        const double c = 32.0 * std::sin(t / 20.0) + 16.0 + 15.0 * std::cos(t / 5.5);
        for (int i = 0; i < 32; ++i) {
            for (int j = 0; j < 32; ++j) {
                const Vertex* v = &sheet.vertices[size_t(i * 32 + j) * 4];
                // The width factor is the one double: rounded once, from the double product.
                const double x0 = float((i - 16) * 1.33), x1 = float((i - 15) * 1.33);
                const double z0 = 2.0 * std::sin((c - i) / 5.0);
                const double z1 = 2.0 * std::sin((c - i - 1) / 5.0);
                const double corners[4][5] = {
                    {i / 32.0, j / 32.0, x0, j - 16.0, z0},
                    {(i + 1) / 32.0, j / 32.0, x1, j - 16.0, z1},
                    {(i + 1) / 32.0, (j + 1) / 32.0, x1, j - 15.0, z1},
                    {i / 32.0, (j + 1) / 32.0, x0, j - 15.0, z0},
                };
                for (int k = 0; k < 4; ++k) {
                    ASSERT_EQ(v[k].texCoord, (std::vector<double>{corners[k][0], corners[k][1]}))
                        << i << "," << j << "," << k;
                    ASSERT_EQ(v[k].position[0], corners[k][2]);
                    ASSERT_EQ(v[k].position[1], corners[k][3]);
                    ASSERT_NEAR(v[k].position[2], corners[k][4], 2e-5) << i << "," << j;
                }
                // Neighbouring columns share their edge's depth exactly.
                if (i > 0) {
                    const Vertex* left = &sheet.vertices[size_t((i - 1) * 32 + j) * 4];
                    ASSERT_EQ(v[0].position[2], left[1].position[2]);
                }
                // Counter-clockwise seen from the viewer, who looks down -z.
                const double ax = v[1].position[0] - v[0].position[0];
                const double ay = v[1].position[1] - v[0].position[1];
                const double bx = v[2].position[0] - v[0].position[0];
                const double by = v[2].position[1] - v[0].position[1];
                ASSERT_GT(ax * by - ay * bx, 0.0);
            }
        }
    }
}

TEST_F(WaveSheetTest, LeavesItsStateForTheLayersAbove)
{
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    glTranslatef(1.0f, 2.0f, 3.0f);
    plugin_->Trigger(0.0f, 1, 6, 0);
    plugin_->Render(1234.0f);

    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(BoundTexture(), Host().glSystem->GetTextureId(Host().glSystem->rttTargets[2]));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));  // as found
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(colour[i], 1.0f) << i;
    EXPECT_EQ(GlInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(GlInteger(GL_MODELVIEW_STACK_DEPTH), 1);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const GLfloat translation[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -36.5f, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(modelview[i], translation[i]) << i;
}

TEST_F(WaveSheetTest, ShowsAHostTargetsPictureAfterACapture)
{
    // A frame of four coloured quarters, captured into host target 0.
    struct Quarter {
        int x, y;
        GLfloat r, g, b;
    };
    const Quarter quarters[4] = {
        {0, 0, 1, 0, 0}, {320, 0, 0, 1, 0}, {0, 240, 0, 0, 1}, {320, 240, 1, 1, 1}};
    glEnable(GL_SCISSOR_TEST);
    for (const Quarter& q : quarters) {
        glScissor(q.x, q.y, 320, 240);
        glClearColor(q.r, q.g, q.b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    OrvanGL* gl = Host().glSystem;
    ASSERT_EQ(gl->StartRtt(gl->rttTargets[0]), 0);
    ASSERT_EQ(gl->EndRtt(), 0);

    // Then a grey frame, additive blending and the nearest depth left behind:
    // the sheet clears the depth and, opaque, overwrites the colour.
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClearDepth(0.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);

    plugin_->Trigger(0.0f, 1, 4, 0);
    plugin_->Render(0.0f);

    // The centre of quad (i, j) shows texel ((i + 0.5) / 32, (j + 0.5) / 32);
    // the window's picture fills s up to 0.625 and t up to 0.9375.
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double c = 31.0;  // the wave's phase at time 0
    auto centreOf = [&](int i, int j) {
        const double z = std::sin((c - i) / 5.0) + std::sin((c - i - 1) / 5.0);
        GLdouble wx, wy, wz;
        gluProject((i - 15.5) * 1.33, j - 15.5, z, modelview, projection, viewport, &wx, &wy, &wz);
        return ReadBackPixel(int(std::lround(wx)), int(std::lround(wy)));
    };
    const struct {
        int i, j;
        int r, g, b;
    } cells[] = {
        {4, 4, 255, 0, 0},   {15, 4, 0, 255, 0},   {4, 22, 0, 0, 255},   {15, 22, 255, 255, 255},
        {8, 12, 255, 0, 0},  {18, 12, 0, 255, 0},  {8, 26, 0, 0, 255},   {18, 26, 255, 255, 255},
    };
    for (const auto& cell : cells) {
        SCOPED_TRACE(testing::Message() << "quad " << cell.i << ", " << cell.j);
        const Pixel p = centreOf(cell.i, cell.j);
        EXPECT_NEAR(p.r, cell.r, 2);
        EXPECT_NEAR(p.g, cell.g, 2);
        EXPECT_NEAR(p.b, cell.b, 2);
    }
}
