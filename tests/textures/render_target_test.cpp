// Render-to-texture targets with real GL: creation in the pool, the capture
// state machine, and what a capture copies out of the frame.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <ostream>
#include <string>
#include <vector>

#include "gl_calls.h"
#include "gl_state.h"
#include "gl_test.h"
#include "gl_trace.h"
#include "orvan_gl.h"
#include "stdout_capture.h"
#include "texture.h"
#include "texture_pool.h"

namespace {

const char kBusy[] = "OrvanGL Render to Texture Error - rtt requested but already in process\n";
// Creation asks for the component count 3, and GL reports it back as given.
const GLint kCreatedFormat = 3;
const char kIdle[] = "OrvanGL Render To Texture Error - tried to end rtt but not in rtt mode\n";

class RenderTargets : public GlTest {
protected:
    int Target()
    {
        if (!gl.texturePool)
            gl.SetTexturePool(&pool);
        return gl.CreateRttTarget(1024, 512);
    }

    TexturePool pool;
    OrvanGL gl;  // logs its creation and, at the end, its destruction
};

TEST_F(RenderTargets, WithoutAPoolNothingIsCreatedOrCounted)
{
    {
        StdoutCapture capture;
        EXPECT_EQ(gl.CreateRttTarget(1024, 512), -1);
        EXPECT_EQ(capture.Finish(),
                  "OrvanGL Render To Texture Error - no texture pool bound! Unable to continue\n");
    }
    EXPECT_EQ(gl.rttCounter, 0);
    EXPECT_EQ(Target(), 0);
    EXPECT_STREQ(pool.textures[0]->name, "render to texture target 0");
}

TEST_F(RenderTargets, FiveHostTargetsThenAPluginsOwn)
{
    for (int i = 0; i < 5; i++)
        gl.rttTargets[i] = Target();
    for (int i = 0; i < 5; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(gl.rttTargets[i], i);
        Texture* record = pool.GetTexture(i);
        EXPECT_EQ(record->name, "render to texture target " + std::to_string(i));
        EXPECT_TRUE(record->renderTarget);
        EXPECT_TRUE(record->inUse);
        EXPECT_EQ(record->bitmap, nullptr);
        EXPECT_EQ(record->width, 1024);
        EXPECT_EQ(record->height, 512);
        EXPECT_TRUE(glIsTexture(record->glTexture));
        EXPECT_EQ(gl.GetTextureId(i), record->glTexture);
        EXPECT_EQ(TextureLevelParameter(record->glTexture, GL_TEXTURE_WIDTH), 1024);
        EXPECT_EQ(TextureLevelParameter(record->glTexture, GL_TEXTURE_HEIGHT), 512);
        EXPECT_EQ(TextureLevelParameter(record->glTexture, GL_TEXTURE_INTERNAL_FORMAT), kCreatedFormat);
    }
    EXPECT_EQ(BoundTexture(), pool.GetTexture(4)->glTexture);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);

    pool.CreateTexture("plasma1", 1, 1, 24, false);
    int own = Target();
    EXPECT_EQ(own, 6);
    EXPECT_STREQ(pool.GetTexture(own)->name, "render to texture target 5");
}

TEST_F(RenderTargets, OneCaptureAtATime)
{
    int first = Target();
    int second = Target();
    GLuint firstName = gl.GetTextureId(first);
    GLuint secondName = gl.GetTextureId(second);
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);

    {
        StdoutCapture capture;
        EXPECT_EQ(gl.EndRtt(), 2);
        EXPECT_EQ(capture.Finish(), kIdle);
    }
    EXPECT_EQ(BoundTexture(), other);

    {
        StdoutCapture capture;
        EXPECT_EQ(gl.StartRtt(first), 0);
        EXPECT_EQ(BoundTexture(), other);  // starting makes no GL call
        EXPECT_EQ(gl.StartRtt(second), 1);
        EXPECT_EQ(capture.Finish(), kBusy);
    }
    EXPECT_TRUE(gl.rttActive);
    EXPECT_EQ(gl.rttTexture, firstName);
    EXPECT_EQ(gl.rttWidth, 1024);
    EXPECT_EQ(gl.rttHeight, 512);

    // Whoever ends the capture ends the one in progress, into its target.
    EXPECT_EQ(gl.EndRtt(), 0);
    EXPECT_FALSE(gl.rttActive);
    EXPECT_EQ(BoundTexture(), firstName);
    EXPECT_EQ(TextureLevelParameter(firstName, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);
    EXPECT_EQ(TextureLevelParameter(secondName, GL_TEXTURE_INTERNAL_FORMAT), kCreatedFormat);

    StdoutCapture capture;
    EXPECT_EQ(gl.EndRtt(), 2);
    EXPECT_EQ(capture.Finish(), kIdle);
    glDeleteTextures(1, &other);
}

struct TargetSize {
    int width, height;
};

void PrintTo(const TargetSize& size, std::ostream* out)
{
    *out << size.width << "x" << size.height;
}

class TargetSizes : public RenderTargets, public ::testing::WithParamInterface<TargetSize> {};

// Creation makes exactly a target's calls, for every width, and no
// pixel-store call: even under a caller's unpack alignment of 8, GL reads the
// scratch rows within their buffer (at widths 1, 2 and 4 rows of exactly
// width x 3 bytes would be read past), and the alignment stays the caller's.
TEST_P(TargetSizes, CreationMakesATargetsCallsAndNoPixelStoreCall)
{
    ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
    const TargetSize size = GetParam();
    gl.SetTexturePool(&pool);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    int index;
    {
        GlTraceRecording recording;
        index = gl.CreateRttTarget(size.width, size.height);
    }
    ASSERT_EQ(index, 0);
    const GLuint name = pool.GetTexture(index)->glTexture;
    EXPECT_EQ(GlCallsRecorded(),
              GlCall("glGenTextures", {1, double(name)}) +
                  GlCall("glBindTexture", {GL_TEXTURE_2D, double(name)}) +
                  GlCall("glTexImage2D", {GL_TEXTURE_2D, 0, 3, double(size.width), double(size.height), 0,
                                          GL_RGB, GL_UNSIGNED_BYTE}) +
                  GlCall("glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}) +
                  GlCall("glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}));
    EXPECT_EQ(UploadsReadingPastTheirPixels(), "");
    EXPECT_EQ(GlInteger(GL_UNPACK_ALIGNMENT), 8);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    EXPECT_EQ(TextureLevelParameter(name, GL_TEXTURE_WIDTH), size.width);
    EXPECT_EQ(TextureLevelParameter(name, GL_TEXTURE_HEIGHT), size.height);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TargetSizes,
                         ::testing::Values(TargetSize{1, 2}, TargetSize{2, 2}, TargetSize{1, 8},
                                           TargetSize{2, 4}, TargetSize{1, 512}, TargetSize{2, 256},
                                           TargetSize{4, 16}, TargetSize{1024, 512}),
                         [](const ::testing::TestParamInfo<TargetSize>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

TEST_F(RenderTargets, OnlyTheEndOfACaptureTouchesGl)
{
    ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
    const int target = Target();
    const GLuint name = gl.GetTextureId(target);
    StdoutCapture quiet;
    GlTraceRecording recording;

    EXPECT_EQ(gl.EndRtt(), 2);
    EXPECT_EQ(gl.StartRtt(target), 0);
    EXPECT_EQ(gl.StartRtt(target), 1);
    EXPECT_EQ(GlCallsRecorded(), "");

    EXPECT_EQ(gl.EndRtt(), 0);
    EXPECT_EQ(GlCallsRecorded(), GlCall("glBindTexture", {GL_TEXTURE_2D, double(name)}) +
                                     GlCall("glCopyTexImage2D", {GL_TEXTURE_2D, 0, GL_RGBA8, 0, 0, 1024, 512, 0}));
}

TEST_F(RenderTargets, IndexesThatNameNoRecordStartNothing)
{
    for (int index : {-1, 20, 5000}) {
        SCOPED_TRACE(index);
        std::string line = "OrvanGL Render to Texture Error - no texture at pool index " + std::to_string(index) + "\n";
        {
            StdoutCapture capture;
            EXPECT_EQ(gl.StartRtt(index), 3);  // no pool attached yet
            EXPECT_EQ(gl.GetTextureId(index), 0u);
            EXPECT_EQ(capture.Finish(), line + line);
        }
        gl.SetTexturePool(&pool);
        StdoutCapture capture;
        EXPECT_EQ(gl.StartRtt(index), 3);
        EXPECT_EQ(gl.GetTextureId(index), 0u);
        EXPECT_EQ(capture.Finish(), line + line);
        EXPECT_FALSE(gl.rttActive);
        gl.texturePool = nullptr;
    }
}

struct Quadrant {
    int x, y;
    uint8_t r, g, b;
};
const Quadrant kQuadrants[] = {
    {0, 0, 255, 0, 0}, {320, 0, 0, 255, 0}, {0, 240, 0, 0, 255}, {320, 240, 255, 255, 0}};

void FillRect(int x, int y, int w, int h, uint8_t r, uint8_t g, uint8_t b)
{
    glScissor(x, y, w, h);
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<uint8_t> ReadWindow()
{
    std::vector<uint8_t> pixels(640 * 480 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

TEST_F(RenderTargets, ACaptureHoldsTheWholeFrameDrawnSoFar)
{
    int target = Target();
    glViewport(0, 0, 640, 480);
    glEnable(GL_SCISSOR_TEST);
    for (const Quadrant& q : kQuadrants)
        FillRect(q.x, q.y, 320, 240, q.r, q.g, q.b);
    ASSERT_EQ(gl.StartRtt(target), 0);
    FillRect(600, 440, 40, 40, 255, 0, 255);  // drawn during the capture, in the top-right corner
    glDisable(GL_SCISSOR_TEST);
    std::vector<uint8_t> frame = ReadWindow();
    ASSERT_EQ(gl.EndRtt(), 0);

    std::vector<uint8_t> texels = BoundTexels(GL_RGBA, 4);
    ASSERT_EQ(texels.size(), 1024u * 512 * 4);
    auto texel = [&](int x, int y) { return &texels[(static_cast<size_t>(y) * 1024 + x) * 4]; };
    auto pixel = [&](int x, int y) { return &frame[(static_cast<size_t>(y) * 640 + x) * 4]; };
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 7) {
            const uint8_t* t = texel(x, y);
            const uint8_t* p = pixel(x, y);
            ASSERT_TRUE(t[0] == p[0] && t[1] == p[1] && t[2] == p[2]) << "texel " << x << ", " << y;
        }
    EXPECT_EQ(texel(10, 10)[0], 255);
    EXPECT_EQ(texel(630, 10)[1], 255);
    EXPECT_EQ(texel(10, 470)[2], 255);
    EXPECT_EQ(texel(639, 479)[0], 255);
    EXPECT_EQ(texel(639, 479)[2], 255);

    // Drawn back over the whole window with s up to 0.625 and t up to
    // 0.9375, the target gives the frame again.
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1, -1);
    glTexCoord2f(0.625f, 0.0f);
    glVertex2f(1, -1);
    glTexCoord2f(0.625f, 0.9375f);
    glVertex2f(1, 1);
    glTexCoord2f(0.0f, 0.9375f);
    glVertex2f(-1, 1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    std::vector<uint8_t> redrawn = ReadWindow();
    int differing = 0;
    for (size_t i = 0; i < redrawn.size(); i += 4)
        for (int c = 0; c < 3; c++)
            if (redrawn[i + c] > frame[i + c] + 2 || frame[i + c] > redrawn[i + c] + 2)
                differing++;
    EXPECT_EQ(differing, 0);
}

}  // namespace
