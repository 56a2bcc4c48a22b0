// The blob sphere effect through its real library: its light and size at
// Init, its size trigger, the mesh it sends to GL (seen by the GL tracer),
// the GL state it leaves and the picture it draws.
#include <GL/gl.h>
#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "effect_fixture.h"
#include "gl_state.h"
#include "gl_trace.h"
#include "orvan_plugin.h"
#include "stdout_capture.h"

namespace {

const int kDivisions = 40;
const int kColumns = kDivisions + 1;  // vertices per row
const int kVertexCount = kColumns * kColumns;
const int kTriangleCount = 2 * kDivisions * kDivisions;

using Vec = std::array<double, 3>;

struct Triangle {
    Vec normal;
    std::array<Vec, 3> corners;
};

// One Render as the tracer saw it.
struct BlobFrame {
    std::vector<GlTraceCall> calls;
    std::vector<Triangle> triangles;
    // Vertex positions by mesh index, recovered through the triangles'
    // corner indices; consistent is false when one index showed two places.
    std::vector<Vec> vertices;
    bool consistent = true;
    std::vector<double> scale;  // the glScalef arguments
};

// Corner indices of triangle t: two per cell, rows from the +y pole down.
std::array<int, 3> CornerIndices(int t)
{
    const int r = (t / 2) / kDivisions;
    const int c = (t / 2) % kDivisions;
    if (t % 2 == 0)
        return {r * kColumns + c, (r + 1) * kColumns + c, r * kColumns + c + 1};
    return {r * kColumns + c + 1, (r + 1) * kColumns + c, (r + 1) * kColumns + c + 1};
}

Vec ToVec(const std::vector<double>& args)
{
    return Vec{args.at(0), args.at(1), args.at(2)};
}

BlobFrame TraceRender(Orvan_Plugin* plugin, float time)
{
    BlobFrame frame;
    {
        GlTraceRecording recording;
        plugin->Render(time);
        frame.calls = GlTraceCalls();
    }
    Triangle current{};
    int corner = -1;
    for (const GlTraceCall& call : frame.calls) {
        if (call.name == "glScalef") {
            frame.scale = call.args;
        } else if (call.name == "glNormal3fv") {
            current.normal = ToVec(call.args);
            corner = 0;
        } else if (call.name == "glVertex3fv" && corner >= 0 && corner < 3) {
            current.corners[corner++] = ToVec(call.args);
            if (corner == 3)
                frame.triangles.push_back(current);
        }
    }
    frame.vertices.assign(kVertexCount, Vec{NAN, NAN, NAN});
    std::vector<bool> seen(kVertexCount, false);
    for (int t = 0; t < int(frame.triangles.size()) && t < kTriangleCount; ++t) {
        const std::array<int, 3> indices = CornerIndices(t);
        for (int k = 0; k < 3; ++k) {
            const int i = indices[k];
            if (seen[i] && frame.vertices[i] != frame.triangles[t].corners[k])
                frame.consistent = false;
            frame.vertices[i] = frame.triangles[t].corners[k];
            seen[i] = true;
        }
    }
    for (bool s : seen)
        frame.consistent = frame.consistent && s;
    return frame;
}

Vec Sub(const Vec& a, const Vec& b)
{
    return Vec{a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vec Cross(const Vec& a, const Vec& b)
{
    return Vec{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Dot(const Vec& a, const Vec& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

bool Finite(const Vec& v)
{
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

double MaxAbsCoordinate(const Vec& v)
{
    return std::fmax(std::fabs(v[0]), std::fmax(std::fabs(v[1]), std::fabs(v[2])));
}

// Stream times (hundredths of a second) where the amplitude factor
// k = (sin t + 1) * 2 + 1 is at its ends.
const float kTimeAmplitudeOne = 471.2389f;   // t = 3 pi / 2: k = 1
const float kTimeAmplitudeFive = 157.0796f;  // t = pi / 2: k = 5

std::string LibraryPath()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return "tessik.so";
    const std::string exe(path, size_t(length));
    return exe.substr(0, exe.rfind('/') + 1) + "tessik.so";
}

class TessikTest : public EffectTest {
protected:
    static void SetUpTestSuite()
    {
        EffectTest::SetUpTestSuite();
        if (plugin_)
            return;
        // The library's state before any Init is only seen when this suite
        // is the first to load it.
        void* loaded = dlopen(LibraryPath().c_str(), RTLD_NOW | RTLD_NOLOAD);
        freshLibrary_ = loaded == nullptr;
        if (loaded)
            dlclose(loaded);
        plugin_ = LoadEffect("tessik.DLL");
        if (!plugin_)
            return;
        if (freshLibrary_) {
            ResetGLState();
            beforeInit_ = new BlobFrame(TraceRender(plugin_, 0.0f));
        }
        ResetGLState();
        StdoutCapture quiet;
        plugin_->Init();
    }

    void SetUp() override
    {
        ASSERT_NE(plugin_, nullptr);
        ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
        ResetGLState();
    }

    static Orvan_Plugin* plugin_;
    static bool freshLibrary_;
    static BlobFrame* beforeInit_;
};

Orvan_Plugin* TessikTest::plugin_ = nullptr;
bool TessikTest::freshLibrary_ = false;
BlobFrame* TessikTest::beforeInit_ = nullptr;

std::array<float, 4> LightOne(GLenum pname)
{
    std::array<float, 4> value{};
    glGetLightfv(GL_LIGHT1, pname, value.data());
    return value;
}

}  // namespace

TEST_F(TessikTest, BeforeInitTheMeshIsBuiltAndTheScaleIsZero)
{
    if (!freshLibrary_)
        GTEST_SKIP() << "the library was loaded before this suite";
    ASSERT_NE(beforeInit_, nullptr);
    EXPECT_EQ(beforeInit_->triangles.size(), size_t(kTriangleCount));
    EXPECT_TRUE(beforeInit_->consistent);
    EXPECT_EQ(beforeInit_->scale, (std::vector<double>{0.0, 0.0, 0.0}));
}

TEST_F(TessikTest, ScriptsAddressItByItsDisplayName)
{
    char name[64] = {};
    EXPECT_EQ(plugin_->GetName(name), 0);
    EXPECT_STREQ(name, "Tessik Plugin");
}

TEST_F(TessikTest, InitSetsLightOneUnderTheModelviewOfTheMomentAndTheScaleThirty)
{
    std::vector<GlTraceCall> lights;
    {
        StdoutCapture capture;
        GlTraceRecording recording;
        plugin_->Init();
        EXPECT_EQ(capture.Finish(),
                  "debug:[Warning - plugin already initalized\n"
                  "]\n"
                  "debug:[tessik plugin called]\n");
        for (const GlTraceCall& call : GlTraceCalls())
            if (call.name == "glLightfv")
                lights.push_back(call);
    }
    const double light = GL_LIGHT1;
    const std::vector<std::vector<double>> expected = {
        {light, GL_AMBIENT, 0.3f, 0.3f, 0.5f, 1.0f},
        {light, GL_DIFFUSE, 0.5f, 0.8f, 1.0f, 1.0f},
        {light, GL_SPECULAR, 0.5f, 0.8f, 1.0f, 1.0f},
        {light, GL_POSITION, 10.0f, 10.0f, 20.0f, 10.0f},
    };
    ASSERT_EQ(lights.size(), expected.size());
    for (size_t i = 0; i < lights.size(); ++i)
        EXPECT_EQ(lights[i].args, expected[i]) << i;
    // Under the identity: a positional light at (1, 1, 2) in eye space.
    EXPECT_EQ(LightOne(GL_POSITION), (std::array<float, 4>{10.0f, 10.0f, 20.0f, 10.0f}));

    // A later Init re-specifies the light under the modelview then current
    // and sets the scale back to 30 whatever a trigger chose.
    EXPECT_EQ(plugin_->Trigger(0.0f, 2, 1, 0), 0);
    EXPECT_EQ(TraceRender(plugin_, 10.0f).scale, (std::vector<double>{5.0, 5.0, 5.0}));
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, 3.0f);
    {
        StdoutCapture quiet;
        plugin_->Init();
    }
    EXPECT_EQ(LightOne(GL_POSITION), (std::array<float, 4>{20.0f, 30.0f, 50.0f, 10.0f}));
    EXPECT_EQ(TraceRender(plugin_, 10.0f).scale, (std::vector<double>{30.0, 30.0, 30.0}));

    // Back to the light of the player's start-up for the tests after this one.
    glLoadIdentity();
    StdoutCapture quiet;
    plugin_->Init();
}

TEST_F(TessikTest, TriggerTwoSetsTheScaleFromItsValueAndOtherIdsChangeNothing)
{
    struct Case {
        int value;
        double scale;
    };
    const Case cases[] = {{1, 5}, {2, 15}, {3, 40}, {4, 1}, {0, 30},
                          {5, 30}, {-1, 30}, {INT_MIN, 30}, {INT_MAX, 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(plugin_->Trigger(123.0f, 2, c.value, 77), 0);
        EXPECT_EQ(TraceRender(plugin_, 50.0f).scale,
                  (std::vector<double>{c.scale, c.scale, c.scale}));
    }

    ASSERT_EQ(plugin_->Trigger(0.0f, 2, 2, 0), 0);
    for (int id : {INT_MIN, -2, 0, 1, 3, 4, 5, INT_MAX}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(plugin_->Trigger(0.0f, id, 3, 0), 0);
        EXPECT_EQ(plugin_->Trigger(0.0f, id, 4, 0), 0);
    }
    EXPECT_EQ(TraceRender(plugin_, 50.0f).scale, (std::vector<double>{15.0, 15.0, 15.0}));
    plugin_->Trigger(0.0f, 2, 0, 0);
}

TEST_F(TessikTest, EveryFrameSendsThe3200TrianglesBetweenItsStateChanges)
{
    // 2.5 s: 75, 62.5 and 10 degrees about x, y and z.
    const BlobFrame frame = TraceRender(plugin_, 250.0f);
    struct Expected {
        const char* name;
        std::vector<double> args;
    };
    const std::vector<Expected> head = {
        {"glClear", {double(GL_DEPTH_BUFFER_BIT)}},
        {"glColor3f", {1, 1, 1}},
        {"glEnable", {double(GL_LIGHTING)}},
        {"glEnable", {double(GL_LIGHT1)}},
        {"glEnable", {double(GL_CULL_FACE)}},
        {"glEnable", {double(GL_NORMALIZE)}},
        {"glLoadIdentity", {}},
        {"glTranslatef", {0, 0, -100}},
        {"glPushMatrix", {}},
        {"glRotatef", {75, 1, 0, 0}},
        {"glRotatef", {62.5, 0, 1, 0}},
        {"glRotatef", {10, 0, 0, 1}},
        {"glScalef", {30, 30, 30}},
        {"glColor4f", {1, 1, 1, 1}},
        {"glBegin", {double(GL_TRIANGLES)}},
    };
    const std::vector<Expected> tail = {
        {"glEnd", {}},
        {"glDisable", {double(GL_LIGHTING)}},
        {"glPopMatrix", {}},
    };
    const size_t perTriangle = 4;  // a normal and three vertices
    ASSERT_EQ(frame.calls.size(), head.size() + perTriangle * kTriangleCount + tail.size());
    for (size_t i = 0; i < head.size(); ++i) {
        EXPECT_EQ(frame.calls[i].name, head[i].name) << i;
        EXPECT_EQ(frame.calls[i].args, head[i].args) << i;
    }
    for (size_t i = 0; i < size_t(kTriangleCount); ++i) {
        const size_t at = head.size() + perTriangle * i;
        ASSERT_EQ(frame.calls[at].name, "glNormal3fv") << i;
        for (size_t k = 1; k < perTriangle; ++k)
            ASSERT_EQ(frame.calls[at + k].name, "glVertex3fv") << i;
    }
    for (size_t i = 0; i < tail.size(); ++i) {
        const GlTraceCall& call = frame.calls[frame.calls.size() - tail.size() + i];
        EXPECT_EQ(call.name, tail[i].name) << i;
        EXPECT_EQ(call.args, tail[i].args) << i;
    }
    EXPECT_TRUE(frame.consistent) << "a mesh index was sent with two positions";
}

TEST_F(TessikTest, AtTimeZeroThePolesAndTheEquatorMoveAsTheWavesSay)
{
    // No rotation; phase (0.25, 0, 5) and amplitude 3 on every axis.
    const BlobFrame frame = TraceRender(plugin_, 0.0f);
    ASSERT_EQ(frame.triangles.size(), size_t(kTriangleCount));
    ASSERT_TRUE(frame.consistent);
    for (const GlTraceCall& call : frame.calls) {
        if (call.name == "glRotatef") {
            EXPECT_EQ(call.args[0], 0.0);
        }
    }

    // Row 0 is the +y pole: 41 vertices at one place.
    const Vec top = frame.vertices[0];
    EXPECT_NEAR(top[0], 0.0, 1e-7);
    EXPECT_NEAR(top[1], 0.9176, 5e-5);
    EXPECT_NEAR(top[2], 0.0, 1e-7);
    for (int k = 1; k < kColumns; ++k)
        EXPECT_EQ(frame.vertices[k], top) << k;

    const Vec bottom = frame.vertices[kDivisions * kColumns];
    EXPECT_EQ(bottom[1], -1.0);
    const Vec equatorZ = frame.vertices[20 * kColumns + 0];  // base (0, 0, 0.25)
    EXPECT_EQ(equatorZ[2], 1.0);
    EXPECT_NEAR(equatorZ[0], 0.0, 1e-6);
    const Vec equatorX = frame.vertices[20 * kColumns + 10];  // base (0.25, 0, 0)
    EXPECT_EQ(equatorX[0], 1.0);
    EXPECT_NEAR(equatorX[2], 0.0, 1e-6);

    // The first triangle of each top-row cell has two corners on the pole:
    // no area, a non-finite normal, and it is still sent.
    for (int c = 0; c < kDivisions; ++c)
        EXPECT_FALSE(Finite(frame.triangles[2 * c].normal)) << c;
}

TEST_F(TessikTest, MeshFollowsTheWavesAndTurnsAtTheirRatesAtEveryTime)
{
    // The sphere as built: radius 0.25, 40 divisions, pi in single precision.
    auto fsin = [](float x) { return float(std::sin(double(x))); };
    auto fcos = [](float x) { return float(std::cos(double(x))); };
    const float pi = 3.1415927f;
    std::vector<std::array<float, 3>> base(kVertexCount);
    for (int j = 0; j <= kDivisions; ++j) {
        for (int k = 0; k <= kDivisions; ++k) {
            const float lon = float(k) * (pi / 20.0f);
            const float lat = float(j) * (pi / 40.0f);
            base[j * kColumns + k] = {fsin(lon) * fsin(lat) * 0.25f, 0.25f * fcos(lat),
                                      fcos(lon) * fsin(lat) * 0.25f};
        }
    }

    for (float time : {37.5f, 250.0f, 777.7f, 1234.5f, 4321.0f, 17777.0f}) {
        SCOPED_TRACE(time);
        const BlobFrame frame = TraceRender(plugin_, time);
        ASSERT_EQ(frame.triangles.size(), size_t(kTriangleCount));
        ASSERT_TRUE(frame.consistent);

        // 30, 25 and 4 degrees a second about x, y and z.
        const float t = time / 100.0f;
        std::vector<std::vector<double>> rotations;
        for (const GlTraceCall& call : frame.calls)
            if (call.name == "glRotatef")
                rotations.push_back(call.args);
        EXPECT_EQ(rotations, (std::vector<std::vector<double>>{
                                 {30.0f * t, 1, 0, 0}, {25.0f * t, 0, 1, 0}, {4.0f * t, 0, 0, 1}}));

        // The waves of this moment, in single precision. The tolerance
        // leaves room for wider intermediates, not for a phase formed in
        // float where it is formed in double.
        const float sinT = fsin(t);
        const float frequency[3] = {25.0f, 23.0f, 27.0f};
        const float phase[3] = {float(5.0 * sinT + 0.25), float(5.0 * std::sin(double(t) * 0.8123)),
                                float(5.0 * std::cos(double(t) * 0.923))};
        const float amplitude = (sinT + 1.0f) * 2.0f + 1.0f;
        for (int i = 0; i < kVertexCount; ++i) {
            const std::array<float, 3>& p = base[i];
            float s = 1.0f;
            for (int axis = 0; axis < 3; ++axis)
                s = s + (1.0f + fsin(p[axis] * frequency[axis] + phase[axis])) * 0.5f * amplitude;
            for (int axis = 0; axis < 3; ++axis) {
                const float w = std::fmax(-1.0f, std::fmin(1.0f, p[axis] * s));
                ASSERT_NEAR(frame.vertices[i][axis], w, 1e-6) << "vertex " << i << " axis " << axis;
            }
        }
    }
}

TEST_F(TessikTest, FaceNormalsAreUnitAndPointOutOfTheBlob)
{
    // With k = 1 the clamp never acts and the blob stays star-shaped about
    // its centre: every face with area faces away from it.
    const BlobFrame frame = TraceRender(plugin_, kTimeAmplitudeOne);
    ASSERT_EQ(frame.triangles.size(), size_t(kTriangleCount));
    int checked = 0;
    for (int t = 0; t < kTriangleCount; ++t) {
        SCOPED_TRACE(t);
        const Triangle& tri = frame.triangles[t];
        if (t < 2 * kDivisions && t % 2 == 0)
            continue;  // the pole's own empty triangles
        ASSERT_TRUE(Finite(tri.normal));
        EXPECT_NEAR(Dot(tri.normal, tri.normal), 1.0, 1e-5);
        const Vec cross = Cross(Sub(tri.corners[1], tri.corners[0]),
                                Sub(tri.corners[2], tri.corners[0]));
        const double area2 = std::sqrt(Dot(cross, cross));
        if (area2 < 1e-6)
            continue;  // slivers at the -y pole: direction not well defined
        const Vec unit{cross[0] / area2, cross[1] / area2, cross[2] / area2};
        EXPECT_GT(Dot(unit, tri.normal), 0.9999);
        EXPECT_GT(Dot(tri.normal, tri.corners[0]), 0.0);
        ++checked;
    }
    EXPECT_GT(checked, kTriangleCount - 4 * kDivisions);
}

TEST_F(TessikTest, TheClampBoundsTheBlobByTheUnitCube)
{
    struct Case {
        float time;
        bool mostlyClamped;
    };
    // k = 5: the factor reaches 16 and most vertices land on the cube's
    // surface; k = 1: the factor stays within 1 to 4 and none reaches it.
    for (const Case& c : {Case{kTimeAmplitudeFive, true}, Case{kTimeAmplitudeOne, false}}) {
        SCOPED_TRACE(c.time);
        const BlobFrame frame = TraceRender(plugin_, c.time);
        ASSERT_TRUE(frame.consistent);
        int onSurface = 0;
        double largest = 0.0;
        for (const Vec& v : frame.vertices) {
            const double m = MaxAbsCoordinate(v);
            largest = std::fmax(largest, m);
            if (m == 1.0)
                ++onSurface;
        }
        EXPECT_LE(largest, 1.0);
        if (c.mostlyClamped) {
            EXPECT_GT(onSurface, kVertexCount / 2);
        } else {
            EXPECT_EQ(onSurface, 0);
            EXPECT_LT(largest, 1.0);
        }
    }
}

TEST_F(TessikTest, LeavesItsStateForTheLayersAbove)
{
    // What a lower layer left in texturing, blending and depth stays.
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDepthFunc(GL_LESS);
    glDisable(GL_NORMALIZE);
    glDisable(GL_LIGHT1);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    glTranslatef(5.0f, 6.0f, 7.0f);

    const BlobFrame frame = TraceRender(plugin_, 333.0f);

    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(GlInteger(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_EQ(GlInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(GlInteger(GL_MODELVIEW_STACK_DEPTH), 1);

    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(colour[i], 1.0f) << i;

    // The current normal is the last triangle's face normal.
    ASSERT_FALSE(frame.triangles.empty());
    const Vec last = frame.triangles.back().normal;
    GLfloat normal[3];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    for (int i = 0; i < 3; ++i) {
        if (std::isnan(last[i])) {
            EXPECT_TRUE(std::isnan(normal[i])) << i;
        } else {
            EXPECT_EQ(double(normal[i]), last[i]) << i;
        }
    }

    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const GLfloat translation[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -100, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(modelview[i], translation[i]) << i;

    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}

TEST_F(TessikTest, DrawsABluishLitBlobOverTheColourTheLowerLayersLeft)
{
    glClearColor(0.0f, 0.4f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const Pixel fill = ReadBackPixel(0, 0);

    plugin_->Render(0.0f);

    // Only depth is cleared: the corners keep the lower layer.
    for (const Pixel& p : {ReadBackPixel(0, 0), ReadBackPixel(639, 479), ReadBackPixel(0, 479)}) {
        EXPECT_EQ(p.r, fill.r);
        EXPECT_EQ(p.g, fill.g);
        EXPECT_EQ(p.b, fill.b);
    }
    // The light's blue-heavy colours on GL's default grey material; the
    // white that Render sets does not tint it.
    const Pixel centre = ReadBackPixel(320, 240);
    EXPECT_GT(centre.b, centre.r + 20);
    EXPECT_GT(centre.b, 60);
    EXPECT_NE(centre.g, fill.g);
}

TEST_F(TessikTest, ScaleOneLeavesTheBlobAtItsModelSize)
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_EQ(plugin_->Trigger(0.0f, 2, 4, 0), 0);
    plugin_->Render(0.0f);
    plugin_->Trigger(0.0f, 2, 0, 0);

    // Within the unit cube at depth about 100, 45 degrees across 480 rows:
    // half-diagonal sqrt 3 covers at most 11 pixels from the centre.
    const std::string pixels = ReadBackBuffer();
    int drawn = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const unsigned char* p = reinterpret_cast<const unsigned char*>(&pixels[(y * 640 + x) * 4]);
            if (p[0] == 0 && p[1] == 0 && p[2] == 0)
                continue;
            ++drawn;
            EXPECT_LE(std::abs(x - 320), 11) << x << "," << y;
            EXPECT_LE(std::abs(y - 240), 11) << x << "," << y;
        }
    }
    EXPECT_GT(drawn, 20);
}
