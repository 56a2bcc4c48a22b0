// The interference effect through its real library: what it sends to GL
// (seen by the GL tracer), what it leaves in the frame and in the GL state.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "effect_fixture.h"
#include "gl_state.h"
#include "gl_trace.h"
#include "orvan_plugin.h"

namespace {

struct Quad {
    double mode = 0;
    std::vector<double> colour;       // the glColor4f inside the pair
    std::vector<float> modelview;     // in force at glBegin
    std::vector<std::vector<double>> vertices;
    bool closed = false;
};

// One frame's quads, grouped by the glPushMatrix/glPopMatrix pair around
// them; quads outside any pair land in loose.
struct Frame {
    std::vector<std::vector<Quad>> gratings;
    std::vector<Quad> loose;
    int otherCallsInPairs = 0;
};

Frame Parse(const std::vector<GlTraceCall>& calls)
{
    Frame frame;
    bool inGrating = false;
    Quad* quad = nullptr;
    for (const GlTraceCall& call : calls) {
        if (call.name == "glPushMatrix") {
            frame.gratings.emplace_back();
            inGrating = true;
        } else if (call.name == "glPopMatrix") {
            inGrating = false;
        } else if (call.name == "glBegin") {
            std::vector<Quad>& list = inGrating ? frame.gratings.back() : frame.loose;
            list.emplace_back();
            quad = &list.back();
            quad->mode = call.args[0];
            quad->modelview = call.modelview;
        } else if (call.name == "glEnd") {
            if (quad)
                quad->closed = true;
            quad = nullptr;
        } else if (quad && call.name == "glColor4f") {
            quad->colour = call.args;
        } else if (quad && call.name == "glVertex3f") {
            quad->vertices.push_back(call.args);
        } else if (quad) {
            ++frame.otherCallsInPairs;
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

// Eye-space position of every vertex of a grating: object coordinates
// through the modelview matrix GL had at each quad.
std::vector<double> EyeVertices(const std::vector<Quad>& grating)
{
    std::vector<double> out;
    for (const Quad& quad : grating) {
        const std::vector<float>& m = quad.modelview;
        for (const std::vector<double>& v : quad.vertices) {
            for (int row = 0; row < 3; ++row)
                out.push_back(m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row]);
        }
    }
    return out;
}

double MaxDifference(const std::vector<double>& a, const std::vector<double>& b)
{
    if (a.size() != b.size())
        return INFINITY;
    double worst = 0.0;
    for (size_t i = 0; i < a.size(); ++i)
        worst = std::fmax(worst, std::fabs(a[i] - b[i]));
    return worst;
}

class InterferenceTest : public EffectTest {
protected:
    static void SetUpTestSuite()
    {
        EffectTest::SetUpTestSuite();
        if (!plugin_) {
            plugin_ = LoadEffect("pravik.DLL");
            if (plugin_)
                plugin_->Init();
        }
    }

    void SetUp() override
    {
        ASSERT_NE(plugin_, nullptr);
        ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
        ResetGLState();
    }

    static Orvan_Plugin* plugin_;
};

Orvan_Plugin* InterferenceTest::plugin_ = nullptr;

}  // namespace

TEST_F(InterferenceTest, EveryFrameIs2400QuadsInTheirOwnPairs800PerGrating)
{
    for (float time : {0.0f, 0.5f, 317.0f, 720.0f, 123456.0f}) {
        SCOPED_TRACE(time);
        ResetGLState();
        const std::vector<GlTraceCall> calls = TraceRender(plugin_, time);
        EXPECT_EQ(GlTraceCount("glBegin"), 2400u);
        EXPECT_EQ(GlTraceCount("glEnd"), 2400u);
        EXPECT_EQ(GlTraceCount("glVertex3f"), 9600u);

        const Frame frame = Parse(calls);
        EXPECT_TRUE(frame.loose.empty());
        EXPECT_EQ(frame.otherCallsInPairs, 0);
        ASSERT_EQ(frame.gratings.size(), 3u);
        for (const std::vector<Quad>& grating : frame.gratings) {
            ASSERT_EQ(grating.size(), 800u);
            for (const Quad& quad : grating) {
                ASSERT_EQ(quad.mode, double(GL_QUADS));
                ASSERT_TRUE(quad.closed);
                ASSERT_EQ(quad.vertices.size(), 4u);
                ASSERT_EQ(quad.colour, (std::vector<double>{1.0, 1.0, 1.0, double(0.33f)}));
            }
        }
    }
}

TEST_F(InterferenceTest, EachGratingIsFortyStripesOfBarsQuarterWide)
{
    const Frame frame = Parse(TraceRender(plugin_, 41.0f));
    ASSERT_EQ(frame.gratings.size(), 3u);
    for (const std::vector<Quad>& grating : frame.gratings) {
        std::set<std::pair<double, double>> corners;
        for (const Quad& quad : grating) {
            ASSERT_EQ(quad.vertices.size(), 4u);
            const double x = quad.vertices[0][0];
            const double y = quad.vertices[0][1];
            const std::vector<std::vector<double>> expected = {
                {x, y, 0.0}, {x + 0.25, y, 0.0}, {x + 0.25, y + 1.0, 0.0}, {x, y + 1.0, 0.0}};
            ASSERT_EQ(quad.vertices, expected);
            // Bars start on the even quarter steps, rows on whole numbers.
            ASSERT_EQ(std::fmod(x + 10.0, 0.5), 0.0) << x;
            ASSERT_EQ(std::fmod(y + 10.0, 1.0), 0.0) << y;
            ASSERT_GE(x, -10.0);
            ASSERT_LE(x, 9.5);
            ASSERT_GE(y, -10.0);
            ASSERT_LE(y, 9.0);
            corners.insert({x, y});
        }
        EXPECT_EQ(corners.size(), 800u);  // no bar drawn twice
    }
}

TEST_F(InterferenceTest, DrawsBetweenItsOwnStateChangesAndRestoresDepthAfter)
{
    const std::vector<GlTraceCall> calls = TraceRender(plugin_, 200.0f);
    ASSERT_GE(calls.size(), 8u);
    auto is = [](const GlTraceCall& call, const char* name, std::vector<double> args) {
        return call.name == name && call.args == args;
    };
    EXPECT_TRUE(is(calls[0], "glClear", {double(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)}));
    EXPECT_TRUE(is(calls[1], "glLoadIdentity", {}));
    EXPECT_TRUE(is(calls[2], "glDisable", {double(GL_TEXTURE_2D)}));
    EXPECT_TRUE(is(calls[3], "glDisable", {double(GL_DEPTH_TEST)}));
    EXPECT_TRUE(is(calls[4], "glEnable", {double(GL_BLEND)}));
    EXPECT_TRUE(is(calls[5], "glBlendFunc", {double(GL_SRC_ALPHA), double(GL_ONE)}));
    EXPECT_TRUE(is(calls[6], "glTranslatef", {0.0, 0.0, -10.0}));

    // Time 200 (two seconds): 100, 125 and -133.33 degrees about the view axis.
    std::vector<std::vector<double>> rotations;
    for (const GlTraceCall& call : calls)
        if (call.name == "glRotatef")
            rotations.push_back(call.args);
    const std::vector<std::vector<double>> expected = {
        {100.0, 0.0, 0.0, 1.0}, {125.0, 0.0, 0.0, 1.0}, {double(float(-400.0 / 3.0)), 0.0, 0.0, 1.0}};
    EXPECT_EQ(rotations, expected);

    ASSERT_EQ(calls[calls.size() - 3].name, "glPopMatrix");
    EXPECT_TRUE(is(calls[calls.size() - 2], "glDisable", {double(GL_BLEND)}));
    EXPECT_TRUE(is(calls[calls.size() - 1], "glEnable", {double(GL_DEPTH_TEST)}));
}

TEST_F(InterferenceTest, TheAnglesAreFormedInSinglePrecision)
{
    for (float time : {2.1f, 162.9f, 555.1f, 1028.7f}) {
        SCOPED_TRACE(time);
        const float t2 = time + time;
        // Times at which a double divisor would give another float angle.
        ASSERT_NE(static_cast<float>(t2 / 3.2), t2 / 3.2f);

        std::vector<std::vector<double>> rotations;
        for (const GlTraceCall& call : TraceRender(plugin_, time))
            if (call.name == "glRotatef")
                rotations.push_back(call.args);
        const std::vector<std::vector<double>> expected = {
            {t2 / 4.0f, 0.0, 0.0, 1.0}, {t2 / 3.2f, 0.0, 0.0, 1.0}, {-t2 / 3.0f, 0.0, 0.0, 1.0}};
        EXPECT_EQ(rotations, expected);
        ResetGLState();
    }
}

TEST_F(InterferenceTest, LeavesItsStateForTheLayersAbove)
{
    // Whatever a lower layer left is overridden.
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
    glTranslatef(3.0f, 4.0f, 5.0f);

    plugin_->Render(555.5f);

    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(GlInteger(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(GlInteger(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(GlInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(GlInteger(GL_MODELVIEW_STACK_DEPTH), 1);

    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f);
    EXPECT_EQ(colour[1], 1.0f);
    EXPECT_EQ(colour[2], 1.0f);
    EXPECT_EQ(colour[3], 0.33f);

    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const GLfloat translation[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -10, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(modelview[i], translation[i]) << i;
}

TEST_F(InterferenceTest, AtTimeZeroBarsAreThreeTimesAThirdOfWhiteOverClearGaps)
{
    // The effect draws with the depth test off: even a depth buffer that its
    // own clear fills with the nearest depth hides no bar.
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(0.0);
    plugin_->Render(0.0f);
    glClearDepth(1.0);

    // Render leaves the modelview at the gratings' frame; at time 0 all
    // three gratings lie unrotated in it.
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    auto pixelAt = [&](double x, double y) {
        GLdouble wx, wy, wz;
        gluProject(x, y, 0.0, modelview, projection, viewport, &wx, &wy, &wz);
        return ReadBackPixel(int(wx), int(wy));
    };

    const int third = int(std::lround(0.33 * 255));
    for (double y : {-3.5, 0.5, 3.5}) {
        for (double bar : {-2.875, 0.125, 3.125}) {
            SCOPED_TRACE(testing::Message() << "bar at " << bar << ", " << y);
            const Pixel p = pixelAt(bar, y);
            EXPECT_NEAR(p.r, 3 * third, 2);
            EXPECT_NEAR(p.g, 3 * third, 2);
            EXPECT_NEAR(p.b, 3 * third, 2);
            const Pixel gap = pixelAt(bar + 0.25, y);
            EXPECT_EQ(gap.r, 0);
            EXPECT_EQ(gap.g, 0);
            EXPECT_EQ(gap.b, 0);
        }
    }
}

TEST_F(InterferenceTest, TheSameTimeGivesTheSamePicture)
{
    plugin_->Render(431.0f);
    const std::string first = ReadBackBuffer();
    ResetGLState();
    plugin_->Render(99.0f);
    ResetGLState();
    plugin_->Render(431.0f);
    EXPECT_TRUE(ReadBackBuffer() == first);
}

struct Period {
    float time;  // hundredths of a second
    size_t grating;
};

void PrintTo(const Period& period, std::ostream* out)
{
    *out << "time " << period.time << ", grating " << period.grating;
}

class InterferencePeriodTest : public InterferenceTest,
                               public ::testing::WithParamInterface<Period> {};

TEST_P(InterferencePeriodTest, BringsItsGratingBackToTimeZero)
{
    const Frame start = Parse(TraceRender(plugin_, 0.0f));
    ResetGLState();
    const Frame later = Parse(TraceRender(plugin_, GetParam().time));
    ASSERT_EQ(start.gratings.size(), 3u);
    ASSERT_EQ(later.gratings.size(), 3u);
    for (size_t g = 0; g < 3; ++g) {
        const double difference =
            MaxDifference(EyeVertices(start.gratings[g]), EyeVertices(later.gratings[g]));
        if (g == GetParam().grating)
            EXPECT_LT(difference, 1e-4) << "grating " << g;
        else
            EXPECT_GT(difference, 0.1) << "grating " << g;  // the others are elsewhere
    }
}

INSTANTIATE_TEST_SUITE_P(FullTurns, InterferencePeriodTest,
                         ::testing::Values(Period{720.0f, 0}, Period{576.0f, 1},
                                           Period{540.0f, 2}),
                         [](const ::testing::TestParamInfo<Period>& info) {
                             return "Time" + std::to_string(int(info.param.time)) + "Grating" +
                                    std::to_string(info.param.grating);
                         });
