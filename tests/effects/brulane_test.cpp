// The voxel box effect through its real library: the cubes it sends to GL
// (seen by the GL tracer), its camera, what it leaves in the frame and in
// the GL state, and its grid carried from frame to frame.
#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "effect_fixture.h"
#include "gl_state.h"
#include "gl_trace.h"
#include "orvan_plugin.h"
#include "stdout_capture.h"

namespace {

struct Cube {
    int i = 0, j = 0, k = 0;  // the cell, from the translation
    std::vector<double> scale;
    std::vector<double> colour;
    std::vector<std::vector<double>> normals;
    std::vector<std::vector<double>> vertices;
    int batches = 0;

    bool operator==(const Cube& o) const
    {
        return std::tie(i, j, k, scale, colour) == std::tie(o.i, o.j, o.k, o.scale, o.colour);
    }
};

struct CubeFrame {
    std::vector<Cube> cubes;
    size_t pushes = 0;
    size_t pops = 0;
};

// The cubes of one Render, each from its glTranslatef to its glEnd.
CubeFrame Parse(const std::vector<GlTraceCall>& calls)
{
    CubeFrame frame;
    Cube* cube = nullptr;
    for (const GlTraceCall& call : calls) {
        if (call.name == "glPushMatrix") {
            ++frame.pushes;
        } else if (call.name == "glPopMatrix") {
            ++frame.pops;
            cube = nullptr;
        } else if (call.name == "glTranslatef") {
            frame.cubes.emplace_back();
            cube = &frame.cubes.back();
            cube->i = int(call.args[0]) + 16;
            cube->j = int(call.args[1]) + 16;
            cube->k = int(call.args[2]) + 16;
        } else if (!cube) {
            continue;
        } else if (call.name == "glScalef") {
            cube->scale = call.args;
        } else if (call.name == "glColor4f") {
            cube->colour = call.args;
        } else if (call.name == "glBegin") {
            ++cube->batches;
        } else if (call.name == "glNormal3f") {
            cube->normals.push_back(call.args);
        } else if (call.name == "glVertex3f") {
            cube->vertices.push_back(call.args);
        }
    }
    return frame;
}

CubeFrame TraceRender(Orvan_Plugin* plugin, float time)
{
    GlTraceRecording recording;
    plugin->Render(time);
    return Parse(GlTraceCalls());
}

// The source and the eye at a render time, in float as the effect takes
// them.
struct Pose {
    double source[3];
    double eye[3];
};

Pose PoseAt(float time)
{
    const float t = time / 5;
    auto fsin = [](float x) { return float(std::sin(double(x))); };
    auto fcos = [](float x) { return float(std::cos(double(x))); };
    Pose pose;
    pose.source[0] = float(10.0f * fsin(t / 12)) + 16.0f;
    pose.source[1] = float(10.0f * fcos(t / 20)) + 16.0f;
    pose.source[2] = float(10.0f * fsin(t / 17)) + 16.0f;
    pose.eye[0] = 20.0f * fsin(t / 34);
    pose.eye[1] = 20.0f * fcos(t / 32);
    pose.eye[2] = 20.0f * fsin(t / 30);
    return pose;
}

// The voxel box as its formulas give it, computed in float: the source's
// cell at a render time, the stamp, the in-place blur and the cubes drawn.
class VoxelBoxModel {
public:
    struct Cell {
        int i, j, k;
        float scale;  // the cube's half-size
    };

    // The cell the source stands in: each coordinate truncated toward zero.
    static void SourceCell(float time, int cell[3])
    {
        const Pose pose = PoseAt(time);
        for (int axis = 0; axis < 3; ++axis)
            cell[axis] = int(std::trunc(pose.source[axis]));
    }

    float At(const int cell[3]) const { return grid_[cell[0]][cell[1]][cell[2]]; }

    // One Render: the stamp replaces seven values, then one blur pass in
    // place. Returns the cells drawn, in drawing order.
    std::vector<Cell> Frame(float time)
    {
        int c[3];
        SourceCell(time, c);
        grid_[c[0]][c[1]][c[2]] = 64.0f;
        grid_[c[0] + 1][c[1]][c[2]] = 32.0f;
        grid_[c[0] - 1][c[1]][c[2]] = 32.0f;
        grid_[c[0]][c[1] + 1][c[2]] = 32.0f;
        grid_[c[0]][c[1] - 1][c[2]] = 32.0f;
        grid_[c[0]][c[1]][c[2] + 1] = 32.0f;
        grid_[c[0]][c[1]][c[2] - 1] = 32.0f;

        for (int i = 1; i <= 30; ++i)
            for (int j = 1; j <= 30; ++j)
                for (int k = 1; k <= 30; ++k) {
                    float sum = 0.0f;
                    for (int di = 1; di >= -1; --di)
                        for (int dj = 1; dj >= -1; --dj)
                            for (int dk = 1; dk >= -1; --dk)
                                sum = sum + grid_[i + di][j + dj][k + dk];
                    float v = float(sum / 27.0);
                    v = v * 0.55f;
                    grid_[i][j][k] = v;
                }

        std::vector<Cell> drawn;
        for (int i = 1; i <= 30; ++i)
            for (int j = 1; j <= 30; ++j)
                for (int k = 1; k <= 30; ++k) {
                    const float v = grid_[i][j][k];
                    if (v > 1.25e-5f) {
                        const float half = v / 2;
                        const float power = float(std::pow(double(half), double(0.2f)));
                        drawn.push_back(Cell{i, j, k, float(power + 0.0125)});
                    }
                }
        return drawn;
    }

private:
    float grid_[32][32][32] = {};
};

std::vector<double> Transform(const GLfloat m[16], const double p[3])
{
    std::vector<double> out(3);
    for (int row = 0; row < 3; ++row)
        out[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
    return out;
}

}  // namespace

class BrulaneTest : public EffectTest {
protected:
    static void SetUpTestSuite()
    {
        EffectTest::SetUpTestSuite();
        if (!plugin_) {
            plugin_ = LoadEffect("brulane.DLL");
            if (plugin_) {
                StdoutCapture quiet;
                plugin_->Init();
            }
        }
    }

    void SetUp() override
    {
        ASSERT_NE(plugin_, nullptr);
        ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
        ResetGLState();
    }

    // The effect leaves back faces outlined; the layers of other tests find
    // the start-up polygon mode.
    void TearDown() override { glPolygonMode(GL_FRONT_AND_BACK, GL_FILL); }

    static Orvan_Plugin* plugin_;
};

Orvan_Plugin* BrulaneTest::plugin_ = nullptr;

TEST_F(BrulaneTest, FirstFrameOfAFreshGridShowsTheInPlaceBlur)
{
    Orvan_Plugin* plugin = LoadFreshEffect("brulane");
    ASSERT_NE(plugin, nullptr);

    // Time 0: the source is (16, 26, 16). Blurring the stamp with reads
    // from the previous values alone would leave 81 cells alive; the
    // in-place pass, which carries new values on, leaves 822.
    const CubeFrame frame = TraceRender(plugin, 0.0f);
    ASSERT_EQ(frame.cubes.size(), 822u);
    EXPECT_EQ(GlTraceCount("glBegin"), 822u);
    EXPECT_EQ(GlTraceCount("glEnd"), 822u);
    // One pair around the whole grid and one around every interior cell,
    // drawn or not.
    EXPECT_EQ(frame.pushes, 27001u);
    EXPECT_EQ(frame.pops, 27001u);

    int lo[3] = {INT_MAX, INT_MAX, INT_MAX}, hi[3] = {INT_MIN, INT_MIN, INT_MIN};
    const Cube* source = nullptr;
    for (size_t n = 0; n < frame.cubes.size(); ++n) {
        const Cube& cube = frame.cubes[n];
        const int cell[3] = {cube.i, cube.j, cube.k};
        for (int axis = 0; axis < 3; ++axis) {
            lo[axis] = std::min(lo[axis], cell[axis]);
            hi[axis] = std::max(hi[axis], cell[axis]);
        }
        if (n > 0) {
            const Cube& prev = frame.cubes[n - 1];
            ASSERT_LT(std::tie(prev.i, prev.j, prev.k), std::tie(cube.i, cube.j, cube.k))
                << "cells out of order";
        }
        ASSERT_EQ(cube.colour, (std::vector<double>{cube.i / 32.0f, cube.j / 128.0f,
                                                    cube.k / 32.0f, 0.125f}));
        ASSERT_EQ(cube.scale.size(), 3u);
        ASSERT_EQ(cube.scale[0], cube.scale[1]);
        ASSERT_EQ(cube.scale[0], cube.scale[2]);
        // At the threshold of 1.25e-5 the half-size is 0.10353.
        ASSERT_GT(cube.scale[0], 0.10352);
        if (cube.i == 16 && cube.j == 26 && cube.k == 16)
            source = &cube;
    }
    EXPECT_EQ(lo[0], 14);
    EXPECT_EQ(hi[0], 23);
    EXPECT_EQ(lo[1], 21);
    EXPECT_EQ(hi[1], 30);
    EXPECT_EQ(lo[2], 10);
    EXPECT_EQ(hi[2], 22);

    // The half-size is (v / 2)^0.2 + 0.0125: the source cell holds about 4.25.
    ASSERT_NE(source, nullptr);
    EXPECT_NEAR(2.0 * std::pow(source->scale[0] - 0.0125, 5.0), 4.25, 0.01);
}

TEST_F(BrulaneTest, EveryFrameDrawsTheGridTheStampAndTheBlurGive)
{
    Orvan_Plugin* plugin = LoadFreshEffect("brulane");
    ASSERT_NE(plugin, nullptr);

    // Half a second at 60 frames a second, where the source stays in a cell
    // for several frames and is stamped over its own trail; then jumps
    // along the timeline, back to an earlier time and into the late demo.
    std::vector<float> times;
    for (int frame = 0; frame < 30; ++frame)
        times.push_back(250.0f + float(frame) * 100.0f / 60.0f);
    for (float time : {1234.5f, 1236.0f, 700.0f, 5000.25f, 98765.0f, 98766.5f})
        times.push_back(time);

    const auto model = std::make_unique<VoxelBoxModel>();  // 128 KiB of grid
    bool restamped = false;                             // a stamp cell held a value
    bool fractionAboveHalf[3] = {false, false, false};  // rounding would differ
    for (float time : times) {
        SCOPED_TRACE(testing::Message() << "time " << time);
        int cell[3];
        VoxelBoxModel::SourceCell(time, cell);
        const Pose pose = PoseAt(time);
        for (int axis = 0; axis < 3; ++axis) {
            ASSERT_GE(cell[axis], 6);
            ASSERT_LE(cell[axis], 26);
            if (pose.source[axis] - cell[axis] >= 0.5)
                fractionAboveHalf[axis] = true;
        }
        restamped = restamped || model->At(cell) > 1.0f;

        const std::vector<VoxelBoxModel::Cell> expected = model->Frame(time);
        const CubeFrame frame = TraceRender(plugin, time);
        ASSERT_EQ(frame.cubes.size(), expected.size());
        for (size_t n = 0; n < expected.size(); ++n) {
            const Cube& cube = frame.cubes[n];
            const VoxelBoxModel::Cell& want = expected[n];
            ASSERT_EQ(std::tie(cube.i, cube.j, cube.k), std::tie(want.i, want.j, want.k))
                << "cube " << n;
            ASSERT_NEAR(cube.scale[0], want.scale, 1e-6 * want.scale)
                << "cell " << want.i << "," << want.j << "," << want.k;
        }
    }
    // What the frames above must reach for the check to mean anything.
    EXPECT_TRUE(restamped);
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_TRUE(fractionAboveHalf[axis]) << axis;
}

TEST_F(BrulaneTest, EveryCubeIsSixFacesWithTheirNormalsInOneBatch)
{
    const CubeFrame frame = TraceRender(plugin_, 1234.0f);
    ASSERT_FALSE(frame.cubes.empty());
    const std::vector<std::vector<double>> normals = {{0, 0, 1},  {0, 0, -1}, {0, 1, 0},
                                                      {0, -1, 0}, {1, 0, 0},  {-1, 0, 0}};
    const std::vector<std::vector<double>> vertices = {
        {-1, -1, 1},  {1, -1, 1},   {1, 1, 1},   {-1, 1, 1},   // front
        {-1, -1, -1}, {-1, 1, -1},  {1, 1, -1},  {1, -1, -1},  // back
        {-1, 1, -1},  {-1, 1, 1},   {1, 1, 1},   {1, 1, -1},   // top
        {-1, -1, -1}, {1, -1, -1},  {1, -1, 1},  {-1, -1, 1},  // bottom
        {1, -1, -1},  {1, 1, -1},   {1, 1, 1},   {1, -1, 1},   // right
        {-1, -1, -1}, {-1, -1, 1},  {-1, 1, 1},  {-1, 1, -1},  // left
    };
    for (const Cube& cube : frame.cubes) {
        SCOPED_TRACE(testing::Message() << cube.i << "," << cube.j << "," << cube.k);
        ASSERT_EQ(cube.batches, 1);
        ASSERT_EQ(cube.normals, normals);
        ASSERT_EQ(cube.vertices, vertices);
        // Drawn cells are interior ones.
        ASSERT_GE(std::min({cube.i, cube.j, cube.k}), 1);
        ASSERT_LE(std::max({cube.i, cube.j, cube.k}), 30);
    }

    // Every quad goes out in its cube's batch: the face order within a
    // batch is the only order of the calls.
    GlTraceRecording recording;
    plugin_->Render(1235.0f);
    bool inBatch = false;
    for (const GlTraceCall& call : GlTraceCalls()) {
        if (call.name == "glBegin") {
            ASSERT_EQ(call.args[0], double(GL_QUADS));
            inBatch = true;
        } else if (call.name == "glEnd") {
            inBatch = false;
        } else if (call.name == "glVertex3f" || call.name == "glNormal3f") {
            ASSERT_TRUE(inBatch) << call.name << " outside a batch";
        } else {
            ASSERT_FALSE(inBatch) << call.name << " inside a batch";
        }
    }
}

TEST_F(BrulaneTest, SetsItsStateInOrderAndLeavesItForTheLayersAbove)
{
    // What lower layers may have left: all of it either overridden or kept.
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glLineWidth(3.0f);
    glClearColor(0.1f, 0.2f, 0.3f, 0.4f);

    std::vector<GlTraceCall> calls;
    {
        GlTraceRecording recording;
        plugin_->Render(317.0f);
        calls = GlTraceCalls();
    }
    auto is = [](const GlTraceCall& call, const char* name, std::vector<double> args) {
        return call.name == name && call.args == args;
    };
    ASSERT_GE(calls.size(), 12u);
    EXPECT_TRUE(is(calls[0], "glClear", {double(GL_DEPTH_BUFFER_BIT)}));
    EXPECT_TRUE(is(calls[1], "glLoadIdentity", {}));
    EXPECT_TRUE(is(calls[2], "glDisable", {double(GL_TEXTURE_2D)}));
    EXPECT_TRUE(is(calls[3], "glEnable", {double(GL_BLEND)}));
    EXPECT_TRUE(is(calls[4], "glPolygonMode", {double(GL_FRONT_AND_BACK), double(GL_LINE)}));
    // The look-at goes out as matrix products alone.
    size_t n = 5;
    while (n < calls.size() && (calls[n].name.rfind("glMult", 0) == 0 ||
                                calls[n].name.rfind("glTranslate", 0) == 0))
        ++n;
    EXPECT_GT(n, 5u);
    ASSERT_LT(n + 5, calls.size());
    EXPECT_TRUE(is(calls[n], "glDisable", {double(GL_CULL_FACE)}));
    EXPECT_TRUE(is(calls[n + 1], "glPolygonMode", {double(GL_FRONT), double(GL_FILL)}));
    EXPECT_TRUE(is(calls[n + 2], "glBlendFunc", {double(GL_SRC_ALPHA), double(GL_ONE)}));
    EXPECT_TRUE(is(calls[n + 3], "glDisable", {double(GL_DEPTH_TEST)}));
    EXPECT_TRUE(is(calls[n + 4], "glPushMatrix", {}));
    EXPECT_TRUE(is(calls[calls.size() - 2], "glPopMatrix", {}));
    EXPECT_TRUE(is(calls.back(), "glEnable", {double(GL_CULL_FACE)}));
    EXPECT_EQ(GlTraceCount("glClear"), 1u);
    EXPECT_EQ(GlTraceCount("glBindTexture"), 0u);

    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLint polygonMode[2] = {};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(GlInteger(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(GlInteger(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(GlInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(GlInteger(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(polygonMode[0], GL_FILL);  // front
    EXPECT_EQ(polygonMode[1], GL_LINE);  // back
    GLfloat lineWidth = 0, clear[4] = {};
    glGetFloatv(GL_LINE_WIDTH, &lineWidth);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(lineWidth, 3.0f);
    EXPECT_EQ(clear[0], 0.1f);
    EXPECT_EQ(clear[3], 0.4f);

    // The last cube's colour and the last face's normal stay current.
    const CubeFrame frame = Parse(calls);
    ASSERT_FALSE(frame.cubes.empty());
    GLfloat colour[4], normal[3];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    const std::vector<double>& last = frame.cubes.back().colour;
    EXPECT_EQ(std::vector<double>(colour, colour + 4), last);
    EXPECT_EQ(normal[0], -1.0f);
    EXPECT_EQ(normal[1], 0.0f);
    EXPECT_EQ(normal[2], 0.0f);

    glDisable(GL_LIGHTING);
    glLineWidth(1.0f);
}

TEST_F(BrulaneTest, CameraLooksAtTheExactSourceFromItsOrbit)
{
    // Time 0 puts the eye (0, 20, 0) straight above the look-at point
    // (0, 10, 0): the view runs along the up vector, and the values still go
    // to GLU unchanged.
    for (float time : {0.0f, 317.0f, 1000.5f, 4321.0f, 98765.0f}) {
        SCOPED_TRACE(time);
        ResetGLState();
        plugin_->Render(time);
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        for (float value : m)
            ASSERT_TRUE(std::isfinite(value));

        const Pose pose = PoseAt(time);
        const double centre[3] = {pose.source[0] - 16, pose.source[1] - 16,
                                  pose.source[2] - 16};
        const double distance = std::sqrt(std::pow(centre[0] - pose.eye[0], 2) +
                                          std::pow(centre[1] - pose.eye[1], 2) +
                                          std::pow(centre[2] - pose.eye[2], 2));
        const std::vector<double> eye = Transform(m, pose.eye);
        const std::vector<double> target = Transform(m, centre);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(eye[axis], 0.0, 1e-4) << axis;
        EXPECT_NEAR(target[0], 0.0, 1e-4);
        EXPECT_NEAR(target[1], 0.0, 1e-4);
        EXPECT_NEAR(target[2], -distance, 1e-4);

        // Up is (0, 1, 0): with f the unit view direction, the world's up
        // turns into (0, sqrt(1 - f_y^2), -f_y) in eye space; at time 0,
        // looking straight down, GLU's side vector vanishes and so does its y.
        const double fy = (centre[1] - pose.eye[1]) / distance;
        const double up[3] = {m[4], m[5], m[6]};
        EXPECT_NEAR(up[0], 0.0, 1e-4);
        EXPECT_NEAR(up[1], std::sqrt(1.0 - fy * fy), 1e-4);
        EXPECT_NEAR(up[2], -fy, 1e-4);
    }
}

TEST_F(BrulaneTest, AddsOntoTheFrameAndClearsOnlyTheDepthBuffer)
{
    glClearColor(0.0f, 0.0f, 0.2f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // A depth buffer at the nearest depth would hide everything if the
    // effect tested depth or failed to clear it with the value it finds.
    glClearDepth(0.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    const Pixel background = ReadBackPixel(0, 0);
    ASSERT_EQ(background.b, 51);

    plugin_->Render(1500.0f);

    const std::string pixels = ReadBackBuffer();
    size_t lit = 0, darker = 0;
    for (size_t p = 0; p < pixels.size(); p += 4) {
        const int r = static_cast<unsigned char>(pixels[p]);
        const int b = static_cast<unsigned char>(pixels[p + 2]);
        lit += r > 0 ? 1 : 0;
        darker += b < background.b ? 1 : 0;
    }
    EXPECT_EQ(darker, 0u) << "cubes must only add onto the frame";
    EXPECT_GT(lit, 1000u);
    EXPECT_LT(lit, pixels.size() / 4) << "the whole frame is covered";

    // The camera looks at the source: the middle of the frame shows cubes.
    EXPECT_GT(ReadBackPixel(320, 240).r, 0);

    std::vector<GLfloat> depth(640 * 480);
    glReadPixels(0, 0, 640, 480, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    EXPECT_EQ(std::count(depth.begin(), depth.end(), 1.0f), long(depth.size()))
        << "the depth buffer is cleared and nothing written to it";
}

TEST_F(BrulaneTest, GridCarriesOverInitAndTriggersAndRendersOnlyChangeIt)
{
    // Two copies fed the same frames, one of them also given triggers and
    // Init calls in between; a third starts later with a fresh grid.
    Orvan_Plugin* busy = LoadFreshEffect("brulane");
    Orvan_Plugin* plain = LoadFreshEffect("brulane");
    Orvan_Plugin* late = LoadFreshEffect("brulane");
    ASSERT_NE(busy, nullptr);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(late, nullptr);

    EXPECT_EQ(TraceRender(busy, 0.0f).cubes, TraceRender(plain, 0.0f).cubes);

    const int ids[] = {INT_MIN, -1, 0, 1, 2, 3, 4, INT_MAX};
    for (int id : ids) {
        EXPECT_EQ(busy->Trigger(10.0f, id, 1, 0), 0) << id;
        EXPECT_EQ(busy->Trigger(-3.0f, id, INT_MIN, 7), 0) << id;
    }

    glDisable(GL_TEXTURE_2D);
    {
        StdoutCapture capture;
        busy->Init();
        EXPECT_EQ(capture.Finish(), "debug:[brulane plugin initalziation called]\n");
    }
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glDisable(GL_TEXTURE_2D);
    {
        StdoutCapture capture;
        busy->Init();
        EXPECT_EQ(capture.Finish(),
                  "debug:[Warning - plugin already initalized\n"
                  "]\n"
                  "debug:[brulane plugin initalziation called]\n");
    }
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

    for (float time : {5.0f, 9.0f, 400.0f}) {
        SCOPED_TRACE(time);
        const CubeFrame busyFrame = TraceRender(busy, time);
        const CubeFrame plainFrame = TraceRender(plain, time);
        EXPECT_EQ(busyFrame.cubes, plainFrame.cubes);
        // The grid keeps the trail of the earlier frames.
        const CubeFrame lateFrame = TraceRender(late, time);
        EXPECT_GT(busyFrame.cubes.size(), lateFrame.cubes.size());
        late = LoadFreshEffect("brulane");
        ASSERT_NE(late, nullptr);
    }

    char name[40];
    memset(name, 0x5A, sizeof name);
    EXPECT_EQ(busy->GetName(name), 0);
    EXPECT_EQ(memcmp(name, "Brulane box Plugin", 19), 0);  // with the NUL
    EXPECT_EQ(name[19], 0x5A);
}
