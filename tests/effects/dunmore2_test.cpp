// The zoom blur effect through its real library: its own render target, the
// copy of the frame and the ten echoes it draws back, the state it leaves,
// and how it shares the GL system's one capture with the dispatcher.
#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "effect_fixture.h"
#include "effect_math.h"
#include "gl_state.h"
#include "gl_trace.h"
#include "lent_texture_pool.h"
#include "orvan_gl.h"
#include "orvan_plugin.h"
#include "orvan_plugin_host.h"
#include "stdout_capture.h"
#include "texture.h"
#include "texture_pool.h"

namespace {

const char kBusy[] = "OrvanGL Render to Texture Error - rtt requested but already in process\n";
const char kIdle[] = "OrvanGL Render To Texture Error - tried to end rtt but not in rtt mode\n";

struct Call {
    std::string name;
    std::vector<double> args;
};

bool operator==(const Call& a, const Call& b)
{
    return a.name == b.name && a.args == b.args;
}

void PrintTo(const Call& call, std::ostream* out)
{
    *out << call.name << "(";
    for (size_t i = 0; i < call.args.size(); ++i)
        *out << (i ? ", " : "") << call.args[i];
    *out << ")";
}

std::vector<Call> Calls(const std::vector<GlTraceCall>& trace)
{
    std::vector<Call> calls;
    for (const GlTraceCall& call : trace)
        calls.push_back(Call{call.name, call.args});
    return calls;
}

// The sideways step between two echoes at a time in hundredths of a second,
// in single precision: tenths, then seconds, then the two sines.
float Drift(float time)
{
    const float seconds = time / 10.0f / 10.0f;
    return SinF(seconds / 13.53f) * SinF(seconds / 10.0f) / 40.0f;
}

// One texel of a texture's level 0, as RGBA bytes.
Pixel TexelOf(GLuint texture, int x, int y)
{
    const GLint width = TextureLevelParameter(texture, GL_TEXTURE_WIDTH);
    const GLint height = TextureLevelParameter(texture, GL_TEXTURE_HEIGHT);
    const GLuint previous = BoundTexture();
    glBindTexture(GL_TEXTURE_2D, texture);
    std::vector<unsigned char> texels(size_t(width) * size_t(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, previous);
    const unsigned char* t = &texels[(size_t(y) * size_t(width) + size_t(x)) * 4];
    return Pixel{t[0], t[1], t[2], t[3]};
}

void ClearTo(GLfloat r, GLfloat g, GLfloat b)
{
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
}

class ZoomBlurTest : public EffectTest {
protected:
    static void SetUpTestSuite()
    {
        EffectTest::SetUpTestSuite();
        if (plugin_)
            return;
        plugin_ = LoadEffect("dunmore2.DLL");
        if (!plugin_)
            return;
        LentTexturePool lent(Host(), *pool_);
        glDisable(GL_TEXTURE_2D);
        counterBeforeInit_ = Host().glSystem->rttCounter;
        StdoutCapture capture;
        GlTraceStart();
        plugin_->Init();
        GlTraceStop();
        initLog_ = new std::string(capture.Finish());
        initCalls_ = new std::vector<Call>(Calls(GlTraceCalls()));
        texturingAfterInit_ = glIsEnabled(GL_TEXTURE_2D);
    }

    void SetUp() override
    {
        ASSERT_NE(plugin_, nullptr);
        ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
        lent_ = new LentTexturePool(Host(), *pool_);
        ASSERT_FALSE(Host().glSystem->rttActive);
        ResetGLState();
    }

    void TearDown() override { delete lent_; }

    // The newest render target of the pool: the one the last Init made.
    static int BlurTarget()
    {
        int newest = -1;
        for (size_t i = 0; i < pool_->textures.size(); ++i)
            if (pool_->textures[i]->inUse && pool_->textures[i]->renderTarget)
                newest = int(i);
        return newest;
    }
    static GLuint BlurTexture() { return pool_->GetTexture(BlurTarget())->glTexture; }

    static std::vector<Call> TraceRender(float time)
    {
        GlTraceRecording recording;
        plugin_->Render(time);
        return Calls(GlTraceCalls());
    }

    static Orvan_Plugin* plugin_;
    static TexturePool* pool_;
    static int counterBeforeInit_;
    static std::string* initLog_;
    static std::vector<Call>* initCalls_;
    static bool texturingAfterInit_;
    LentTexturePool* lent_ = nullptr;
};

Orvan_Plugin* ZoomBlurTest::plugin_ = nullptr;
TexturePool* ZoomBlurTest::pool_ = new TexturePool;
int ZoomBlurTest::counterBeforeInit_ = 0;
std::string* ZoomBlurTest::initLog_ = nullptr;
std::vector<Call>* ZoomBlurTest::initCalls_ = nullptr;
bool ZoomBlurTest::texturingAfterInit_ = false;

}  // namespace

TEST_F(ZoomBlurTest, TheLongestDisplayNameIsWrittenWithItsNulOnly)
{
    char buffer[64];
    memset(buffer, 0x5A, sizeof buffer);
    EXPECT_EQ(plugin_->GetName(buffer), 0);
    const char name[] = "Blur Filter Fuckup Plugin";
    static_assert(sizeof name == 26, "25 characters and the NUL");
    EXPECT_EQ(memcmp(buffer, name, sizeof name), 0);
    EXPECT_EQ(buffer[sizeof name], 0x5A);
}

TEST_F(ZoomBlurTest, InitMakesOneTargetOfItsOwnAndNoGLCallBesides)
{
    ASSERT_NE(initLog_, nullptr);
    EXPECT_EQ(*initLog_, "debug:[blur plugin initalziation called]\n");
    EXPECT_FALSE(texturingAfterInit_);

    // Right after the host's five targets, and numbered after them.
    const int target = 5;
    Texture* record = pool_->GetTexture(target);
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->renderTarget);
    EXPECT_EQ(record->name, "render to texture target " + std::to_string(counterBeforeInit_));
    EXPECT_EQ(record->width, 1024);
    EXPECT_EQ(record->height, 512);

    // What the GL system's target creation sends, and nothing else.
    const double tex2d = GL_TEXTURE_2D;
    const std::vector<Call> expected = {
        {"glGenTextures", {1, double(record->glTexture)}},
        {"glBindTexture", {tex2d, double(record->glTexture)}},
        {"glTexImage2D", {tex2d, 0, 3, 1024, 512, 0, double(GL_RGB), double(GL_UNSIGNED_BYTE)}},
        {"glTexParameteri", {tex2d, double(GL_TEXTURE_MIN_FILTER), double(GL_LINEAR)}},
        {"glTexParameteri", {tex2d, double(GL_TEXTURE_MAG_FILTER), double(GL_LINEAR)}},
    };
    ASSERT_EQ(initCalls_->size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ((*initCalls_)[i].name, expected[i].name);
        // The pixels' address, if traced, is no business of this test.
        const std::vector<double>& args = (*initCalls_)[i].args;
        const size_t n = std::min(args.size(), expected[i].args.size());
        EXPECT_EQ(std::vector<double>(args.begin(), args.begin() + n), expected[i].args) << i;
    }
}

TEST_F(ZoomBlurTest, OneFrameIsOneCopyThenTenGrowingFadingEchoes)
{
    // Triggers of every id leave the effect as it was.
    for (int id = 0; id < 6; ++id)
        EXPECT_EQ(plugin_->Trigger(5.0f, id, 3, 0), 0);

    const double tex2d = GL_TEXTURE_2D;
    const GLuint texture = BlurTexture();
    for (float time : {0.0f, 123456.0f}) {
        SCOPED_TRACE(time);
        ResetGLState();
        const std::vector<Call> calls = TraceRender(time);

        std::vector<Call> expected = {
            {"glEnable", {tex2d}},
            // The copy, by the GL system: what the lower layers drew.
            {"glBindTexture", {tex2d, double(texture)}},
            {"glCopyTexImage2D", {tex2d, 0, double(GL_RGBA8), 0, 0, 1024, 512, 0}},
            {"glEnable", {double(GL_BLEND)}},
            {"glDisable", {double(GL_CULL_FACE)}},
            {"glBlendFunc", {double(GL_SRC_ALPHA), double(GL_ONE)}},
            {"glLoadIdentity", {}},
            {"glDisable", {double(GL_DEPTH_TEST)}},
            {"glBindTexture", {tex2d, double(texture)}},
            {"glTranslatef", {0.0, 0.0, double(-2.1f)}},
        };
        const size_t head = expected.size();
        ASSERT_GE(calls.size(), head);
        EXPECT_EQ(std::vector<Call>(calls.begin(), calls.begin() + long(head)), expected);

        // Ten passes; the last drift translation tells the step.
        ASSERT_EQ(calls.size(), head + 10 * 13 + 4);
        const double dx = calls[head + 12].args[0];
        if (time == 0.0f) {
            EXPECT_EQ(dx, 0.0);  // the echoes share one centre
        } else {
            EXPECT_EQ(dx, double(Drift(time)));
            EXPECT_GT(std::fabs(dx), 1e-4);
        }

        float alpha = 0.25f;
        for (int k = 0; k < 10; ++k) {
            SCOPED_TRACE(k);
            const std::vector<Call> pass = {
                {"glColor4f", {1.0, 1.0, 1.0, double(alpha)}},
                {"glBegin", {double(GL_QUADS)}},
                {"glTexCoord2f", {0.0, 0.0}},
                {"glVertex3f", {double(-1.33f), -1.0, 0.0}},
                {"glTexCoord2f", {1.0, 0.0}},
                {"glVertex3f", {double(1.33f), -1.0, 0.0}},
                {"glTexCoord2f", {1.0, 1.0}},
                {"glVertex3f", {double(1.33f), 1.0, 0.0}},
                {"glTexCoord2f", {0.0, 1.0}},
                {"glVertex3f", {double(-1.33f), 1.0, 0.0}},
                {"glEnd", {}},
                {"glScalef", {double(1.01f), double(1.02f), 0.0}},
                {"glTranslatef", {dx, 0.0, 0.0}},
            };
            const auto from = calls.begin() + long(head + 13 * size_t(k));
            EXPECT_EQ(std::vector<Call>(from, from + 13), pass);
            alpha -= 0.025f;
        }
        // The last pass: 0.25 less nine float steps, about 0.025.
        EXPECT_NEAR(calls[head + 13 * 9].args[3], 0.025, 1e-6);

        const std::vector<Call> tail = {
            {"glColor4f", {1.0, 1.0, 1.0, 1.0}},
            {"glDisable", {double(GL_BLEND)}},
            {"glEnable", {double(GL_CULL_FACE)}},
            {"glEnable", {double(GL_DEPTH_TEST)}},
        };
        EXPECT_EQ(std::vector<Call>(calls.end() - 4, calls.end()), tail);
    }
}

TEST_F(ZoomBlurTest, TheDriftIsFormedInSinglePrecision)
{
    // At these times the product of the sines kept in double before the
    // division comes out a bit apart; at 261 so do seconds taken in one
    // division by 100.
    const float once = 261.0f / 100.0f;
    ASSERT_NE(SinF(once / 13.53f) * SinF(once / 10.0f) / 40.0f, Drift(261.0f));
    for (float time : {2.1f, 261.0f, 5555.0f, 7654.3f, 62000.0f}) {
        SCOPED_TRACE(time);
        const float seconds = time / 10.0f / 10.0f;
        const double inDouble = SinF(seconds / 13.53f) * double(SinF(seconds / 10.0f)) / 40.0;
        ASSERT_NE(static_cast<float>(inDouble), Drift(time));

        const std::vector<Call> calls = TraceRender(time);
        std::vector<double> steps;
        for (const Call& call : calls)
            if (call.name == "glTranslatef" && call.args[2] == 0.0)
                steps.push_back(call.args[0]);
        EXPECT_EQ(steps, std::vector<double>(10, double(Drift(time))));
        ResetGLState();
    }
}

TEST_F(ZoomBlurTest, LeavesItsStateForTheLayersAbove)
{
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    const float time = 98765.0f;
    plugin_->Render(time);

    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(BoundTexture(), BlurTexture());
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(GlInteger(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(GlInteger(GL_BLEND_DST), GL_ONE);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(colour[i], 1.0f) << i;
    EXPECT_EQ(GlInteger(GL_MODELVIEW_STACK_DEPTH), 1);

    // Translation (0, 0, -2.1), then ten times scale (1.01, 1.02, 0) and the
    // drift: x = 1.01^10 x' + dx (1.01 + ... + 1.01^10), y = 1.02^10 y'.
    const double dx = Drift(time);
    double sum = 0.0, power = 1.0;
    for (int k = 0; k < 10; ++k) {
        power *= 1.01;
        sum += power;
    }
    const double expected[16] = {power, 0, 0, 0, 0, std::pow(1.02, 10), 0, 0, 0, 0, 0, 0,
                                 dx * sum, 0, -2.1, 1};
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(modelview[i], expected[i], 1e-5) << i;
}

TEST_F(ZoomBlurTest, AddsOneAndThreeEighthsOfThisFramesCopyOverIt)
{
    // The window's centre shows the middle of every echo, at time 0 texel
    // (512, 256) of the copy: inside the window's part of it.
    const struct {
        GLfloat r, g, b;
    } frames[] = {{0.2f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.2f}, {0.1f, 0.3f, 0.0f}};
    for (const auto& frame : frames) {
        SCOPED_TRACE(testing::Message() << frame.r << " " << frame.g << " " << frame.b);
        ResetGLState();
        ClearTo(frame.r, frame.g, frame.b);
        plugin_->Render(0.0f);
        const Pixel p = ReadBackPixel(320, 240);
        EXPECT_NEAR(p.r, 2.375 * 255 * frame.r, 4);
        EXPECT_NEAR(p.g, 2.375 * 255 * frame.g, 4);
        EXPECT_NEAR(p.b, 2.375 * 255 * frame.b, 4);
        const Pixel copied = TexelOf(BlurTexture(), 512, 256);
        EXPECT_NEAR(copied.r, 255 * frame.r, 1);
        EXPECT_NEAR(copied.g, 255 * frame.g, 1);
        EXPECT_NEAR(copied.b, 255 * frame.b, 1);
    }
}

TEST_F(ZoomBlurTest, ACaptureOpenBelowTakesTheCopyAndTheEchoesShowTheLastOwn)
{
    // A frame of blue goes through the effect's own copy.
    ClearTo(0.0f, 0.0f, 0.2f);
    plugin_->Render(0.0f);

    // The next frame: a lower layer starts a capture into host target 2,
    // then draws red.
    OrvanGL* gl = Host().glSystem;
    const GLuint hostTexture = gl->GetTextureId(gl->rttTargets[2]);
    ResetGLState();
    ClearTo(0.0f, 0.0f, 0.0f);
    ASSERT_EQ(gl->StartRtt(gl->rttTargets[2]), 0);
    ClearTo(0.2f, 0.0f, 0.0f);

    StdoutCapture capture;
    plugin_->Render(0.0f);
    EXPECT_EQ(capture.Finish(), kBusy);

    // Its end closed the open capture, with the red frame in its target.
    EXPECT_FALSE(gl->rttActive);
    const Pixel captured = TexelOf(hostTexture, 512, 256);
    EXPECT_NEAR(captured.r, 51, 1);
    EXPECT_EQ(captured.b, 0);
    // Its own copy still holds the blue of the frame before: the echoes
    // added blue over the red.
    const Pixel own = TexelOf(BlurTexture(), 512, 256);
    EXPECT_EQ(own.r, 0);
    EXPECT_NEAR(own.b, 51, 1);
    const Pixel p = ReadBackPixel(320, 240);
    EXPECT_NEAR(p.r, 51, 1);
    EXPECT_NEAR(p.b, 1.375 * 51, 4);

    // The capture's own end, on a higher layer, finds none.
    StdoutCapture later;
    EXPECT_EQ(gl->EndRtt(), 2);
    EXPECT_EQ(later.Finish(), kIdle);
}

TEST_F(ZoomBlurTest, ASecondInitMakesAnotherTargetAndDrawsFromIt)
{
    const int first = BlurTarget();
    const int counter = Host().glSystem->rttCounter;
    StdoutCapture capture;
    plugin_->Init();
    EXPECT_EQ(capture.Finish(), "debug:[Warning - plugin already initalized\n]\n"
                                "debug:[blur plugin initalziation called]\n");

    const int second = BlurTarget();
    EXPECT_GT(second, first);
    EXPECT_EQ(pool_->GetTexture(second)->name,
              "render to texture target " + std::to_string(counter));
    EXPECT_TRUE(pool_->GetTexture(first)->inUse);  // left in the pool, unused

    const std::vector<Call> calls = TraceRender(50.0f);
    ASSERT_GE(calls.size(), 9u);
    EXPECT_EQ(calls[1].args[1], double(BlurTexture()));
    EXPECT_EQ(calls[8].args[1], double(BlurTexture()));
    EXPECT_NE(BlurTexture(), pool_->GetTexture(first)->glTexture);
}

TEST_F(ZoomBlurTest, WithoutATargetItLeavesTheFrameAndTheCaptureAlone)
{
    OrvanGL* gl = Host().glSystem;
    ASSERT_EQ(gl->StartRtt(gl->rttTargets[0]), 0);  // a capture open below

    // A GL system without a pool makes no target.
    gl->SetTexturePool(nullptr);
    {
        StdoutCapture capture;
        plugin_->Init();
        const std::string log = capture.Finish();
        EXPECT_NE(log.find("OrvanGL Render To Texture Error - no texture pool bound! Unable to "
                           "continue\n"),
                  std::string::npos)
            << log;
        EXPECT_EQ(log.find("no texture at pool index"), std::string::npos) << log;
    }
    {
        StdoutCapture capture;
        EXPECT_TRUE(TraceRender(300.0f).empty());
        EXPECT_EQ(capture.Finish(), "");
    }
    EXPECT_TRUE(gl->rttActive);

    // Back to a pool and a target of its own for the other tests.
    gl->SetTexturePool(pool_);
    EXPECT_EQ(gl->EndRtt(), 0);
    StdoutCapture quiet;
    plugin_->Init();
    quiet.Finish();
    const std::vector<Call> calls = TraceRender(300.0f);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[2].name, "glCopyTexImage2D");
}
