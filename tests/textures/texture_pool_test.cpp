// The texture pool's records: free-record search, growth, names, binding
// counts, and what a load leaves behind.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <climits>
#include <string>
#include <vector>

#include <GL/glext.h>

#include "gl_calls.h"
#include "gl_state.h"
#include "gl_test.h"
#include "gl_trace.h"
#include "stdout_capture.h"
#include "texture.h"
#include "texture_files.h"
#include "texture_pool.h"

namespace {

// The fields a record's callers can see, to tell whether anything changed.
struct Snapshot {
    int32_t bindCount, width, height;
    bool inUse;
    const char* name;
    GLuint glTexture;
    const uint8_t* bitmap;
    bool operator==(const Snapshot& o) const
    {
        return bindCount == o.bindCount && width == o.width && height == o.height && inUse == o.inUse &&
               name == o.name && glTexture == o.glTexture && bitmap == o.bitmap;
    }
};

std::vector<Snapshot> SnapshotOf(TexturePool& pool)
{
    std::vector<Snapshot> all;
    for (Texture* t : pool.textures)
        all.push_back({t->bindCount, t->width, t->height, t->inUse, t->name, t->glTexture, t->bitmap});
    return all;
}

std::vector<char> Writable(const std::string& text)
{
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

TEST(TexturePool, HandsOutTheLowestFreeRecordAndGrowsByTwenty)
{
    TexturePool pool;
    ASSERT_EQ(pool.textures.size(), 20u);
    for (Texture* t : pool.textures) {
        EXPECT_FALSE(t->inUse);
        EXPECT_EQ(t->glTexture, 0xFFFFFFFFu);
    }

    for (int i = 0; i < 20; i++)
        ASSERT_EQ(pool.CreateTexture(("t" + std::to_string(i)).c_str(), 8, 4, 24, false), i);
    Texture* first = pool.textures[0];

    StdoutCapture capture;
    EXPECT_EQ(pool.CreateTexture("t20", 8, 4, 24, false), 20);
    EXPECT_EQ(capture.Finish(), "no free texture, resizing array...\n");
    ASSERT_EQ(pool.textures.size(), 40u);
    EXPECT_EQ(pool.textures[0], first);  // records never move
    EXPECT_FALSE(pool.textures[39]->inUse);

    pool.BindTexture(3);
    EXPECT_EQ(pool.FreeTexture(3), 0);
    EXPECT_EQ(pool.FreeTexture(7), 0);
    Texture* freed = pool.textures[3];
    EXPECT_FALSE(freed->inUse);
    EXPECT_EQ(freed->name, nullptr);
    EXPECT_EQ(freed->width, 8);  // a free record keeps its size
    EXPECT_EQ(freed->bindCount, 1);  // and its count

    EXPECT_EQ(pool.CreateTexture("again", 2, 2, 24, true), 3);
    EXPECT_STREQ(freed->name, "again");
    EXPECT_TRUE(freed->renderTarget);
    EXPECT_EQ(freed->bindCount, 0);  // taken again, it can be unloaded again
    EXPECT_EQ(pool.CreateTexture("and again", 2, 2, 24, false), 7);
    EXPECT_EQ(pool.CreateTexture("then the new ones", 2, 2, 24, false), 21);
}

TEST(TexturePool, GetTextureKnowsItsBounds)
{
    TexturePool pool;
    EXPECT_EQ(pool.GetTexture(-1), nullptr);
    EXPECT_EQ(pool.GetTexture(20), nullptr);
    EXPECT_EQ(pool.GetTexture(19), pool.textures[19]);
    EXPECT_EQ(pool.GetTextureByName("nothing"), nullptr);
    EXPECT_EQ(pool.FindTexture("nothing"), -1);
}

TEST(TexturePool, NamesAreExactAndTheLowestMatchWins)
{
    TexturePool pool;
    pool.CreateTexture("other", 1, 1, 24, false);
    int plasma = pool.CreateTexture("plasma1", 1, 1, 24, false);
    pool.CreateTexture("plasma1", 1, 1, 24, false);  // CreateTexture itself does not check
    EXPECT_EQ(pool.FindTexture("plasma1"), plasma);
    EXPECT_EQ(pool.GetTextureByName("plasma1"), pool.textures[plasma]);
    EXPECT_EQ(pool.GetTextureByName("Plasma1"), nullptr);
    EXPECT_EQ(pool.GetTextureByName("plasma"), nullptr);
}

TEST(TexturePool, UnloadWaitsForTheBindCountToReturnToZero)
{
    TexturePool pool;
    int index = pool.CreateTexture("bound", 1, 1, 24, false);
    Texture* record = pool.textures[index];
    record->glTexture = 1234;

    EXPECT_EQ(pool.BindTexture(index), 1234u);
    {
        StdoutCapture capture;
        EXPECT_EQ(pool.UnloadTexture(index), -1);
        EXPECT_EQ(capture.Finish(), "Error Unloading Texture - Texture Still Bound!\n");
    }
    EXPECT_TRUE(record->inUse);

    EXPECT_EQ(pool.UnbindTexture(index), 0);
    EXPECT_EQ(pool.UnbindTexture(index), 0);  // no floor: -1 refuses too
    EXPECT_EQ(record->bindCount, -1);
    EXPECT_EQ(pool.UnloadTexture(index), -1);

    pool.BindTexture(index);
    EXPECT_EQ(pool.UnloadTexture(index), 0);
    EXPECT_FALSE(record->inUse);
    EXPECT_EQ(record->name, nullptr);
    EXPECT_EQ(record->glTexture, 1234u);  // the GL texture is not deleted
}

TEST(TexturePool, IndexesOutsideTheArrayTouchNothing)
{
    TexturePool pool;
    for (int i = 0; i < 20; i++)
        pool.CreateTexture("taken", 1, 1, 24, false);
    const std::vector<Snapshot> before = SnapshotOf(pool);

    for (int index : {-1, 20, 21, 1000, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(pool.BindTexture(index), 0u);
        EXPECT_EQ(pool.UnbindTexture(index), -1);
        EXPECT_EQ(pool.UnloadTexture(index), -1);
        EXPECT_EQ(pool.FreeTexture(index), -1);
        EXPECT_EQ(pool.GetTexture(index), nullptr);
    }
    EXPECT_EQ(pool.textures.size(), 20u);
    EXPECT_TRUE(SnapshotOf(pool) == before);
}

TEST(TexturePool, ImportTextureWithoutARecord)
{
    TexturePool pool;
    std::vector<char> file = Writable("pic.raw");
    StdoutCapture capture;
    EXPECT_EQ(pool.ImportTexture(file.data(), nullptr), -1);
    EXPECT_EQ(capture.Finish(), "import failure - null texture object");
}

int ImportNothing(char*, Texture*)
{
    return 0;
}

TEST(TexturePool, AnImporterAnsweringZeroFailsTheLoad)
{
    TexturePool pool;
    pool.RegisterImporter(ImportNothing, "Nothing Importer", "NUL", 0);
    EXPECT_STREQ(pool.importers.back()->extension, "nul");
    EXPECT_EQ(pool.RegisterImporter(ImportNothing, "Too Long", "nulls", 0), -1);
    EXPECT_EQ(pool.importers.size(), 4u);

    std::vector<char> file = Writable("pic.nul");
    StdoutCapture capture;
    EXPECT_EQ(pool.LoadTexture(file.data(), "nothing"), -1);
    EXPECT_EQ(capture.Finish(),
              "Matched!\n"
              "import failure - importer returned a null\n"
              "Import Failed - returned -1\n");
    EXPECT_EQ(pool.GetTextureByName("nothing"), nullptr);
    EXPECT_FALSE(pool.textures[0]->inUse);
}

// Records which operations a load reaches, to show they are reached through
// the table, where a plugin-side or derived pool would see them.
class RecordingPool : public TexturePool {
public:
    std::vector<std::string> calls;

    int LoadTextureEx(char* file, const char* name, int w, int h, int bits, int reserved) override
    {
        calls.push_back("LoadTextureEx");
        return TexturePool::LoadTextureEx(file, name, w, h, bits, reserved);
    }
    int CreateTexture(const char* name, int w, int h, int bits, bool target) override
    {
        calls.push_back("CreateTexture");
        return TexturePool::CreateTexture(name, w, h, bits, target);
    }
    int ImportTexture(char* file, Texture* record) override
    {
        calls.push_back("ImportTexture");
        return TexturePool::ImportTexture(file, record);
    }
    int FindTexture(const char* name) override
    {
        calls.push_back("FindTexture");
        return TexturePool::FindTexture(name);
    }
    int FreeTexture(int index) override
    {
        calls.push_back("FreeTexture");
        return TexturePool::FreeTexture(index);
    }
};

TEST(TexturePool, OperationsCallEachOtherThroughTheTable)
{
    RecordingPool pool;
    std::vector<char> file = Writable("/nonexistent/pic.raw");
    StdoutCapture capture;
    EXPECT_EQ(pool.LoadTexture(file.data(), "missing"), -1);
    EXPECT_EQ(pool.calls, (std::vector<std::string>{"LoadTextureEx", "FindTexture", "CreateTexture",
                                                    "ImportTexture", "FreeTexture"}));

    pool.calls.clear();
    int index = pool.CreateTexture("x", 1, 1, 24, false);
    pool.GetTextureByName("x");
    pool.UnloadTexture(index);
    EXPECT_EQ(pool.calls, (std::vector<std::string>{"CreateTexture", "FindTexture", "FreeTexture"}));
}

class TexturePoolGl : public GlTest {};

TEST_F(TexturePoolGl, LoadAnswersZeroAndADuplicateNameTheFirstIndex)
{
    TempDir dir;
    std::string raw = dir.Write("pic.raw", Bytes(4 * 2 * 3, 0x40));
    TexturePool pool;
    pool.CreateTexture("a", 1, 1, 24, false);
    pool.CreateTexture("b", 1, 1, 24, false);

    std::vector<char> file = Writable(raw);
    EXPECT_EQ(pool.LoadTextureEx(file.data(), "picture", 4, 2, 24, 0), 0);
    EXPECT_EQ(pool.FindTexture("picture"), 2);
    Texture* record = pool.GetTextureByName("picture");
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(glIsTexture(record->glTexture));

    std::vector<char> other = Writable(dir.Path("missing.raw"));
    StdoutCapture capture;
    EXPECT_EQ(pool.LoadTexture(other.data(), "picture"), 2);
    EXPECT_EQ(capture.Finish(), "duplicate texture load attempt!\n");  // the file is not opened
    EXPECT_EQ(record->width, 4);
}

TEST_F(TexturePoolGl, ARecordFreedAndLoadedAgainGetsANewGlName)
{
    TempDir dir;
    std::vector<char> file = Writable(dir.Write("pic.raw", Bytes(4 * 4 * 3, 0x80)));
    TexturePool pool;

    ASSERT_EQ(pool.LoadTextureEx(file.data(), "first", 4, 4, 24, 0), 0);
    GLuint firstName = pool.textures[0]->glTexture;
    EXPECT_EQ(pool.BindTexture(0), firstName);
    pool.UnbindTexture(0);
    EXPECT_EQ(pool.textures[1]->glTexture, 0xFFFFFFFFu);

    pool.FreeTexture(0);
    EXPECT_EQ(pool.textures[0]->bitmap, nullptr);
    ASSERT_EQ(pool.LoadTextureEx(file.data(), "second", 4, 4, 24, 0), 0);
    EXPECT_EQ(pool.FindTexture("second"), 0);
    EXPECT_NE(pool.textures[0]->glTexture, firstName);
    EXPECT_TRUE(glIsTexture(firstName));  // the old texture stays in GL
}

// What a load sends GL for each importer: a new name, bound; the filters,
// magnification first, both linear; then one upload of level 0 in the
// component count 3 from the importer's pixels. No mipmaps, and the importers
// make no call. Rows that are a multiple of 4 bytes, as in every bundled
// picture, are read at GL's own alignment with no pixel-store call; only
// other rows (5 pixels of 3 bytes) are read at alignment 1, the caller's put
// back.
TEST_F(TexturePoolGl, LoadUploadsOneLinearLevelInThreeComponents)
{
    ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
    struct Upload {
        std::string path;
        int givenWidth, givenHeight;  // to LoadTextureEx
        int width, height;            // uploaded
        GLenum format;
        bool alignedRows;
    };
    TempDir dir;
    dir.Write("pic.raw", Bytes(4 * 2 * 3, 0x40));
    dir.Write("odd.raw", Bytes(5 * 2 * 3, 0x40));
    BmpLayout bmp{5, 3, 24, false, {Bytes(15, 1), Bytes(15, 2), Bytes(15, 3)}};
    dir.Write("pic.bmp", MakeBmp(bmp));
    BmpLayout wide{8, 2, 24, false, {Bytes(24, 1), Bytes(24, 2)}};
    dir.Write("wide.bmp", MakeBmp(wide));
    ASSERT_TRUE(WriteJpeg(dir.Path("pic.jpg"), 16, 8, 3, Bytes(16 * 8 * 3, 0x80)));
    ASSERT_TRUE(WriteJpeg(dir.Path("odd.jpg"), 7, 3, 3, Bytes(7 * 3 * 3, 0x80)));
    std::vector<Upload> uploads = {
        {dir.Path("pic.raw"), 4, 2, 4, 2, GL_RGB, true},       {dir.Path("odd.raw"), 5, 2, 5, 2, GL_RGB, false},
        {dir.Path("pic.bmp"), 0, 0, 5, 3, GL_BGR_EXT, false},  {dir.Path("wide.bmp"), 0, 0, 8, 2, GL_BGR_EXT, true},
        {dir.Path("pic.jpg"), 0, 0, 16, 8, GL_RGB, true},      {dir.Path("odd.jpg"), 0, 0, 7, 3, GL_RGB, false},
    };
    for (const char* leaf : {"bemsel.jpg", "kimbel.jpg", "pelgrin.jpg", "plas_1.jpg", "plas_2.jpg", "plas_3.jpg",
                             "plas_4.jpg", "ravoth.jpg", "tessik.jpg"})
        uploads.push_back({std::string(KELDA_DATA_DIR) + "/" + leaf, 0, 0, 256, 256, GL_RGB, true});
    uploads.push_back({std::string(KELDA_DATA_DIR) + "/dax.jpg", 0, 0, 512, 256, GL_RGB, true});
    TexturePool pool;

    for (const Upload& u : uploads) {
        SCOPED_TRACE(u.path);
        std::vector<char> file = Writable(u.path);
        int result;
        {
            StdoutCapture quiet;
            GlTraceRecording recording;
            result = pool.LoadTextureEx(file.data(), u.path.c_str(), u.givenWidth, u.givenHeight, 24, 0);
        }
        ASSERT_EQ(result, 0);
        const GLuint name = pool.GetTextureByName(u.path.c_str())->glTexture;
        const std::string upload = GlCall("glTexImage2D", {GL_TEXTURE_2D, 0, 3, double(u.width), double(u.height), 0,
                                                           double(u.format), GL_UNSIGNED_BYTE});
        EXPECT_EQ(GlCallsRecorded(),
                  GlCall("glGenTextures", {1, double(name)}) + GlCall("glBindTexture", {GL_TEXTURE_2D, double(name)}) +
                      GlCall("glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR}) +
                      GlCall("glTexParameteri", {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR}) +
                      (u.alignedRows ? upload
                                     : GlCall("glGetIntegerv", {GL_UNPACK_ALIGNMENT}) +
                                           GlCall("glPixelStorei", {GL_UNPACK_ALIGNMENT, 1}) + upload +
                                           GlCall("glPixelStorei", {GL_UNPACK_ALIGNMENT, 4})));
        EXPECT_EQ(UploadsReadingPastTheirPixels(), "");
        EXPECT_EQ(GlInteger(GL_UNPACK_ALIGNMENT), 4);
        // Nothing built a second level behind the tracer's back either.
        GLint levelOne = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOne);
        EXPECT_EQ(levelOne, 0);
    }
}

TEST_F(TexturePoolGl, BindingCountsWithoutAGlCall)
{
    ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
    TempDir dir;
    std::vector<char> file = Writable(dir.Write("pic.raw", Bytes(4 * 4 * 3, 0x80)));
    TexturePool pool;
    {
        StdoutCapture quiet;
        ASSERT_EQ(pool.LoadTextureEx(file.data(), "picture", 4, 4, 24, 0), 0);
    }
    GlTraceRecording recording;
    EXPECT_EQ(pool.BindTexture(0), pool.textures[0]->glTexture);
    EXPECT_EQ(pool.BindTexture(0), pool.textures[0]->glTexture);
    EXPECT_EQ(pool.UnbindTexture(0), 0);
    EXPECT_EQ(pool.textures[0]->bindCount, 1);
    EXPECT_EQ(GlCallsRecorded(), "");
}

// At GL's default unpack alignment of 4, which nothing in the system
// changes, GL holds exactly the importer's rows, whatever their length, and
// reads nothing past them: rows of 3, 6, 9, 15, 18 or 21 bytes would
// otherwise be read as longer ones, the texels shifted and the last row read
// past the buffer. Rows of a multiple of 4 bytes go up at the alignment that
// stands, which must be that 4; the others go up at 1, and the pool then puts
// back the alignment it found, whatever it was: the last case finds 8.
TEST_F(TexturePoolGl, UploadReadsRowsOfAnyWidthAtTheDefaultAlignmentAndPutsBackTheOneItFound)
{
    ASSERT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
    struct Rows {
        int width;
        GLint standingAlignment;
    };
    TempDir dir;
    TexturePool pool;
    for (const Rows& rows : {Rows{1, 4}, Rows{2, 4}, Rows{3, 4}, Rows{4, 4}, Rows{5, 4}, Rows{6, 4}, Rows{7, 4},
                             Rows{8, 4}, Rows{5, 8}}) {
        const std::string name = std::to_string(rows.width) + " at " + std::to_string(rows.standingAlignment);
        SCOPED_TRACE(name);
        Bytes pixels(size_t(rows.width) * 3 * 3);
        for (size_t i = 0; i < pixels.size(); i++)
            pixels[i] = static_cast<uint8_t>(i * 5 + 1);
        std::vector<char> file = Writable(dir.Write("rows.raw", pixels));

        glPixelStorei(GL_UNPACK_ALIGNMENT, rows.standingAlignment);
        {
            StdoutCapture quiet;
            GlTraceRecording recording;
            ASSERT_EQ(pool.LoadTextureEx(file.data(), name.c_str(), rows.width, 3, 24, 0), 0);
        }
        EXPECT_EQ(UploadsReadingPastTheirPixels(), "");
        EXPECT_EQ(GlInteger(GL_UNPACK_ALIGNMENT), rows.standingAlignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

        const Texture* record = pool.GetTextureByName(name.c_str());
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(BoundTexture(), record->glTexture);
        EXPECT_EQ(BoundTexels(GL_RGB, 3), pixels);
    }
}

}  // namespace
