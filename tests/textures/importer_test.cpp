// The importers on real small files, through the pool as the plugins use
// it: choice by extension, decoded pixels, and the refusals of bad files.
#include <gtest/gtest.h>

#include <ostream>

#include <GL/gl.h>
#include <GL/glext.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gl_test.h"
#include "importers.h"
#include "stdout_capture.h"
#include "texture.h"
#include "texture_files.h"
#include "texture_pool.h"

namespace {

std::vector<char> Writable(const std::string& text)
{
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

std::string RawBanner(const std::string& file, const Texture* record)
{
    char line[512];
    snprintf(line, sizeof line, "Orvan RAW Importer 1.0alpha // loading file \"%s\" into object %lld\n",
             file.c_str(), static_cast<long long>(reinterpret_cast<intptr_t>(record)));
    return line;
}

const char kJpegBanner[] = "Orvan/DevIL JPEG Importer 1.0alpha \n";
const char kBitmapBanner[] = "Orvan/non-GLaux Bitmap Importer 1.0\n";
const char kFailed[] = "Import Failed - returned -1\n";

// 16 x 32, the top half red, the bottom half blue: each half fills whole
// 16 x 16 blocks, so the JPEG keeps the colours close.
Bytes RedOverBlue()
{
    Bytes pixels(16 * 32 * 3);
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 16; x++) {
            uint8_t* p = &pixels[(y * 16 + x) * 3];
            p[0] = y < 16 ? 240 : 10;
            p[1] = 20;
            p[2] = y < 16 ? 10 : 240;
        }
    return pixels;
}

void ExpectColour(const uint8_t* pixel, int r, int g, int b, const char* where)
{
    SCOPED_TRACE(where);
    EXPECT_NEAR(pixel[0], r, 24);
    EXPECT_NEAR(pixel[1], g, 24);
    EXPECT_NEAR(pixel[2], b, 24);
}

class Importers : public GlTest {
protected:
    // Loads file under name; the log of the load goes to log.
    int Load(std::vector<char>& file, const char* name, int width = 0, int height = 0)
    {
        StdoutCapture capture;
        int result = pool.LoadTextureEx(file.data(), name, width, height, 24, 0);
        log = capture.Finish();
        return result;
    }

    TempDir dir;
    TexturePool pool;
    std::string log;
};

struct ExtensionCase {
    const char* label;
    const char* onDisk;    // leaf written, "" for none
    const char* asked;     // leaf handed to the pool
    const char* afterwards;  // the caller's text after the load
    int result;
};

// Test names show the case label rather than its bytes.
void PrintTo(const ExtensionCase& c, std::ostream* out)
{
    *out << c.label;
}

class ExtensionRules : public Importers, public ::testing::WithParamInterface<ExtensionCase> {};

TEST_P(ExtensionRules, ChooseTheImporterByTheTextAfterTheLastDot)
{
    const ExtensionCase& c = GetParam();
    ASSERT_TRUE(WriteJpeg(dir.Path("pic.jpg"), 16, 32, 3, RedOverBlue()));
    dir.Write("pic.v2.old.raw", Bytes(12, 7));
    dir.Write("pic.jpeg", ReadWhole(dir.Path("pic.jpg")));
    dir.Write("picture", ReadWhole(dir.Path("pic.jpg")));

    std::vector<char> file = Writable(dir.Path(c.asked));
    EXPECT_EQ(Load(file, "texture", 2, 2), c.result);
    std::string afterwards = dir.Path(c.afterwards);
    EXPECT_STREQ(file.data(), afterwards.c_str());

    std::string expected;
    std::string label = c.label;
    if (label == "capitals_are_lowered_in_the_callers_text")
        expected = std::string("Matched!\n") + kJpegBanner;
    else if (label == "only_the_last_dot_counts")
        expected = "Matched!\n" + RawBanner(afterwards, pool.textures[0]);
    else if (label == "no_dot_at_all")
        expected = "Null extention - failed strrstr with string \"" + afterwards + "\"\n" +
                   "import failure - no valid importer detected\n" + kFailed;
    else
        expected = std::string("import failure - no valid importer detected\n") + kFailed;
    EXPECT_EQ(log, expected);

    EXPECT_EQ(pool.GetTextureByName("texture") != nullptr, c.result == 0);
    if (c.result != 0) {
        // The record is free again: the next load takes it.
        EXPECT_FALSE(pool.textures[0]->inUse);
        EXPECT_EQ(pool.CreateTexture("next", 1, 1, 24, false), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, ExtensionRules,
    ::testing::Values(
        ExtensionCase{"capitals_are_lowered_in_the_callers_text", "pic.jpg", "pic.JPG", "pic.jpg", 0},
        ExtensionCase{"only_the_last_dot_counts", "pic.v2.old.raw", "pic.v2.old.RAW", "pic.v2.old.raw", 0},
        ExtensionCase{"jpeg_is_not_jpg", "pic.jpeg", "pic.jpeg", "pic.jpeg", -1},
        ExtensionCase{"no_dot_at_all", "picture", "picture", "picture", -1},
        ExtensionCase{"a_dot_in_a_folder_runs_across_the_separator", "", "Old.D/Picture", "Old.d/picture",
                      -1}),
    [](const ::testing::TestParamInfo<ExtensionCase>& info) { return std::string(info.param.label); });

TEST_F(Importers, JpegPixelsComeFlippedBottomRowFirst)
{
    ASSERT_TRUE(WriteJpeg(dir.Path("dax.jpg"), 16, 32, 3, RedOverBlue()));
    std::vector<char> file = Writable(WindowsName(dir.Path("dax.jpg")));
    ASSERT_EQ(Load(file, "dax"), 0);
    EXPECT_EQ(log, std::string("Matched!\n") + kJpegBanner);

    Texture* record = pool.GetTextureByName("dax");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->width, 16);
    EXPECT_EQ(record->height, 32);
    EXPECT_FALSE(record->renderTarget);
    ASSERT_NE(record->bitmap, nullptr);
    const uint8_t* rows = record->bitmap;
    ExpectColour(rows + (0 * 16 + 3) * 3, 10, 20, 240, "first row: the picture's bottom");
    ExpectColour(rows + (12 * 16 + 8) * 3, 10, 20, 240, "lower half");
    ExpectColour(rows + (20 * 16 + 8) * 3, 240, 20, 10, "upper half");
    ExpectColour(rows + (31 * 16 + 15) * 3, 240, 20, 10, "last row: the picture's top");

    glBindTexture(GL_TEXTURE_2D, record->glTexture);
    std::vector<uint8_t> texels = BoundTexels(GL_RGB, 3);
    EXPECT_EQ(texels, std::vector<uint8_t>(rows, rows + 16 * 32 * 3));
}

TEST_F(Importers, GreyJpegBecomesThreeBytesPerPixel)
{
    ASSERT_TRUE(WriteJpeg(dir.Path("grey.jpg"), 5, 3, 1, Bytes(5 * 3, 77)));
    std::vector<char> file = Writable(dir.Path("grey.jpg"));
    ASSERT_EQ(Load(file, "grey"), 0);
    Texture* record = pool.GetTextureByName("grey");
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->width, 5);
    ASSERT_EQ(record->height, 3);
    for (int i = 0; i < 5 * 3; i++)
        ExpectColour(record->bitmap + i * 3, 77, 77, 77, "grey pixel");
}

struct BadJpegCase {
    const char* label;
    Bytes (*contents)(const Bytes& goodJpeg, const Bytes& png);  // nullptr: no file
};

// Test names show the case label rather than its bytes.
void PrintTo(const BadJpegCase& c, std::ostream* out)
{
    *out << c.label;
}

class BadJpeg : public Importers, public ::testing::WithParamInterface<BadJpegCase> {};

TEST_P(BadJpeg, FailsTheLoadWithoutUsingTheDecodersPixels)
{
    const BadJpegCase& c = GetParam();
    ASSERT_TRUE(WriteJpeg(dir.Path("good.jpg"), 16, 32, 3, RedOverBlue()));
    Bytes good = ReadWhole(dir.Path("good.jpg"));
    ASSERT_TRUE(WritePng(dir.Path("rgba.png"), 4, 4, Bytes(4 * 4 * 4, 200)));

    std::string path = dir.Path("bad.jpg");
    if (c.contents)
        dir.Write("bad.jpg", c.contents(good, ReadWhole(dir.Path("rgba.png"))));
    std::vector<char> file = Writable(path);
    EXPECT_EQ(Load(file, "bad"), -1);
    EXPECT_EQ(log, std::string("Matched!\n") + kJpegBanner + "JPEG IMPORT ERROR - unable to load \"" + path +
                       "\"!\n" + kFailed);
    EXPECT_EQ(pool.GetTextureByName("bad"), nullptr);
    EXPECT_EQ(pool.textures[0]->bitmap, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadJpeg,
    ::testing::Values(
        BadJpegCase{"missing", nullptr},
        BadJpegCase{"truncated", [](const Bytes& good, const Bytes&) { return Bytes(good.begin(), good.begin() + good.size() / 3); }},
        BadJpegCase{"garbage", [](const Bytes&, const Bytes&) { return Bytes(300, 0x5A); }},
        BadJpegCase{"empty", [](const Bytes&, const Bytes&) { return Bytes(); }},
        BadJpegCase{"rgba_png_named_jpg", [](const Bytes&, const Bytes& png) { return png; }}),
    [](const ::testing::TestParamInfo<BadJpegCase>& info) { return std::string(info.param.label); });

// 5 pixels of 24 bits make rows of 15 bytes, padded to 16 in the file.
BmpLayout PaddedBmp()
{
    BmpLayout layout{5, 3, 24, false, {}};
    for (int r = 0; r < 3; r++) {
        Bytes row(15);
        for (int i = 0; i < 15; i++)
            row[i] = static_cast<uint8_t>(r * 50 + i * 3 + 1);
        layout.rows.push_back(row);
    }
    return layout;
}

TEST_F(Importers, BitmapRowsLoseTheirPaddingAndStayBlueGreenRed)
{
    BmpLayout layout = PaddedBmp();
    dir.Write("pic.bmp", MakeBmp(layout));
    std::vector<char> file = Writable(WindowsName(dir.Path("pic.BMP")));
    ASSERT_EQ(Load(file, "bitmap"), 0);
    EXPECT_EQ(log, std::string("Matched!\n") + kBitmapBanner);

    Texture* record = pool.GetTextureByName("bitmap");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->width, 5);
    EXPECT_EQ(record->height, 3);
    Bytes expected;
    for (const Bytes& row : layout.rows)  // the file's bottom row first, as GL wants row 0
        expected.insert(expected.end(), row.begin(), row.end());
    EXPECT_EQ(Bytes(record->bitmap, record->bitmap + expected.size()), expected);

    glBindTexture(GL_TEXTURE_2D, record->glTexture);
    EXPECT_EQ(BoundTexels(GL_BGR_EXT, 3), expected);
}

TEST_F(Importers, BitmapImporterDirectlyReportsBgr)
{
    dir.Write("pic.bmp", MakeBmp(PaddedBmp()));
    std::vector<char> file = Writable(dir.Path("pic.bmp"));
    Texture record;
    StdoutCapture capture;
    EXPECT_EQ(ImportBitmap(file.data(), &record), GL_BGR_EXT);
    capture.Finish();
    free(record.bitmap);
}

TEST_F(Importers, BitmapDepthsTheUploadCannotReadAreRefused)
{
    for (uint16_t bits : {8, 32}) {
        SCOPED_TRACE(bits);
        BmpLayout layout{4, 2, bits, false, {Bytes(4 * bits / 8, 9), Bytes(4 * bits / 8, 9)}};
        dir.Write("deep.bmp", MakeBmp(layout));
        std::vector<char> file = Writable(dir.Path("deep.bmp"));
        EXPECT_EQ(Load(file, "deep"), -1);
        EXPECT_EQ(log, std::string("Matched!\n") + kBitmapBanner + "BMP IMPORT ERROR - " + std::to_string(bits) +
                           " bits per pixel, only 24-bit bitmaps are supported!\n" + kFailed);
        EXPECT_EQ(pool.GetTextureByName("deep"), nullptr);
    }
}

// Unattended, as here under SDL's offscreen driver, a message box is printed
// to standard error ("caption: text") instead of waiting for a click.
const char kLoadImageBox[] = "bitmap import error: LoadImage Failed!\n";

TEST_F(Importers, MissingBitmapShowsNoMessageBox)
{
    std::vector<char> file = Writable(dir.Path("missing.bmp"));
    StderrCapture boxes;
    EXPECT_EQ(Load(file, "missing"), -1);
    EXPECT_EQ(boxes.Finish(), "");
    EXPECT_EQ(log, std::string("Matched!\n") + kBitmapBanner + "BMP IMPORT ERROR - Unable to open file!\n" + kFailed);
}

TEST_F(Importers, BitmapWithALyingHeaderIsRefused)
{
    struct Lie {
        const char* label;
        size_t field;
        uint32_t value;
    };
    for (const Lie& lie : {Lie{"pixel offset past the end", kBfOffBits, 4000},
                           Lie{"more rows than the file holds", kBiHeight, 40},
                           Lie{"more bits than the file holds", kBiBitCount, 32}}) {
        SCOPED_TRACE(lie.label);
        Bytes bytes = MakeBmp(PaddedBmp());
        if (lie.field == kBiBitCount)
            PutWord(bytes, lie.field, static_cast<uint16_t>(lie.value));
        else
            PutDword(bytes, lie.field, lie.value);
        dir.Write("lying.bmp", bytes);
        std::vector<char> file = Writable(dir.Path("lying.bmp"));
        StderrCapture boxes;
        EXPECT_EQ(Load(file, "lying"), -1);
        const std::string shown = boxes.Finish();
        EXPECT_NE(shown.find(kLoadImageBox), std::string::npos) << shown;
        EXPECT_EQ(log, std::string("Matched!\n") + kBitmapBanner + "LoadImage failed!\n" + kFailed);
        EXPECT_FALSE(pool.textures[0]->inUse);
    }
}

TEST_F(Importers, RawOfFourByTwo)
{
    Bytes bytes(30);
    for (size_t i = 0; i < bytes.size(); i++)
        bytes[i] = static_cast<uint8_t>(10 + i);
    std::string path = dir.Write("pic.raw", bytes);
    std::vector<char> file = Writable(path);
    ASSERT_EQ(Load(file, "raw", 4, 2), 0);
    Texture* record = pool.GetTextureByName("raw");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(log, "Matched!\n" + RawBanner(path, record));
    EXPECT_EQ(record->width, 4);
    EXPECT_EQ(record->height, 2);
    EXPECT_EQ(Bytes(record->bitmap, record->bitmap + 24), Bytes(bytes.begin(), bytes.begin() + 24));

    glBindTexture(GL_TEXTURE_2D, record->glTexture);
    std::vector<uint8_t> texels = BoundTexels(GL_RGB, 3);
    ASSERT_EQ(texels.size(), 24u);
    EXPECT_EQ(Bytes(texels.begin(), texels.begin() + 3), (Bytes{10, 11, 12}));      // first row
    EXPECT_EQ(Bytes(texels.begin() + 12, texels.begin() + 15), (Bytes{22, 23, 24}));  // second row
}

TEST_F(Importers, ShortRawFileLeavesTheRestBlackWithoutALine)
{
    Bytes bytes(10, 0xAB);
    std::vector<char> file = Writable(dir.Write("short.raw", bytes));
    ASSERT_EQ(Load(file, "short", 4, 2), 0);
    Texture* record = pool.GetTextureByName("short");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(log, "Matched!\n" + RawBanner(file.data(), record));
    Bytes expected(24, 0);
    std::copy(bytes.begin(), bytes.end(), expected.begin());
    EXPECT_EQ(Bytes(record->bitmap, record->bitmap + 24), expected);
}

TEST_F(Importers, RawThroughLoadTextureIsEmpty)
{
    std::vector<char> file = Writable(dir.Write("any.raw", Bytes(12, 1)));
    StdoutCapture capture;
    EXPECT_EQ(pool.LoadTexture(file.data(), "empty"), 0);
    capture.Finish();
    Texture* record = pool.GetTextureByName("empty");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->width, 0);
    EXPECT_EQ(record->height, 0);
}

TEST_F(Importers, RawTooLargeToHoldFailsTheLoad)
{
    // Beyond any address space, and the largest sizes an int can give.
    for (int side : {1 << 24, INT_MAX}) {
        SCOPED_TRACE(side);
        std::vector<char> file = Writable(dir.Write("huge.raw", Bytes(48, 0x7F)));
        EXPECT_EQ(Load(file, "huge", side, side), -1);
        EXPECT_EQ(log, "Matched!\n" + RawBanner(file.data(), pool.textures[0]) + "texture->bitmap == 0\n" + kFailed);
        EXPECT_EQ(pool.GetTextureByName("huge"), nullptr);
        EXPECT_FALSE(pool.textures[0]->inUse);
        EXPECT_EQ(pool.textures[0]->bitmap, nullptr);
    }
}

TEST_F(Importers, MissingRaw)
{
    std::vector<char> file = Writable(dir.Path("missing.raw"));
    EXPECT_EQ(Load(file, "missing", 4, 2), -1);
    EXPECT_EQ(log, "Matched!\n" + RawBanner(file.data(), pool.textures[0]) + "RAW IMPORT ERROR - File error!\n" +
                       kFailed);
}

}  // namespace
