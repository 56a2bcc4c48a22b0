// The plasma layers effect through its real library: its four pictures in
// the real texture pool, the quads it sends to GL (seen by the GL tracer),
// the frame and the GL state it leaves.
#include <GL/gl.h>
#include <stdlib.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "effect_fixture.h"
#include "gl_state.h"
#include "gl_trace.h"
#include "orvan_plugin.h"
#include "orvan_plugin_host.h"
#include "stdout_capture.h"
#include "texture.h"
#include "texture_pool.h"

namespace fs = std::filesystem;

namespace {

const char* const kNames[4] = {"plasma1", "plasma2", "plasma3", "plasma4"};
const char* const kPictures[4] = {"plas_1.jpg", "plas_2.jpg", "plas_3.jpg", "plas_4.jpg"};

fs::path RepoData()
{
    return fs::path(__FILE__).parent_path().parent_path().parent_path() / "data";
}

// A player folder whose data/ holds links to the given bundled pictures.
std::string MakePictureFolder(const std::vector<std::string>& pictures)
{
    std::string folder = (fs::temp_directory_path() / "zanthe-XXXXXX").string();
    if (!mkdtemp(&folder[0]))
        return "";
    fs::create_directory(fs::path(folder) / "data");
    for (const std::string& picture : pictures)
        fs::create_symlink(RepoData() / picture, fs::path(folder) / "data" / picture);
    return folder;
}

// The pool opens pictures relative to the working directory.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : saved_(fs::current_path())
    {
        fs::current_path(folder);
    }
    ~InFolder() { fs::current_path(saved_); }

private:
    fs::path saved_;
};

std::vector<GlTraceCall> TraceRender(Orvan_Plugin* plugin, float time)
{
    GlTraceRecording recording;
    plugin->Render(time);
    return GlTraceCalls();
}

// One glBegin/glEnd pair with what GL had in force for it.
struct Quad {
    double texture = -1;               // the last glBindTexture
    std::vector<double> colour;        // the last glColor4f
    std::vector<float> modelview;      // at glBegin
    std::vector<GlTraceCall> ownCalls; // transforms since its pair's glPushMatrix
    std::vector<std::vector<double>> texCoords, vertices;
    double mode = 0;
    bool inPair = false;
};

std::vector<Quad> Quads(const std::vector<GlTraceCall>& calls)
{
    std::vector<Quad> quads;
    double texture = -1;
    std::vector<double> colour;
    std::vector<GlTraceCall> pairCalls;
    bool inPair = false, inQuad = false;
    for (const GlTraceCall& call : calls) {
        if (call.name == "glPushMatrix") {
            inPair = true;
            pairCalls.clear();
        } else if (call.name == "glPopMatrix") {
            inPair = false;
        } else if (call.name == "glBindTexture") {
            texture = call.args[1];
        } else if (call.name == "glColor4f") {
            colour = call.args;
        } else if (call.name == "glTranslatef" || call.name == "glScalef" ||
                   call.name == "glRotatef") {
            if (inPair)
                pairCalls.push_back(call);
        } else if (call.name == "glBegin") {
            quads.emplace_back();
            Quad& quad = quads.back();
            quad.mode = call.args[0];
            quad.texture = texture;
            quad.colour = colour;
            quad.modelview = call.modelview;
            quad.inPair = inPair;
            if (inPair)
                quad.ownCalls = pairCalls;
            inQuad = true;
        } else if (call.name == "glEnd") {
            inQuad = false;
        } else if (inQuad && call.name == "glTexCoord2f") {
            quads.back().texCoords.push_back(call.args);
        } else if (inQuad && call.name == "glVertex3f") {
            quads.back().vertices.push_back(call.args);
        }
    }
    return quads;
}

// Column-major 4x4 products in double, as GL composes the modelview.
using Matrix = std::vector<double>;

Matrix Multiply(const Matrix& a, const Matrix& b)
{
    Matrix out(16, 0.0);
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                out[col * 4 + row] += a[k * 4 + row] * b[col * 4 + k];
    return out;
}

Matrix Identity()
{
    Matrix m(16, 0.0);
    m[0] = m[5] = m[10] = m[15] = 1.0;
    return m;
}

Matrix Translation(double x, double y, double z)
{
    Matrix m = Identity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Matrix Scaling(double x, double y, double z)
{
    Matrix m = Identity();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

Matrix RotationZ(double degrees)
{
    const double r = degrees * M_PI / 180.0;
    Matrix m = Identity();
    m[0] = std::cos(r);
    m[1] = std::sin(r);
    m[4] = -std::sin(r);
    m[5] = std::cos(r);
    return m;
}

Matrix Apply(Matrix m, const GlTraceCall& call)
{
    const std::vector<double>& a = call.args;
    if (call.name == "glTranslatef")
        return Multiply(m, Translation(a[0], a[1], a[2]));
    if (call.name == "glScalef")
        return Multiply(m, Scaling(a[0], a[1], a[2]));
    EXPECT_EQ(a[1], 0.0);  // every turn is about the view axis
    EXPECT_EQ(a[2], 0.0);
    EXPECT_EQ(a[3], 1.0);
    return Multiply(m, RotationZ(a[0]));
}

// identity . translation (0, 0, -1.25) . translation (0.1, 0.1, 0) . turn t0/2
Matrix BaseTransform(float time)
{
    const double t0 = double(time / 10.0f);
    return Multiply(Multiply(Translation(0.0, 0.0, -1.25), Translation(0.1, 0.1, 0.0)),
                    RotationZ(t0 / 2.0));
}

double MaxDifference(const std::vector<float>& a, const Matrix& b)
{
    double worst = 0.0;
    for (size_t i = 0; i < 16; ++i)
        worst = std::fmax(worst, std::fabs(double(a[i]) - b[i]));
    return worst;
}

class ZantheTest : public EffectTest {
protected:
    static void SetUpTestSuite()
    {
        EffectTest::SetUpTestSuite();
        folder_ = new std::string(
            MakePictureFolder({kPictures[0], kPictures[1], kPictures[2], kPictures[3]}));
        if (plugin_)
            return;
        pool_ = new TexturePool;
        plugin_ = LoadEffect("zanthe.DLL");
    }

    static void TearDownTestSuite()
    {
        if (!folder_->empty())
            fs::remove_all(*folder_);
        delete folder_;
        folder_ = nullptr;
    }

    // Every test starts from the suite's pool and its four pictures, whatever
    // an earlier test loaded: the layer textures are the library's, shared by
    // all its objects.
    void SetUp() override
    {
        ASSERT_NE(plugin_, nullptr);
        ASSERT_FALSE(folder_->empty());
        ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
        ResetGLState();
        InitIn(plugin_, pool_, *folder_);
        ResetGLState();
    }

    static std::string InitIn(Orvan_Plugin* plugin, TexturePool* pool, const std::string& folder)
    {
        TexturePool* const saved = Host().texturePool;
        Host().texturePool = pool;
        std::string text;
        {
            InFolder in(folder);
            StdoutCapture log;
            plugin->Init();
            text = log.Finish();
        }
        Host().texturePool = saved;
        return text;
    }

    static GLuint GlName(TexturePool* pool, int layer)
    {
        Texture* record = pool->GetTextureByName(kNames[layer]);
        EXPECT_NE(record, nullptr) << kNames[layer];
        return record ? record->glTexture : 0xFFFFFFFFu;
    }

    // The texture every one of the seventeen quads is drawn with.
    static std::vector<double> BoundTextures(float time)
    {
        std::vector<double> textures;
        for (const Quad& quad : Quads(TraceRender(plugin_, time)))
            textures.push_back(quad.texture);
        return textures;
    }

    // Base quad: layer 0; every pass: layers 0, 1, 2, 3.
    static std::vector<double> ExpectedTextures(const GLuint (&names)[4])
    {
        std::vector<double> textures = {double(names[0])};
        for (int pass = 0; pass < 4; ++pass)
            for (int layer = 0; layer < 4; ++layer)
                textures.push_back(double(names[layer]));
        return textures;
    }

    static Orvan_Plugin* plugin_;
    static TexturePool* pool_;
    static std::string* folder_;
};

Orvan_Plugin* ZantheTest::plugin_ = nullptr;
TexturePool* ZantheTest::pool_ = nullptr;
std::string* ZantheTest::folder_ = nullptr;

}  // namespace

TEST_F(ZantheTest, InitLoadsTheFourPicturesInLayerOrderAndAgainAsDuplicates)
{
    TexturePool pool;
    Orvan_Plugin* plugin = LoadEffect("zanthe.DLL");
    ASSERT_NE(plugin, nullptr);

    glDisable(GL_TEXTURE_2D);
    std::string log;
    size_t uploads = 0;
    {
        GlTraceRecording recording;
        log = InitIn(plugin, &pool, *folder_);
        uploads = GlTraceCount("glTexImage2D");
        ASSERT_FALSE(GlTraceCalls().empty());
        EXPECT_EQ(GlTraceCalls()[0].name, "glEnable");
        EXPECT_EQ(GlTraceCalls()[0].args, std::vector<double>{double(GL_TEXTURE_2D)});
    }
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(uploads, 4u);
    EXPECT_EQ(log.rfind("debug:[plasma plugin initalziation called]\n", 0), 0u) << log;
    EXPECT_EQ(log.find("Import Failed"), std::string::npos) << log;

    // Loaded one after another into a fresh pool: indexes 0 to 3.
    GLuint names[4];
    for (int layer = 0; layer < 4; ++layer) {
        SCOPED_TRACE(kNames[layer]);
        EXPECT_EQ(pool.FindTexture(kNames[layer]), layer);
        const Texture* record = pool.GetTextureByName(kNames[layer]);
        ASSERT_NE(record, nullptr);
        EXPECT_GT(record->width, 0);
        EXPECT_GT(record->height, 0);
        EXPECT_TRUE(glIsTexture(record->glTexture));
        names[layer] = record->glTexture;
    }
    EXPECT_EQ(BoundTextures(100.0f), ExpectedTextures(names));

    // A second Init warns, logs again and loads again: the pool answers with
    // the first loads, and the same GL names are taken.
    glDisable(GL_TEXTURE_2D);
    {
        GlTraceRecording recording;
        log = InitIn(plugin, &pool, *folder_);
        uploads = GlTraceCount("glTexImage2D");
    }
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(uploads, 0u);
    EXPECT_EQ(log,
              "debug:[Warning - plugin already initalized\n"
              "]\n"
              "debug:[plasma plugin initalziation called]\n"
              "duplicate texture load attempt!\n"
              "duplicate texture load attempt!\n"
              "duplicate texture load attempt!\n"
              "duplicate texture load attempt!\n");
    EXPECT_EQ(pool.textures.size(), 20u);
    for (int layer = 0; layer < 4; ++layer)
        EXPECT_EQ(pool.FindTexture(kNames[layer]), layer);
    EXPECT_EQ(BoundTextures(100.0f), ExpectedTextures(names));
}

TEST_F(ZantheTest, APictureThatDoesNotLoadLeavesItsLayerUntextured)
{
    const std::string folder = MakePictureFolder({kPictures[0], kPictures[1], kPictures[3]});
    ASSERT_FALSE(folder.empty());
    TexturePool pool;
    const std::string log = InitIn(plugin_, &pool, folder);
    EXPECT_NE(log.find("Import Failed - returned -1\n"), std::string::npos) << log;
    EXPECT_EQ(pool.GetTextureByName("plasma3"), nullptr);

    const GLuint names[4] = {GlName(&pool, 0), GlName(&pool, 1), 0, GlName(&pool, 3)};
    EXPECT_EQ(BoundTextures(250.0f), ExpectedTextures(names));

    // The frame is still drawn whole.
    ResetGLState();
    plugin_->Render(250.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    const Pixel centre = ReadBackPixel(320, 240);
    EXPECT_GT(centre.r + centre.g + centre.b, 0);
    fs::remove_all(folder);
}

TEST_F(ZantheTest, InitWithoutAPoolLoadsNothingAndKeepsTheLayers)
{
    const GLuint names[4] = {GlName(pool_, 0), GlName(pool_, 1), GlName(pool_, 2),
                             GlName(pool_, 3)};
    glDisable(GL_TEXTURE_2D);
    const std::string log = InitIn(plugin_, nullptr, *folder_);
    EXPECT_EQ(log,
              "debug:[Warning - plugin already initalized\n"
              "]\n"
              "debug:[plasma plugin initalziation called]\n");
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(BoundTextures(50.0f), ExpectedTextures(names));
}

TEST_F(ZantheTest, AtTimeZeroSendsExactlyTheBaseQuadAndFourUnturnedPasses)
{
    const double n[4] = {double(GlName(pool_, 0)), double(GlName(pool_, 1)),
                         double(GlName(pool_, 2)), double(GlName(pool_, 3))};
    using Calls = std::vector<std::pair<std::string, std::vector<double>>>;
    const Calls unitQuad = {
        {"glBegin", {double(GL_QUADS)}},
        {"glTexCoord2f", {0, 0}}, {"glVertex3f", {-1, -1, 0}},
        {"glTexCoord2f", {1, 0}}, {"glVertex3f", {1, -1, 0}},
        {"glTexCoord2f", {1, 1}}, {"glVertex3f", {1, 1, 0}},
        {"glTexCoord2f", {0, 1}}, {"glVertex3f", {-1, 1, 0}},
        {"glEnd", {}},
    };
    Calls expected = {
        {"glEnable", {double(GL_TEXTURE_2D)}},
        {"glClear", {double(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)}},
        {"glDisable", {double(GL_DEPTH_TEST)}},
        {"glEnable", {double(GL_BLEND)}},
        {"glBlendFunc", {double(GL_SRC_ALPHA), double(GL_ONE)}},
        {"glDisable", {double(GL_CULL_FACE)}},
        {"glLoadIdentity", {}},
        {"glTranslatef", {0, 0, double(-1.25f)}},
        {"glBindTexture", {double(GL_TEXTURE_2D), n[0]}},
        {"glColor4f", {1, double(0.01f), 0, double(0.55f)}},
        {"glTranslatef", {double(0.1f), double(0.1f), 0}},
        {"glRotatef", {0, 0, 0, 1}},
    };
    expected.insert(expected.end(), unitQuad.begin(), unitQuad.end());
    const Calls passQuads[4] = {
        {{"glBindTexture", {double(GL_TEXTURE_2D), n[0]}},
         {"glColor4f", {0, 1, 0, double(0.25f)}},
         {"glTranslatef", {double(-0.05f), double(0.05f), 0}},
         {"glScalef", {3, 3, 3}},
         {"glRotatef", {0, 0, 0, 1}}},
        {{"glBindTexture", {double(GL_TEXTURE_2D), n[1]}},
         {"glColor4f", {0, 1, 0, double(0.2125f)}},
         {"glTranslatef", {double(-0.05f), 0, 0}},
         {"glRotatef", {10, 0, 0, 1}}},
        {{"glBindTexture", {double(GL_TEXTURE_2D), n[2]}},
         {"glColor4f", {0, 0, 1, double(0.425f)}},
         {"glScalef", {3, 3, 3}},
         {"glRotatef", {20, 0, 0, 1}}},
        {{"glBindTexture", {double(GL_TEXTURE_2D), n[3]}},
         {"glColor4f", {1, 0, 0, double(0.38f)}},
         {"glRotatef", {-30, 0, 0, 1}}},
    };
    for (int pass = 0; pass < 4; ++pass) {
        for (const Calls& quad : passQuads) {
            expected.push_back({"glPushMatrix", {}});
            expected.insert(expected.end(), quad.begin(), quad.end());
            expected.insert(expected.end(), unitQuad.begin(), unitQuad.end());
            expected.push_back({"glPopMatrix", {}});
        }
    }
    expected.push_back({"glEnable", {double(GL_DEPTH_TEST)}});
    expected.push_back({"glEnable", {double(GL_CULL_FACE)}});
    expected.push_back({"glDisable", {double(GL_BLEND)}});

    const std::vector<GlTraceCall> calls = TraceRender(plugin_, 0.0f);
    ASSERT_EQ(calls.size(), expected.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "call " << i);
        EXPECT_EQ(calls[i].name, expected[i].first);
        EXPECT_EQ(calls[i].args, expected[i].second);
    }
}

// At later times the passes turn at their own rates: pass p runs on the pass
// time m[p] * t0, from which the four angles and the two pulsing scales
// follow; pass 0 never pulses.
TEST_F(ZantheTest, PassesTurnAtTheirOwnRatesAndThreeOfThemPulse)
{
    const double multiples[4] = {1.25, -1.5625, -1.953125, 3.0517578125};
    for (float time : {1.0f, 333.0f, 1234.0f, 7500.0f, 22499.0f}) {
        SCOPED_TRACE(testing::Message() << "time " << time);
        const double t0 = double(time / 10.0f);
        const std::vector<GlTraceCall> calls = TraceRender(plugin_, time);
        std::vector<std::vector<double>> rotations, scales;
        for (const GlTraceCall& call : calls) {
            if (call.name == "glRotatef")
                rotations.push_back(call.args);
            else if (call.name == "glScalef")
                scales.push_back(call.args);
        }
        ASSERT_EQ(rotations.size(), 17u);
        ASSERT_EQ(scales.size(), 8u);
        EXPECT_NEAR(rotations[0][0], t0 / 2.0, 1e-6 * t0);

        for (int pass = 0; pass < 4; ++pass) {
            SCOPED_TRACE(testing::Message() << "pass " << pass);
            const double t = multiples[pass] * t0;
            const double tolerance = 1e-6 * std::fabs(t) + 1e-6;
            EXPECT_NEAR(rotations[1 + 4 * pass][0], t / 1.434, tolerance);
            EXPECT_NEAR(rotations[2 + 4 * pass][0], -t / 2.0 + 10.0, tolerance);
            EXPECT_NEAR(rotations[3 + 4 * pass][0], t / 1.353 + 20.0, tolerance);
            EXPECT_NEAR(rotations[4 + 4 * pass][0], -t / 1.788 - 30.0, tolerance);

            const std::vector<double>& a = scales[2 * pass];
            const std::vector<double>& c = scales[2 * pass + 1];
            if (pass == 0) {
                EXPECT_EQ(a, (std::vector<double>{3, 3, 3}));
                EXPECT_EQ(c, (std::vector<double>{3, 3, 3}));
                continue;
            }
            // The float chain leaves the sine arguments a little off the
            // exact pass time; 1e-3 is far below any other formula's reach.
            const double tp = t * pass;
            EXPECT_NEAR(a[0], 1.1 * std::sin(tp / 30.0) + 3.0, 1e-3);
            EXPECT_NEAR(a[1], 1.2 * std::sin(tp / 40.0) + 3.0, 1e-3);
            EXPECT_NEAR(a[2], 1.2 * std::sin(tp / 20.0) + 3.0, 1e-3);
            const double s = 2.0 * std::sin(tp / 50.0) + 3.0;
            EXPECT_NEAR(c[0], s, 1e-3);
            EXPECT_EQ(c[1], c[0]);
            EXPECT_EQ(c[2], c[0]);
        }
    }
}

// Seventeen full unit quads: the base one on the base transform, each of the
// sixteen on the base transform and its own calls only, whatever came before.
TEST_F(ZantheTest, EveryQuadIsTheUnitSquareOnTheBaseTransformAndItsOwnCalls)
{
    const std::vector<std::vector<double>> texCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const std::vector<std::vector<double>> vertices = {
        {-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    for (float time : {0.0f, 517.0f, 6000.0f}) {
        SCOPED_TRACE(testing::Message() << "time " << time);
        ResetGLState();
        const std::vector<GlTraceCall> calls = TraceRender(plugin_, time);
        EXPECT_EQ(GlTraceCount("glPushMatrix"), 16u);
        EXPECT_EQ(GlTraceCount("glPopMatrix"), 16u);
        EXPECT_EQ(GlTraceCount("glEnd"), 17u);
        const std::vector<Quad> quads = Quads(calls);
        ASSERT_EQ(quads.size(), 17u);
        const Matrix base = BaseTransform(time);
        for (size_t i = 0; i < quads.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "quad " << i);
            const Quad& quad = quads[i];
            EXPECT_EQ(quad.mode, double(GL_QUADS));
            EXPECT_EQ(quad.texCoords, texCoords);
            EXPECT_EQ(quad.vertices, vertices);
            EXPECT_EQ(quad.inPair, i > 0);
            Matrix expected = base;
            for (const GlTraceCall& call : quad.ownCalls)
                expected = Apply(expected, call);
            EXPECT_LT(MaxDifference(quad.modelview, expected), 1e-5);
        }
    }
}

TEST_F(ZantheTest, LeavesItsStateForTheLayersAbove)
{
    // What a lower layer may have left.
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
    glTranslatef(3.0f, 4.0f, 5.0f);

    const float time = 1717.0f;
    plugin_->Render(time);

    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(GlInteger(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(GlInteger(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(BoundTexture(), GlName(pool_, 3));
    EXPECT_EQ(GlInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(GlInteger(GL_MODELVIEW_STACK_DEPTH), 1);

    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f);
    EXPECT_EQ(colour[1], 0.0f);
    EXPECT_EQ(colour[2], 0.0f);
    EXPECT_EQ(colour[3], 0.38f);

    std::vector<float> modelview(16);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    EXPECT_LT(MaxDifference(modelview, BaseTransform(time)), 1e-6);
}

TEST_F(ZantheTest, NothingOfTheLowerLayersSurvives)
{
    const float time = 4321.0f;
    plugin_->Render(time);
    const std::string alone = ReadBackBuffer();

    // A lower layer fills the frame with white and the depth buffer with the
    // nearest depth.
    ResetGLState();
    glDisable(GL_DEPTH_TEST);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glDepthFunc(GL_ALWAYS);
    glEnable(GL_DEPTH_TEST);
    glBegin(GL_QUADS);
    glVertex3f(-100.0f, -100.0f, -0.1f);
    glVertex3f(100.0f, -100.0f, -0.1f);
    glVertex3f(100.0f, 100.0f, -0.1f);
    glVertex3f(-100.0f, 100.0f, -0.1f);
    glEnd();
    glDepthFunc(GL_LEQUAL);
    glTranslatef(0.0f, 0.0f, -5.0f);

    plugin_->Render(time);
    EXPECT_TRUE(ReadBackBuffer() == alone) << "a lower layer shows through";

    // Drawn without depth writes: the depth buffer holds only the clear.
    GLfloat depth = 0.0f;
    glReadPixels(320, 240, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1.0f);
}

TEST_F(ZantheTest, TheFrameIsAColourFieldThatMovesWithTime)
{
    // Every channel is fed somewhere: red from the base and D, green from A
    // and B, blue from C.
    plugin_->Render(2000.0f);
    const std::string frame = ReadBackBuffer();
    long sums[3] = {0, 0, 0};
    for (size_t i = 0; i < frame.size(); i += 4)
        for (int c = 0; c < 3; ++c)
            sums[c] += static_cast<unsigned char>(frame[i + c]);
    const long pixels = 640 * 480;
    for (int c = 0; c < 3; ++c)
        EXPECT_GT(sums[c], 16 * pixels) << "channel " << c;

    // The same time gives the same frame; another time another one.
    ResetGLState();
    plugin_->Render(2050.0f);
    const std::string later = ReadBackBuffer();
    ResetGLState();
    plugin_->Render(2000.0f);
    EXPECT_TRUE(ReadBackBuffer() == frame);
    EXPECT_FALSE(later == frame);
}

TEST_F(ZantheTest, TriggersAnswerZeroAndChangeNothing)
{
    const float time = 900.0f;
    const std::vector<GlTraceCall> before = TraceRender(plugin_, time);
    const std::string frame = ReadBackBuffer();

    for (int id : {INT_MIN, -1, 0, 1, 2, 3, 4, 5, INT_MAX}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(plugin_->Trigger(time, id, 7, 0), 0);
        EXPECT_EQ(plugin_->Trigger(-3.0f, id, INT_MIN, 1), 0);
    }

    ResetGLState();
    const std::vector<GlTraceCall> after = TraceRender(plugin_, time);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].name, before[i].name) << i;
        EXPECT_EQ(after[i].args, before[i].args) << i;
    }
    EXPECT_TRUE(ReadBackBuffer() == frame);
}

TEST_F(ZantheTest, IsFoundByItsDisplayName)
{
    char name[64];
    memset(name, 0x5A, sizeof name);
    EXPECT_EQ(plugin_->GetName(name), 0);
    EXPECT_EQ(memcmp(name, "Zanthe Plugin", 14), 0);  // with the NUL
    EXPECT_EQ(name[14], 0x5A);
    const int number = Host().FindPlugin("Zanthe Plugin");
    ASSERT_GE(number, 0);
    EXPECT_EQ(Host().FindPlugin("zanthe Plugin"), -1);
}
