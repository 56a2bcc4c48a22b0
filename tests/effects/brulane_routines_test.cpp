// The brulane library's routines that its effect does not call: the vector,
// the extruded tile, the two tiled spheres, the band figure, and the grid's
// stamp, blur and threshold. Each test loads a fresh copy of the library
// through the host and calls the code that copy carries; the library exports
// NewPlugin alone, so the routines are found through its symbol table. The
// GL tracer sees what they send on its way to Mesa.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "effect_fixture.h"
#include "gl_trace.h"
#include "library_symbols.h"
#include "orvan_plugin.h"

// The library's own declarations, for the types of what is looked up. The
// test binary defines none of them: calling one directly fails to link.
#include "../../Plugins/brulane/band_figure.h"
#include "../../Plugins/brulane/extruded_tile.h"
#include "../../Plugins/brulane/tiled_sphere.h"
#include "../../Plugins/brulane/vector3.h"
#include "../../Plugins/brulane/voxel_cubes.h"
#include "../../Plugins/brulane/voxel_grid.h"

namespace {

using Values = std::vector<double>;

// The routines and state of one loaded copy of the library. Vector3's
// members take the vector's address first.
struct BrulaneRoutines {
    decltype(&DrawTiledSphere) drawTiledSphere = nullptr;
    decltype(&DrawFlatTiledSphere) drawFlatTiledSphere = nullptr;
    decltype(&DrawExtrudedTile) drawExtrudedTile = nullptr;
    decltype(&DrawBandFigure) drawBandFigure = nullptr;
    decltype(&DrawVoxelCubes) drawVoxelCubes = nullptr;
    decltype(&DiffuseGrid) diffuseGrid = nullptr;
    decltype(&StampVoxelSource) stampVoxelSource = nullptr;
    Vector3& (*set)(Vector3*, float, float, float) = nullptr;
    Vector3* (*scaledCopy)(const Vector3*, Vector3*, float) = nullptr;
    Vector3& (*addVector)(Vector3*, const Vector3&) = nullptr;
    Vector3& (*subtractVector)(Vector3*, const Vector3&) = nullptr;
    void (*normalise)(Vector3*) = nullptr;
    float* tilePhaseA = nullptr;
    float* tilePhaseB = nullptr;
    decltype(g_voxelGrid)* voxelGrid = nullptr;
};

BrulaneRoutines s_lib;

template <typename F>
void ResolveFunction(const LibrarySymbols& symbols, const char* name, F& out)
{
    out = symbols.Function<F>(name);
    EXPECT_NE(out, nullptr) << "no " << name << " in the library";
}

template <typename T>
void ResolveVariable(const LibrarySymbols& symbols, const char* name, T*& out)
{
    out = symbols.Variable<T>(name);
    EXPECT_NE(out, nullptr) << "no " << name << " in the library";
}

Vector3 V(float x, float y, float z)
{
    Vector3 v;
    s_lib.set(&v, x, y, z);
    return v;
}

void ClearGrid()
{
    for (auto& plane : *s_lib.voxelGrid)
        for (auto& row : plane)
            for (float& cell : row)
                cell = 0.0f;
}

Values ValuesOf(const Vector3& v)
{
    return Values{v.x, v.y, v.z};
}

// What one routine sent: normals, colours and vertices in order, each with
// its name.
struct Sent {
    std::string name;
    Values args;
};

std::vector<Sent> Attributes(const std::vector<GlTraceCall>& calls)
{
    std::vector<Sent> out;
    for (const GlTraceCall& call : calls)
        if (call.name == "glNormal3f" || call.name == "glColor4f" || call.name == "glColor3f" ||
            call.name == "glVertex3f")
            out.push_back(Sent{call.name, call.args});
    return out;
}

// One quad of a tiled sphere's batch, with the normal and colour current
// when it went out.
struct Quad {
    Values normal;
    Values colour;
    std::vector<Values> vertices;
};

std::vector<Quad> Quads(const std::vector<GlTraceCall>& calls)
{
    std::vector<Quad> quads;
    Values normal, colour;
    for (const GlTraceCall& call : calls) {
        if (call.name == "glNormal3f") {
            normal = call.args;
        } else if (call.name == "glColor4f" || call.name == "glColor3f") {
            colour = call.args;
        } else if (call.name == "glVertex3f") {
            if (quads.empty() || quads.back().vertices.size() == 4)
                quads.push_back(Quad{normal, colour, {}});
            quads.back().vertices.push_back(call.args);
        }
    }
    return quads;
}

Values Mean(const std::vector<Values>& points)
{
    Values m(3, 0.0);
    for (const Values& p : points)
        for (int a = 0; a < 3; ++a)
            m[a] += p[a] / double(points.size());
    return m;
}

double Length(const Values& v)
{
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

double Dot(const Values& a, const Values& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Values Minus(const Values& a, const Values& b)
{
    return Values{a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

std::vector<GlTraceCall> Trace(void (*routine)())
{
    GlTraceRecording recording;
    routine();
    return GlTraceCalls();
}

std::vector<GlTraceCall> TraceTile(float scale, float height, const Vector3& a, const Vector3& b,
                                   const Vector3& c, const Vector3& d)
{
    GlTraceRecording recording;
    glBegin(GL_QUADS);
    s_lib.drawExtrudedTile(scale, height, &a, &b, &c, &d);
    glEnd();
    return GlTraceCalls();
}

// Batches a routine opened: each glBegin with its mode.
std::vector<double> Batches(const std::vector<GlTraceCall>& calls)
{
    std::vector<double> modes;
    for (const GlTraceCall& call : calls)
        if (call.name == "glBegin")
            modes.push_back(call.args[0]);
    return modes;
}

// The float forms of sine, cosine and square root the routines compute with.
float FSin(float x)
{
    return float(std::sin(double(x)));
}

float FCos(float x)
{
    return float(std::cos(double(x)));
}

float FSqrt(float x)
{
    return float(std::sqrt(double(x)));
}

// The sphere point at latitude lat and longitude lon in degrees, with the
// spheres' degree factor: pi/180 with pi taken as 3.14159.
Values SpherePoint(int lat, int lon)
{
    const double k = 0.017453277f;
    const float latAngle = float(lat * k), lonAngle = float(lon * k);
    return Values{float(double(FCos(latAngle)) * FCos(lonAngle)),
                  float(double(FCos(latAngle)) * FSin(lonAngle)), FSin(latAngle)};
}

// The corners a tile was given, in order, read back from its walls: the
// first wall starts with p0 and p1, the second ends with p2 at its third
// corner, the third ends with p3.
std::vector<Values> GivenCorners(const std::vector<Quad>& quads, size_t tile)
{
    return {quads[tile * 5 + 1].vertices[0], quads[tile * 5 + 1].vertices[1],
            quads[tile * 5 + 2].vertices[2], quads[tile * 5 + 3].vertices[3]};
}

}  // namespace

class BrulaneRoutinesTest : public EffectTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
        ResetGLState();
        Orvan_Plugin* plugin = LoadFreshEffect("brulane");
        ASSERT_NE(plugin, nullptr);
        const void* vtable = *reinterpret_cast<void* const*>(plugin);
        const LibrarySymbols symbols(BuiltLibraryPath("brulane"), vtable);
        ASSERT_EQ(symbols.Error(), "");
        // The table read is that of the copy loaded: its effect's vtable,
        // past the offset and type words, is where the object points.
        ASSERT_EQ(static_cast<const char*>(symbols.Address("vtable for Brulane_Plugin")) +
                      2 * sizeof(void*),
                  vtable);

        s_lib = BrulaneRoutines();
        ResolveFunction(symbols, "DrawTiledSphere()", s_lib.drawTiledSphere);
        ResolveFunction(symbols, "DrawFlatTiledSphere()", s_lib.drawFlatTiledSphere);
        ResolveFunction(symbols,
                "DrawExtrudedTile(float, float, Vector3 const*, Vector3 const*, Vector3 const*, "
                "Vector3 const*)",
                s_lib.drawExtrudedTile);
        ResolveFunction(symbols, "DrawBandFigure()", s_lib.drawBandFigure);
        ResolveFunction(symbols, "DrawVoxelCubes()", s_lib.drawVoxelCubes);
        ResolveFunction(symbols, "DiffuseGrid()", s_lib.diffuseGrid);
        ResolveFunction(symbols, "StampVoxelSource(int, int, int)", s_lib.stampVoxelSource);
        ResolveFunction(symbols, "Vector3::Set(float, float, float)", s_lib.set);
        ResolveFunction(symbols, "Vector3::ScaledCopy(Vector3*, float) const", s_lib.scaledCopy);
        ResolveFunction(symbols, "Vector3::AddVector(Vector3 const&)", s_lib.addVector);
        ResolveFunction(symbols, "Vector3::SubtractVector(Vector3 const&)", s_lib.subtractVector);
        ResolveFunction(symbols, "Vector3::Normalise()", s_lib.normalise);
        ResolveVariable(symbols, "g_tilePhaseA", s_lib.tilePhaseA);
        ResolveVariable(symbols, "g_tilePhaseB", s_lib.tilePhaseB);
        ResolveVariable(symbols, "g_voxelGrid", s_lib.voxelGrid);
        ASSERT_FALSE(HasFailure());
    }
};

TEST_F(BrulaneRoutinesTest, Vector3OperationsWorkInPlaceOrIntoTheirTarget)
{
    Vector3 v;
    EXPECT_EQ(&s_lib.set(&v, 1.0f, -2.0f, 0.5f), &v);
    EXPECT_EQ(ValuesOf(v), (Values{1.0, -2.0, 0.5}));

    Vector3 out;
    EXPECT_EQ(s_lib.scaledCopy(&v, &out, 4.0f), &out);
    EXPECT_EQ(ValuesOf(out), (Values{4.0, -8.0, 2.0}));
    EXPECT_EQ(ValuesOf(v), (Values{1.0, -2.0, 0.5}));  // the vector itself unchanged

    EXPECT_EQ(&s_lib.addVector(&v, out), &v);
    EXPECT_EQ(ValuesOf(v), (Values{5.0, -10.0, 2.5}));
    EXPECT_EQ(&s_lib.subtractVector(&v, V(1.0f, 1.0f, 1.0f)), &v);
    EXPECT_EQ(ValuesOf(v), (Values{4.0, -11.0, 1.5}));

    Vector3 copy(v);
    Vector3 assigned;
    EXPECT_EQ(&(assigned = v), &assigned);
    EXPECT_EQ(ValuesOf(copy), ValuesOf(v));
    EXPECT_EQ(ValuesOf(assigned), ValuesOf(v));

    struct Case {
        float in[3];  // floats, so the inputs are what Normalise sees
        Values out;
    };
    const Case cases[] = {
        {{3, 0, 4}, {0.6f, 0, 0.8f}},
        {{0, -2, 0}, {0, -1, 0}},
        {{0, 0, 0}, {0, 0, 0}},  // zero length: left as it is
        // The squares vanish as a float: a length of 0, nothing divided.
        {{1e-30f, -1e-30f, 1e-30f}, {1e-30f, -1e-30f, 1e-30f}},
    };
    for (const Case& c : cases) {
        Vector3 n = V(c.in[0], c.in[1], c.in[2]);
        s_lib.normalise(&n);
        EXPECT_EQ(ValuesOf(n), c.out) << c.in[0] << "," << c.in[1] << "," << c.in[2];
    }
}

TEST_F(BrulaneRoutinesTest, ExtrudedTileSendsItsTopThenFourGreyWallsWithTheirNormals)
{
    // A square about (2, 3, 4) facing +z; corners exact in float, so the
    // given corners come back unchanged after the centroid round trip.
    const Vector3 a = V(3, 4, 4), b = V(1, 4, 4), c = V(1, 2, 4), d = V(3, 2, 4);
    const std::vector<Sent> sent = Attributes(TraceTile(0.5f, 0.25f, a, b, c, d));
    ASSERT_EQ(sent.size(), 30u);  // five quads of normal, colour, 4 vertices

    const Values p[4] = {ValuesOf(a), ValuesOf(b), ValuesOf(c), ValuesOf(d)};
    const Values q[4] = {{2.5, 3.5, 4.25}, {1.5, 3.5, 4.25}, {1.5, 2.5, 4.25}, {2.5, 2.5, 4.25}};
    EXPECT_EQ(sent[0].name, "glNormal3f");
    EXPECT_EQ(sent[0].args, (Values{0, 0, 1}));
    EXPECT_EQ(sent[1].name, "glColor4f");
    EXPECT_EQ(sent[1].args, (Values{1, 1, 1, 0.25}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(sent[2 + i].name, "glVertex3f");
        EXPECT_EQ(sent[2 + i].args, q[i]) << "top corner " << i;
    }

    struct Wall {
        double grey;
        Values corners[4];
    };
    const Wall walls[4] = {
        {0.25, {p[0], p[1], q[1], q[0]}},
        {0.5, {q[1], p[1], p[2], q[2]}},
        {0.75, {q[3], q[2], p[2], p[3]}},
        {1.0, {p[3], p[0], q[0], q[3]}},
    };
    for (int w = 0; w < 4; ++w) {
        SCOPED_TRACE(w);
        const size_t at = 6 + 6 * size_t(w);
        const Wall& wall = walls[w];
        ASSERT_EQ(sent[at].name, "glNormal3f");
        ASSERT_EQ(sent[at + 1].name, "glColor4f");
        EXPECT_EQ(sent[at + 1].args, (Values{wall.grey, wall.grey, wall.grey, 0.25}));
        for (int i = 0; i < 4; ++i) {
            ASSERT_EQ(sent[at + 2 + i].name, "glVertex3f");
            EXPECT_EQ(sent[at + 2 + i].args, wall.corners[i]) << "corner " << i;
        }
        // The wall's normal: the first two corners about the centroid,
        // crossed; it is a unit vector square to the wall's bottom edge.
        const Values m = Mean({wall.corners[0], wall.corners[1], wall.corners[2],
                               wall.corners[3]});
        const Values r0 = Minus(wall.corners[0], m), r1 = Minus(wall.corners[1], m);
        Values cross = {r0[1] * r1[2] - r0[2] * r1[1], r0[2] * r1[0] - r0[0] * r1[2],
                        r0[0] * r1[1] - r0[1] * r1[0]};
        const double length = Length(cross);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(sent[at].args[axis], cross[axis] / length, 1e-6) << axis;
    }
    // The corners were read, not changed.
    EXPECT_EQ(ValuesOf(a), p[0]);
    EXPECT_EQ(ValuesOf(d), p[3]);
}

TEST_F(BrulaneRoutinesTest, ExtrudedTileWithoutScaleTurnsItsWallsAndKeepsTheTopNormal)
{
    const Vector3 a = V(3, 4, 4), b = V(1, 4, 4), c = V(1, 2, 4), d = V(3, 2, 4);
    for (float scale : {0.0f, -0.5f}) {
        SCOPED_TRACE(scale);
        const std::vector<Sent> sent = Attributes(TraceTile(scale, 1.0f, a, b, c, d));
        ASSERT_EQ(sent.size(), 26u);  // one normal only
        EXPECT_EQ(sent[0].name, "glNormal3f");
        const Values p[4] = {ValuesOf(a), ValuesOf(b), ValuesOf(c), ValuesOf(d)};
        Values q[4];
        for (int i = 0; i < 4; ++i) {
            const Values centre = {2, 3, 4};
            for (int axis = 0; axis < 3; ++axis)
                q[i].push_back(centre[axis] + scale * (p[i][axis] - centre[axis]) +
                               (axis == 2 ? 1.0 : 0.0));
            EXPECT_EQ(sent[2 + i].args, q[i]);
        }
        const Values reversed[4][4] = {{q[0], q[1], p[1], p[0]},
                                       {q[2], p[2], p[1], q[1]},
                                       {p[3], p[2], q[2], q[3]},
                                       {q[3], q[0], p[0], p[3]}};
        const double greys[4] = {0.25, 0.5, 0.75, 1.0};
        for (int w = 0; w < 4; ++w) {
            const size_t at = 6 + 5 * size_t(w);
            EXPECT_EQ(sent[at].name, "glColor4f");
            EXPECT_EQ(sent[at].args, (Values{greys[w], greys[w], greys[w], 0.25}));
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(sent[at + 1 + i].args, reversed[w][i]) << "wall " << w << " " << i;
        }
    }
}

TEST_F(BrulaneRoutinesTest, ExtrudedTileDegenerateCases)
{
    // Scale 1, height 0: the top lies on the tile and each wall collapses to
    // a line, its two ends each sent twice.
    {
        const Vector3 a = V(1, 1, 0), b = V(-1, 1, 0), c = V(-1, -1, 0), d = V(1, -1, 0);
        const std::vector<Quad> quads = Quads(TraceTile(1.0f, 0.0f, a, b, c, d));
        ASSERT_EQ(quads.size(), 5u);
        const std::vector<Values> tile = {ValuesOf(a), ValuesOf(b), ValuesOf(c), ValuesOf(d)};
        EXPECT_EQ(quads[0].vertices, tile);
        for (size_t w = 1; w < 5; ++w) {
            std::vector<Values> ends = quads[w].vertices;
            std::sort(ends.begin(), ends.end());
            EXPECT_EQ(ends[0], ends[1]) << w;
            EXPECT_EQ(ends[2], ends[3]) << w;
            EXPECT_NE(ends[1], ends[2]) << w;
            for (double value : quads[w].normal)
                EXPECT_TRUE(std::isfinite(value)) << w;  // a zero normal at worst
        }
    }
    // Corners in a line: the first two relative corners are parallel, the
    // normal has no length and goes out as zero, never as NaN.
    {
        const Vector3 a = V(0, 0, 0), b = V(1, 0, 0), c = V(2, 0, 0), d = V(3, 0, 0);
        const std::vector<Quad> quads = Quads(TraceTile(0.5f, 0.3f, a, b, c, d));
        ASSERT_EQ(quads.size(), 5u);
        EXPECT_EQ(quads[0].normal, (Values{0, 0, 0}));
        EXPECT_EQ(quads[0].vertices[0], (Values{0.75, 0, 0}));  // no lift along no normal
        for (const Quad& quad : quads)
            for (double value : quad.normal)
                EXPECT_TRUE(std::isfinite(value));
    }
}

TEST_F(BrulaneRoutinesTest, TiledSphereRipplesInACheckerboardAndCarriesItsPhases)
{
    // The first call after load starts from phases 0, so its first tile has
    // height 0.
    EXPECT_EQ(*s_lib.tilePhaseA, 0.0f);
    EXPECT_EQ(*s_lib.tilePhaseB, 0.0f);
    std::vector<GlTraceCall> calls = Trace(s_lib.drawTiledSphere);
    EXPECT_EQ(Batches(calls), (std::vector<double>{double(GL_QUADS)}));
    EXPECT_EQ(GlTraceCount("glEnd"), 1u);
    std::vector<Quad> quads = Quads(calls);
    ASSERT_EQ(quads.size(), 18u * 36u * 5u);
    // 18 rows of 0.007 and 0.021, then 0.0001 and 0.0003.
    EXPECT_NEAR(*s_lib.tilePhaseA, 18 * 0.007 + 0.0001, 1e-5);
    EXPECT_NEAR(*s_lib.tilePhaseB, 18 * 0.021 + 0.0003, 1e-5);

    // Heights as the phases give them: the tile's top centroid sits off the
    // tile's own centroid along the top normal by +h for odd tiles, -h for
    // even ones; 37 a row shifts the pattern by one each row.
    // The phases step as floats, as the routine keeps them.
    auto check = [](const std::vector<Quad>& sphere, float startA, float startB) {
        float rowA = startA, rowB = startB;
        int n = 0;
        for (int row = 0; row < 18; ++row) {
            float pa = rowA, pb = rowB;
            for (int col = 0; col < 36; ++col) {
                const size_t tile = size_t(row * 36 + col);
                const Quad& top = sphere[tile * 5];
                // The wall of the first edge starts at the tile's corners.
                const Quad& wall = sphere[tile * 5 + 1];
                const std::vector<Values> corners = {wall.vertices[0], wall.vertices[1],
                                                     sphere[tile * 5 + 2].vertices[2],
                                                     sphere[tile * 5 + 3].vertices[3]};
                for (const Values& corner : corners)
                    EXPECT_NEAR(Length(corner), 1.0, 1e-6) << "off the unit sphere";
                EXPECT_NEAR(Length(top.normal), 1.0, 1e-5) << "row " << row << " col " << col;
                const double h = std::sin(double(pa)) * std::cos(double(pb)) / 2;
                const double lift =
                    Dot(Minus(Mean(top.vertices), Mean(corners)), top.normal);
                EXPECT_NEAR(lift, n % 2 != 0 ? h : -h, 2e-6) << "row " << row << " col " << col;
                // The top is the tile shrunk to half about its centroid.
                const Values topCentre = Mean(top.vertices), centre = Mean(corners);
                for (size_t i = 0; i < 4; ++i)
                    for (size_t axis = 0; axis < 3; ++axis)
                        EXPECT_NEAR(top.vertices[i][axis] - topCentre[axis],
                                    0.5 * (corners[i][axis] - centre[axis]), 1e-6)
                            << "row " << row << " col " << col << " corner " << i;
                pa = float(pa + 6.2831854 / 10 / 6);
                pb = float(pb + 6.2829854 / 10 / 3);
                ++n;
            }
            rowA = float(rowA + 0.007);
            rowB = float(rowB + 0.021);
            ++n;
        }
    };
    EXPECT_NEAR(Dot(Minus(Mean(quads[0].vertices), Mean({quads[1].vertices[0],
                                                          quads[1].vertices[1],
                                                          quads[2].vertices[2],
                                                          quads[3].vertices[3]})),
                    quads[0].normal),
                0.0, 1e-7);
    check(quads, 0.0f, 0.0f);

    // The next call continues from the advanced phases.
    const float a1 = *s_lib.tilePhaseA, b1 = *s_lib.tilePhaseB;
    calls = Trace(s_lib.drawTiledSphere);
    quads = Quads(calls);
    ASSERT_EQ(quads.size(), 18u * 36u * 5u);
    check(quads, a1, b1);

    // Every tile's top is white at a quarter alpha.
    for (size_t t = 0; t < quads.size(); t += 5)
        ASSERT_EQ(quads[t].colour, (Values{1, 1, 1, 0.25}));
}

TEST_F(BrulaneRoutinesTest, TiledSpherePolesAlmostMeetAndKeepTheirNormals)
{
    // The degree factor is pi/180 with pi as 3.14159: cos(90 k) is about
    // 1.4e-6, so the two corners at a pole stay apart.
    const std::vector<Quad> quads = Quads(Trace(s_lib.drawTiledSphere));
    ASSERT_EQ(quads.size(), 18u * 36u * 5u);
    for (int col = 0; col < 36; ++col) {
        SCOPED_TRACE(col);
        // A tile's first and last corners lie on its lower latitude: in the
        // first row the fourth wall starts with both, at -90.
        const Quad& bottomWall = quads[size_t(col) * 5 + 4];
        const Values& p3 = bottomWall.vertices[0];
        const Values& p0 = bottomWall.vertices[1];
        EXPECT_NE(p3, p0);
        EXPECT_LT(Length(Minus(p3, p0)), 1e-6);
        EXPECT_NEAR(p0[2], -1.0, 1e-9);
        // Its second and third lie on the upper one: in the last row the
        // second wall joins them, at 90.
        const Quad& topWall = quads[size_t(17 * 36 + col) * 5 + 2];
        EXPECT_NE(topWall.vertices[1], topWall.vertices[2]);
        EXPECT_NEAR(topWall.vertices[1][2], 1.0, 1e-9);
        EXPECT_NEAR(Length(quads[size_t(col) * 5].normal), 1.0, 1e-5);
        EXPECT_NEAR(Length(quads[size_t(17 * 36 + col) * 5].normal), 1.0, 1e-5);
    }
}

TEST_F(BrulaneRoutinesTest, SphereTilesStandOnTheirDegreePointsInOrder)
{
    // Each tile is given P(lat, lon + step), P(lat + step, lon + step),
    // P(lat + step, lon), P(lat, lon), rows from the -z pole, longitudes from
    // 0. The given corners come back through the centroid, within a float
    // rounding; the float nearest pi/180 would move the corners at high
    // longitudes by some 5e-6.
    struct Sphere {
        const char* name;
        void (*draw)();
        int step;
    };
    const Sphere spheres[] = {{"raised", s_lib.drawTiledSphere, 10},
                              {"flat", s_lib.drawFlatTiledSphere, 15}};
    for (const Sphere& sphere : spheres) {
        SCOPED_TRACE(sphere.name);
        const std::vector<Quad> quads = Quads(Trace(sphere.draw));
        const int rows = 180 / sphere.step, columns = 360 / sphere.step;
        ASSERT_EQ(quads.size(), size_t(rows * columns * 5));
        size_t tile = 0;
        for (int lat = -90; lat < 90; lat += sphere.step) {
            for (int lon = 0; lon < 360; lon += sphere.step, ++tile) {
                const std::vector<Values> expected = {
                    SpherePoint(lat, lon + sphere.step),
                    SpherePoint(lat + sphere.step, lon + sphere.step),
                    SpherePoint(lat + sphere.step, lon), SpherePoint(lat, lon)};
                const std::vector<Values> corners = GivenCorners(quads, tile);
                for (size_t c = 0; c < 4; ++c)
                    for (size_t axis = 0; axis < 3; ++axis)
                        ASSERT_NEAR(corners[c][axis], expected[c][axis], 2.5e-7)
                            << "lat " << lat << " lon " << lon << " corner " << c;
            }
        }
    }
}

TEST_F(BrulaneRoutinesTest, FlatTiledSphereIs288FlatTilesAndKeepsNoState)
{
    const float phaseA = *s_lib.tilePhaseA;
    const std::vector<GlTraceCall> first = Trace(s_lib.drawFlatTiledSphere);
    EXPECT_EQ(Batches(first), (std::vector<double>{double(GL_QUADS)}));
    const std::vector<Quad> quads = Quads(first);
    ASSERT_EQ(quads.size(), 12u * 24u * 5u);
    for (size_t t = 0; t < quads.size(); t += 5) {
        SCOPED_TRACE(t / 5);
        const std::vector<Values> corners = {quads[t + 1].vertices[0], quads[t + 1].vertices[1],
                                             quads[t + 2].vertices[2], quads[t + 3].vertices[3]};
        const Values m = Mean(corners);
        // Height 0: the top is the tile shrunk to 0.55 about its centroid.
        for (int i = 0; i < 4; ++i)
            for (int axis = 0; axis < 3; ++axis)
                ASSERT_NEAR(quads[t].vertices[size_t(i)][size_t(axis)],
                            m[size_t(axis)] + 0.55 * (corners[size_t(i)][size_t(axis)] -
                                                      m[size_t(axis)]),
                            1e-6);
    }
    EXPECT_EQ(*s_lib.tilePhaseA, phaseA);
    const std::vector<GlTraceCall> second = Trace(s_lib.drawFlatTiledSphere);
    EXPECT_TRUE(Attributes(second).size() == Attributes(first).size());
    const std::vector<Quad> again = Quads(second);
    for (size_t n = 0; n < quads.size(); ++n)
        ASSERT_EQ(again[n].vertices, quads[n].vertices) << n;
}

TEST_F(BrulaneRoutinesTest, BandFigureIsWhiteRingsWithARedBandTwoStepsInThree)
{
    const std::vector<GlTraceCall> calls = Trace(s_lib.drawBandFigure);
    EXPECT_EQ(Batches(calls), (std::vector<double>{double(GL_QUADS)}));
    EXPECT_EQ(GlTraceCount("glNormal3f"), 0u);
    const std::vector<Quad> quads = Quads(calls);

    size_t white = 0, red = 0;
    double lowest = 1e9, highest = -1e9, lowRadius = 0, highRadius = 0;
    std::vector<int> redSteps(36, 0);
    int step = 0;
    for (size_t n = 0; n < quads.size(); ++n) {
        const Quad& quad = quads[n];
        for (const Values& v : quad.vertices)
            for (double value : v)
                ASSERT_TRUE(std::isfinite(value));
        if (quad.colour == Values{1, 1, 1}) {
            ++white;
            step = int((white - 1) % 36);
            const bool redFollows = n + 1 < quads.size() && quads[n + 1].colour == Values{1, 0, 0};
            redSteps[size_t(step)] += redFollows ? 1 : 0;
            // The second corner lies at angle b on the lower edge.
            const Values& v = quad.vertices[1];
            double angle = std::atan2(v[0], v[2]);
            if (angle < 0)
                angle += 2 * M_PI;
            EXPECT_EQ(std::lround(angle * 57.2), step * 10) << n;
            if (v[1] < lowest) {
                lowest = v[1];
                lowRadius = std::hypot(v[0], v[2]);
            }
            const Values& top = quad.vertices[2];
            if (top[1] > highest) {
                highest = top[1];
                highRadius = std::hypot(top[0], top[2]);
            }
        } else {
            ASSERT_EQ(quad.colour, (Values{1, 0, 0}));
            ++red;
        }
    }
    EXPECT_EQ(white, 34u * 36u);
    EXPECT_EQ(red, 34u * 24u);
    // Every ring lacks its red quad at b = 0, 30, ..., 330.
    for (int s = 0; s < 36; ++s)
        EXPECT_EQ(redSteps[size_t(s)], s % 3 == 0 ? 0 : 34) << "b " << s * 10;

    // Open at both ends.
    EXPECT_NEAR(lowest, -170.0 / 180.0, 1e-6);
    EXPECT_NEAR(highest, 170.0 / 180.0, 1e-6);
    EXPECT_NEAR(lowRadius, 0.30, 0.01);
    EXPECT_NEAR(highRadius, 0.29, 0.01);
}

TEST_F(BrulaneRoutinesTest, BandFigureQuadsStandWhereTheirFormulasPutThem)
{
    // Angles in degrees over the float 57.2; heights y(x) = (x - 180) / 180;
    // white radii sqrt(sin(x / 2)), red ones sqrt(1.1 sin(x / 2)), in the
    // float forms.
    auto angle = [](double degrees) { return float(degrees / double(57.2f)); };
    auto height = [](int x) { return float((x - 180) / 180.0); };
    auto white = [&](int x) { return FSqrt(FSin(angle(x / 2.0))); };
    auto red = [&](int x) { return FSqrt(float(1.1 * FSin(angle(x / 2.0)))); };
    auto at = [](float turn, float radius, float y) {
        return Values{float(double(FSin(turn)) * radius), y, float(double(FCos(turn)) * radius)};
    };
    std::vector<Quad> expected;
    int n = 0;
    for (int a = 20; a < 360; a += 10) {
        for (int b = 0; b < 360; b += 10, ++n) {
            const float phi0 = angle(b), phi1 = angle(b - 10);
            expected.push_back(Quad{{},
                                    {1, 1, 1},
                                    {at(phi1, white(a - 10), height(a - 10)),
                                     at(phi0, white(a - 10), height(a - 10)),
                                     at(phi0, white(a), height(a)),
                                     at(phi1, white(a), height(a))}});
            if (n % 3 == 0)
                continue;
            const float psi2 = angle(b + 2), psi3 = angle(b - 8);
            expected.push_back(Quad{{},
                                    {1, 0, 0},
                                    {at(psi3, red(a - 8), height(a - 6)),
                                     at(psi2, red(a - 8), height(a - 6)),
                                     at(psi2, red(a + 2), height(a + 4)),
                                     at(psi3, red(a + 2), height(a + 4))}});
        }
    }

    const std::vector<Quad> quads = Quads(Trace(s_lib.drawBandFigure));
    ASSERT_EQ(quads.size(), expected.size());
    for (size_t q = 0; q < quads.size(); ++q) {
        SCOPED_TRACE(testing::Message() << "quad " << q);
        ASSERT_EQ(quads[q].colour, expected[q].colour);
        for (size_t v = 0; v < 4; ++v)
            for (size_t axis = 0; axis < 3; ++axis)
                ASSERT_NEAR(quads[q].vertices[v][axis], expected[q].vertices[v][axis], 1e-6)
                    << "corner " << v;
    }
}

TEST_F(BrulaneRoutinesTest, VoxelCubesDrawOnlyInteriorCellsAboveTheThreshold)
{
    ClearGrid();
    float(&grid)[32][32][32] = *s_lib.voxelGrid;
    const float threshold = 1.25e-5f;
    grid[3][4][5] = threshold;  // not drawn: the test is strict
    grid[3][4][6] = std::nextafter(threshold, 1.0f);
    grid[7][7][7] = std::numeric_limits<float>::quiet_NaN();
    grid[8][8][8] = -5.0f;
    grid[30][30][30] = 2.0f;  // half-size 1.0125
    grid[0][5][5] = 10.0f;    // border cells are never drawn
    grid[5][31][5] = 10.0f;

    std::vector<GlTraceCall> calls;
    {
        GlTraceRecording recording;
        s_lib.drawVoxelCubes();
        calls = GlTraceCalls();
    }
    EXPECT_EQ(GlTraceCount("glPushMatrix"), 27001u);
    EXPECT_EQ(GlTraceCount("glPopMatrix"), 27001u);
    std::vector<Values> translations, scales, colours;
    for (const GlTraceCall& call : calls) {
        if (call.name == "glTranslatef")
            translations.push_back(call.args);
        else if (call.name == "glScalef")
            scales.push_back(call.args);
        else if (call.name == "glColor4f")
            colours.push_back(call.args);
    }
    EXPECT_EQ(translations, (std::vector<Values>{{-13, -12, -10}, {14, 14, 14}}));
    ASSERT_EQ(scales.size(), 2u);
    EXPECT_EQ(scales[1], (Values{1.0125f, 1.0125f, 1.0125f}));
    EXPECT_EQ(colours[1], (Values{30 / 32.0f, 30 / 128.0f, 30 / 32.0f, 0.125f}));
    // The grid is only read.
    EXPECT_EQ(grid[3][4][5], threshold);
    EXPECT_EQ(grid[30][30][30], 2.0f);
}

TEST_F(BrulaneRoutinesTest, StampsAndBlurNeverReachTheBorder)
{
    ClearGrid();
    float(&grid)[32][32][32] = *s_lib.voxelGrid;
    // The source's cells at its extremes, 6 and 26 on every axis, over many
    // frames.
    for (int frame = 0; frame < 40; ++frame) {
        const int at = frame % 2 == 0 ? 6 : 26;
        s_lib.stampVoxelSource(at, at, at);
        s_lib.diffuseGrid();
    }
    bool sawBorder = false;
    double interior = 0;
    for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 32; ++j)
            for (int k = 0; k < 32; ++k) {
                const bool border = i == 0 || j == 0 || k == 0 || i == 31 || j == 31 || k == 31;
                if (border)
                    sawBorder = sawBorder || grid[i][j][k] != 0.0f;
                else
                    interior += grid[i][j][k];
            }
    EXPECT_FALSE(sawBorder);
    EXPECT_GT(interior, 0.0);
}
