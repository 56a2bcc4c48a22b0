// The cube arms effect through its real library: the cubes of its six arms
// (seen by the GL tracer with the modelview at each cube), its spin and bend
// over time, its time-shift trigger, the GL state it leaves and the picture.
#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <climits>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "effect_fixture.h"
#include "gl_state.h"
#include "gl_trace.h"
#include "orvan_plugin.h"
#include "stdout_capture.h"

namespace {

const int kArms = 6;
const int kCubesPerArm = 99;
const int kCubes = kArms * kCubesPerArm;

using Vec = std::array<double, 3>;

// The arm directions in drawing order, as unit vectors.
const Vec kArmAxes[kArms] = {{1, 0, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};

struct Cube {
    std::vector<float> modelview;
    std::vector<std::vector<double>> normals;
    std::vector<std::vector<double>> texCoords;
    std::vector<std::vector<double>> vertices;
};

struct ArmsFrame {
    std::vector<GlTraceCall> calls;
    std::vector<Cube> cubes;
    std::vector<std::vector<double>> rotations;
};

ArmsFrame TraceRender(Orvan_Plugin* plugin, float time)
{
    ArmsFrame frame;
    {
        GlTraceRecording recording;
        plugin->Render(time);
        frame.calls = GlTraceCalls();
    }
    Cube* cube = nullptr;
    for (const GlTraceCall& call : frame.calls) {
        if (call.name == "glBegin") {
            frame.cubes.emplace_back();
            cube = &frame.cubes.back();
            cube->modelview = call.modelview;
        } else if (call.name == "glEnd") {
            cube = nullptr;
        } else if (call.name == "glRotatef") {
            frame.rotations.push_back(call.args);
        } else if (cube && call.name == "glNormal3f") {
            cube->normals.push_back(call.args);
        } else if (cube && call.name == "glTexCoord2f") {
            cube->texCoords.push_back(call.args);
        } else if (cube && call.name == "glVertex3f") {
            cube->vertices.push_back(call.args);
        }
    }
    return frame;
}

// Eye-space centre of a cube and its half-size (the matrices are uniform
// scales times rotations).
Vec Centre(const Cube& cube)
{
    const std::vector<float>& m = cube.modelview;
    return Vec{m[12], m[13], m[14]};
}

double HalfSize(const Cube& cube)
{
    const std::vector<float>& m = cube.modelview;
    return std::sqrt(double(m[0]) * m[0] + double(m[1]) * m[1] + double(m[2]) * m[2]);
}

std::vector<float> CurrentModelview()
{
    std::vector<float> m(16);
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// The modelview at every cube: the whole figure, compared exactly.
std::vector<std::vector<float>> Placement(const ArmsFrame& frame)
{
    std::vector<std::vector<float>> out;
    for (const Cube& cube : frame.cubes)
        out.push_back(cube.modelview);
    return out;
}

class Sorvel2Test : public EffectTest {
protected:
    static void SetUpTestSuite()
    {
        EffectTest::SetUpTestSuite();
        if (!plugin_)
            plugin_ = LoadEffect("sorvel2.DLL");
    }

    void SetUp() override
    {
        ASSERT_NE(plugin_, nullptr);
        ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
        ResetGLState();
    }

    void TearDown() override
    {
        // An arm nests more pushes than the modelview stack holds: the
        // refused pushes and pops leave errors behind.
        while (glGetError() != GL_NO_ERROR) {
        }
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }

    static Orvan_Plugin* plugin_;
};

Orvan_Plugin* Sorvel2Test::plugin_ = nullptr;

}  // namespace

TEST_F(Sorvel2Test, ScriptsAddressItByItsDisplayName)
{
    char name[64] = {};
    EXPECT_EQ(plugin_->GetName(name), 0);
    EXPECT_STREQ(name, "Sorvels 2 plugin");
}

TEST_F(Sorvel2Test, InitLogsOnlyItsMessageAndTouchesNoGLState)
{
    // A new object of the library: its first Init.
    Orvan_Plugin* fresh = LoadEffect("sorvel2.DLL");
    ASSERT_NE(fresh, nullptr);
    StdoutCapture capture;
    GlTraceRecording recording;
    fresh->Init();
    EXPECT_TRUE(GlTraceCalls().empty());
    EXPECT_EQ(capture.Finish(), "debug:[sorvels 2 plugin initalziation called]\n");
}

TEST_F(Sorvel2Test, EveryFrameIs594CubesOfSixQuadsBetweenItsStateChanges)
{
    const ArmsFrame frame = TraceRender(plugin_, 1234.0f);
    const std::vector<GlTraceCall>& calls = frame.calls;
    struct Expected {
        const char* name;
        std::vector<double> args;
    };
    const std::vector<Expected> head = {
        {"glClear", {double(GL_DEPTH_BUFFER_BIT)}},
        {"glDisable", {double(GL_TEXTURE_2D)}},
        {"glDisable", {double(GL_BLEND)}},
        {"glLoadIdentity", {}},
        {"glColor4f", {1, 1, 1, 1}},
        {"glEnable", {double(GL_LIGHTING)}},
        {"glEnable", {double(GL_LIGHT1)}},
        {"glTranslatef", {0, 0, -25}},
        {"glRotatef", {123.4f, 1, 1, 1}},
        {"glPushMatrix", {}},
    };
    const std::vector<Expected> tail = {
        {"glPopMatrix", {}},
        {"glPolygonMode", {double(GL_FRONT_AND_BACK), double(GL_FILL)}},
        {"glDisable", {double(GL_LIGHTING)}},
        {"glDisable", {double(GL_LIGHT1)}},
    };
    ASSERT_GT(calls.size(), head.size() + tail.size());
    for (size_t i = 0; i < head.size(); ++i) {
        EXPECT_EQ(calls[i].name, head[i].name) << i;
        EXPECT_EQ(calls[i].args, head[i].args) << i;
    }
    for (size_t i = 0; i < tail.size(); ++i) {
        const GlTraceCall& call = calls[calls.size() - tail.size() + i];
        EXPECT_EQ(call.name, tail[i].name) << i;
        EXPECT_EQ(call.args, tail[i].args) << i;
    }

    // Per arm: the arm's push, 99 links that each shrink the matrix their
    // caller pushed, push, bend twice, step, set colour and line width and
    // draw a cube, then the 99 links' pops and the arm's own.
    std::vector<std::string> shape;
    bool inCube = false;
    for (size_t i = head.size() - 1; i < calls.size() - tail.size() + 1; ++i) {
        const std::string& name = calls[i].name;
        if (name == "glBegin") {
            shape.push_back("cube");
            inCube = true;
        } else if (name == "glEnd") {
            inCube = false;
        } else if (!inCube) {
            shape.push_back(name);
        }
    }
    std::vector<std::string> expectedShape;
    for (int arm = 0; arm < kArms; ++arm) {
        expectedShape.push_back("glPushMatrix");
        for (int link = 0; link < kCubesPerArm; ++link) {
            for (const char* name : {"glScalef", "glPushMatrix", "glRotatef", "glRotatef",
                                     "glTranslatef", "glColor3f", "glLineWidth", "cube"})
                expectedShape.push_back(name);
        }
        expectedShape.insert(expectedShape.end(), kCubesPerArm + 1, "glPopMatrix");
    }
    EXPECT_TRUE(shape == expectedShape) << "the links are not nested as drawn";

    // One push and pop per arm and per link; per link one shrink, two bends,
    // one step, the colour and the line width.
    EXPECT_EQ(GlTraceCount("glBegin"), size_t(kCubes));
    EXPECT_EQ(GlTraceCount("glEnd"), size_t(kCubes));
    EXPECT_EQ(GlTraceCount("glPushMatrix"), size_t(kArms + kCubes));
    EXPECT_EQ(GlTraceCount("glPopMatrix"), size_t(kArms + kCubes));
    EXPECT_EQ(GlTraceCount("glRotatef"), size_t(1 + 2 * kCubes));
    EXPECT_EQ(GlTraceCount("glTranslatef"), size_t(1 + kCubes));
    EXPECT_EQ(GlTraceCount("glLightfv"), 0u);
    EXPECT_EQ(GlTraceCount("glMaterialfv"), 0u);
    std::set<std::vector<double>> scales, colours, widths;
    for (const GlTraceCall& call : calls) {
        if (call.name == "glScalef")
            scales.insert(call.args);
        else if (call.name == "glColor3f")
            colours.insert(call.args);
        else if (call.name == "glLineWidth")
            widths.insert(call.args);
    }
    EXPECT_EQ(GlTraceCount("glScalef"), size_t(kCubes));
    EXPECT_EQ(scales, (std::set<std::vector<double>>{{0.9f, 0.9f, 0.9f}}));
    EXPECT_EQ(GlTraceCount("glColor3f"), size_t(kCubes));
    EXPECT_EQ(colours, (std::set<std::vector<double>>{{1, 1, 1}}));
    EXPECT_EQ(GlTraceCount("glLineWidth"), size_t(kCubes));
    EXPECT_EQ(widths, (std::set<std::vector<double>>{{2}}));

    for (const Cube& cube : frame.cubes) {
        ASSERT_EQ(cube.normals.size(), 6u);
        ASSERT_EQ(cube.texCoords.size(), 24u);
        ASSERT_EQ(cube.vertices.size(), 24u);
    }
}

TEST_F(Sorvel2Test, TheCubeIsSixOutwardFacesWoundCounterClockwise)
{
    const ArmsFrame frame = TraceRender(plugin_, 0.0f);
    ASSERT_FALSE(frame.cubes.empty());
    const Cube& cube = frame.cubes.front();
    ASSERT_EQ(cube.vertices.size(), 24u);
    std::set<std::vector<double>> normals;
    for (int face = 0; face < 6; ++face) {
        SCOPED_TRACE(face);
        const std::vector<double>& n = cube.normals[face];
        normals.insert(n);
        std::set<std::vector<double>> corners, texCorners;
        for (int k = 0; k < 4; ++k) {
            const std::vector<double>& v = cube.vertices[face * 4 + k];
            EXPECT_EQ(n[0] * v[0] + n[1] * v[1] + n[2] * v[2], 1.0);  // on the face's plane
            for (double c : v)
                EXPECT_EQ(std::fabs(c), 1.0);
            corners.insert(v);
            texCorners.insert(cube.texCoords[face * 4 + k]);
            // Each corner turns left about the outward normal.
            const std::vector<double>& a = cube.vertices[face * 4 + k];
            const std::vector<double>& b = cube.vertices[face * 4 + (k + 1) % 4];
            const std::vector<double>& c = cube.vertices[face * 4 + (k + 2) % 4];
            const Vec e1{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            const Vec e2{c[0] - b[0], c[1] - b[1], c[2] - b[2]};
            const Vec turn{e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                           e1[0] * e2[1] - e1[1] * e2[0]};
            EXPECT_GT(turn[0] * n[0] + turn[1] * n[1] + turn[2] * n[2], 0.0);
        }
        EXPECT_EQ(corners.size(), 4u);
        EXPECT_EQ(texCorners,
                  (std::set<std::vector<double>>{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    }
    EXPECT_EQ(normals.size(), 6u);
    // The first face as the cube sends it.
    EXPECT_EQ(cube.normals[0], (std::vector<double>{0, 0, 1}));
    EXPECT_EQ(cube.texCoords[0], (std::vector<double>{0, 0}));
    EXPECT_EQ(cube.vertices[0], (std::vector<double>{-1, -1, 1}));
}

TEST_F(Sorvel2Test, AtTimeZeroSixStraightArmsOfShrinkingCubes)
{
    const ArmsFrame frame = TraceRender(plugin_, 0.0f);
    ASSERT_EQ(frame.cubes.size(), size_t(kCubes));
    for (const std::vector<double>& rotation : frame.rotations)
        EXPECT_EQ(rotation[0], 0.0);

    // Cube k sits 2 (0.9 + ... + 0.9^k) out along its arm, half-size 0.9^k:
    // 1.8, 3.42, 4.878, ... towards 18. Every arm, the deep links past the
    // modelview stack's depth included.
    for (int arm = 0; arm < kArms; ++arm) {
        double distance = 0.0, size = 1.0;
        for (int k = 1; k <= kCubesPerArm; ++k) {
            SCOPED_TRACE(testing::Message() << "arm " << arm << ", cube " << k);
            size *= 0.9;
            distance += 2.0 * size;
            const Cube& cube = frame.cubes[arm * kCubesPerArm + (k - 1)];
            const Vec c = Centre(cube);
            const Vec expected{kArmAxes[arm][0] * distance, kArmAxes[arm][1] * distance,
                               -25.0 + kArmAxes[arm][2] * distance};
            for (int i = 0; i < 3; ++i)
                ASSERT_NEAR(c[i], expected[i], 1e-4);
            ASSERT_NEAR(HalfSize(cube) / size, 1.0, 1e-4);
        }
        EXPECT_LT(distance, 18.0);
    }
    EXPECT_NEAR(HalfSize(frame.cubes[kCubesPerArm - 1]), 2.95e-5, 0.01e-5);
    EXPECT_NEAR(Centre(frame.cubes[0])[0], 1.8, 1e-6);
    EXPECT_NEAR(Centre(frame.cubes[1])[0], 3.42, 1e-6);
    EXPECT_NEAR(Centre(frame.cubes[2])[0], 4.878, 1e-6);
}

TEST_F(Sorvel2Test, SpinAndBendFollowTheTimeWithAxesByArmDirection)
{
    struct Case {
        float time;
        double spin;  // degrees
        double bend;  // degrees per link
    };
    const Case cases[] = {{0.0f, 0.0, 0.0}, {1000.0f, 100.0, 5.929}, {10000.0f, 1000.0, -7.176}};
    // First and second bend axis of each arm's links, by direction.
    const std::array<std::array<double, 3>, 2> axes[kArms] = {
        {{{0, 0, 1}, {0, 1, 1}}}, {{{0, 0, 1}, {0, 1, 1}}}, {{{1, 0, 0}, {1, 0, 1}}},
        {{{1, 0, 0}, {1, 0, 1}}}, {{{0, 1, 0}, {0, 1, 1}}}, {{{0, 1, 0}, {0, 1, 1}}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        const ArmsFrame frame = TraceRender(plugin_, c.time);
        ASSERT_EQ(frame.rotations.size(), size_t(1 + 2 * kCubes));
        EXPECT_EQ(frame.rotations[0], (std::vector<double>{c.spin, 1, 1, 1}));
        const double bend = frame.rotations[1][0];
        EXPECT_NEAR(bend, c.bend, 5e-4);
        for (int arm = 0; arm < kArms; ++arm) {
            for (int link = 0; link < kCubesPerArm; ++link) {
                for (int r = 0; r < 2; ++r) {
                    const std::vector<double>& rotation =
                        frame.rotations[1 + 2 * (arm * kCubesPerArm + link) + r];
                    const std::array<double, 3>& axis = axes[arm][r];
                    ASSERT_EQ(rotation, (std::vector<double>{bend, axis[0], axis[1], axis[2]}))
                        << "arm " << arm << ", link " << link << ", rotation " << r;
                }
            }
        }
    }
}

TEST_F(Sorvel2Test, TriggerThreeShiftsTheTimeByTenTimesItsValueUntilTheNext)
{
    const float time = 1700.0f;
    const std::vector<std::vector<float>> later = Placement(TraceRender(plugin_, time + 300.0f));
    const std::vector<std::vector<float>> now = Placement(TraceRender(plugin_, time));
    ASSERT_NE(later, now);

    EXPECT_EQ(plugin_->Trigger(5.0f, 3, 30, 9), 0);
    EXPECT_EQ(Placement(TraceRender(plugin_, time)), later);

    // Other ids leave the offset, across frames.
    for (int id : {INT_MIN, -3, 0, 1, 2, 4, 5, INT_MAX}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(plugin_->Trigger(0.0f, id, 777, 0), 0);
    }
    EXPECT_EQ(Placement(TraceRender(plugin_, time)), later);
    EXPECT_EQ(Placement(TraceRender(plugin_, time)), later);

    // A value v advances the spin by v degrees.
    EXPECT_EQ(plugin_->Trigger(0.0f, 3, 7, 0), 0);
    EXPECT_EQ(TraceRender(plugin_, 0.0f).rotations.at(0), (std::vector<double>{7, 1, 1, 1}));

    // The product is a 32-bit one: it wraps instead of overflowing.
    EXPECT_EQ(plugin_->Trigger(0.0f, 3, INT_MAX, 0), 0);
    EXPECT_EQ(TraceRender(plugin_, 10.0f).rotations.at(0), (std::vector<double>{0, 1, 1, 1}));

    EXPECT_EQ(plugin_->Trigger(0.0f, 3, 0, 0), 0);
    EXPECT_EQ(Placement(TraceRender(plugin_, time)), now);
}

TEST_F(Sorvel2Test, LeavesItsStateForTheLayersAboveAndTheRestAsItFoundIt)
{
    // A lower layer's state: the effect overrides some, keeps the rest.
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glLineWidth(1.0f);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    glDisable(GL_CULL_FACE);
    glEnable(GL_NORMALIZE);
    glDepthFunc(GL_GREATER);
    glDisable(GL_DEPTH_TEST);
    const GLfloat diffuse[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glTranslatef(1.0f, 2.0f, 3.0f);

    plugin_->Render(4321.0f);

    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    GLint polygonMode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(polygonMode[0], GL_FILL);
    EXPECT_EQ(polygonMode[1], GL_FILL);
    GLfloat width = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 2.0f);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(colour[i], 1.0f) << i;

    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(GlInteger(GL_DEPTH_FUNC), GL_GREATER);
    EXPECT_EQ(GlInteger(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(GlInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    GLfloat lightDiffuse[4];
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, lightDiffuse);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(lightDiffuse[i], diffuse[i]) << i;

    // The figure's frame: identity, the step back, the spin of 432.1 degrees.
    const std::vector<float> left = CurrentModelview();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -25.0f);
    glRotatef(432.1f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(left, CurrentModelview());

    glDisable(GL_NORMALIZE);
    glEnable(GL_CULL_FACE);
}

TEST_F(Sorvel2Test, LitArmsOverTheLowerLayerAndLineModeFromBelowShowsEdgesOnly)
{
    // Light 1 as the player's start-up gives it (the blob effect's Init).
    const GLfloat ambient[4] = {0.3f, 0.3f, 0.5f, 1.0f};
    const GLfloat diffuse[4] = {0.5f, 0.8f, 1.0f, 1.0f};
    const GLfloat position[4] = {10.0f, 10.0f, 20.0f, 10.0f};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, diffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, position);

    // The first cube of the +x arm at time 0: the middle of its front face.
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -25.0f);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx, wy, wz;
    gluProject(1.8, 0.0, 0.9, modelview, projection, viewport, &wx, &wy, &wz);
    const int faceX = int(wx), faceY = int(wy);
    glLoadIdentity();

    for (GLenum lowerMode : {GLenum(GL_FILL), GLenum(GL_LINE)}) {
        SCOPED_TRACE(lowerMode == GL_FILL ? "fill" : "line");
        glClearColor(0.4f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        const Pixel fill = ReadBackPixel(0, 0);
        glPolygonMode(GL_FRONT_AND_BACK, lowerMode);

        plugin_->Render(0.0f);

        const Pixel corner = ReadBackPixel(5, 5);
        EXPECT_EQ(corner.r, fill.r);
        EXPECT_EQ(corner.b, fill.b);
        const Pixel face = ReadBackPixel(faceX, faceY);
        if (lowerMode == GL_FILL) {
            EXPECT_GT(face.b, face.r + 20);  // the light's colours, not the red below
            EXPECT_GT(face.b, 60);
        } else {
            EXPECT_EQ(face.r, fill.r);
            EXPECT_EQ(face.b, fill.b);
        }
        ResetGLState();
    }
}
