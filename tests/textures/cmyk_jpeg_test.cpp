// Four-colour JPEGs as print-oriented editors save them: Adobe's CMYK and
// YCCK with inverted inks, made by cmyk/make_cmyk.sh from the top-left
// 64 x 64 pixels of data/plas_1.jpg. They show the picture they were made
// from; one whose ink storage is not stated is refused, not shown in
// guessed colours.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "gl_test.h"
#include "stdout_capture.h"
#include "texture.h"
#include "texture_files.h"
#include "texture_pool.h"

namespace {

const char kJpegBanner[] = "Orvan/DevIL JPEG Importer 1.0alpha \n";
const int kSide = 64;         // the fixtures' size
const int kOriginalSide = 256;  // data/plas_1.jpg

std::vector<char> Writable(const std::string& text)
{
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

std::string Fixture(const char* leaf)
{
    return std::string(KELDA_CMYK_DIR) + "/" + leaf;
}

struct FourColourCase {
    const char* label;
    const char* leaf;
};

void PrintTo(const FourColourCase& c, std::ostream* out)
{
    *out << c.label;
}

class FourColourJpeg : public GlTest, public ::testing::WithParamInterface<FourColourCase> {};

TEST_P(FourColourJpeg, ShowsThePictureItWasMadeFrom)
{
    const std::string path = Fixture(GetParam().leaf);
    // Adobe's marker right after the start of the image: a fixture that lost
    // it, or was saved again in RGB, would prove nothing here.
    const Bytes bytes = ReadWhole(path);
    ASSERT_GT(bytes.size(), 11u);
    ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "\xFF\xD8\xFF\xEE");
    ASSERT_EQ(std::string(bytes.begin() + 6, bytes.begin() + 11), "Adobe");

    TexturePool pool;
    std::vector<char> original = Writable(std::string(KELDA_DATA_DIR) + "/plas_1.jpg");
    std::vector<char> fourColour = Writable(path);
    StdoutCapture capture;
    ASSERT_EQ(pool.LoadTexture(original.data(), "original"), 0);
    ASSERT_EQ(pool.LoadTexture(fourColour.data(), "four colour"), 0);
    EXPECT_EQ(capture.Finish(), std::string("Matched!\n") + kJpegBanner + "Matched!\n" + kJpegBanner);

    const Texture* rgb = pool.GetTextureByName("original");
    const Texture* inks = pool.GetTextureByName("four colour");
    ASSERT_NE(rgb, nullptr);
    ASSERT_NE(inks, nullptr);
    ASSERT_EQ(rgb->width, kOriginalSide);
    ASSERT_EQ(rgb->height, kOriginalSide);
    ASSERT_EQ(inks->width, kSide);
    ASSERT_EQ(inks->height, kSide);

    // Both buffers hold the bottom row first, so the fixture's rows are the
    // original's top 64: its row r is the original's row 192 + r.
    long total = 0;
    int worst = 0;
    for (int row = 0; row < kSide; row++)
        for (int x = 0; x < kSide; x++)
            for (int c = 0; c < 3; c++) {
                const int mine = inks->bitmap[(row * kSide + x) * 3 + c];
                const int theirs =
                    rgb->bitmap[((kOriginalSide - kSide + row) * kOriginalSide + x) * 3 + c];
                total += std::abs(mine - theirs);
                if (std::abs(mine - theirs) > worst)
                    worst = std::abs(mine - theirs);
            }
    // Lossy coding on both sides, and YCCK's halved chroma, leave a few
    // levels; wrong inks are off by tens on average.
    EXPECT_LE(double(total) / (kSide * kSide * 3), 2.0);
    EXPECT_LE(worst, 24);

    // What GL holds is what the buffer holds.
    glBindTexture(GL_TEXTURE_2D, inks->glTexture);
    EXPECT_EQ(BoundTexels(GL_RGB, 3), Bytes(inks->bitmap, inks->bitmap + kSide * kSide * 3));
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, FourColourJpeg,
    ::testing::Values(FourColourCase{"adobe_cmyk", "plas_1_cmyk.jpg"},
                      FourColourCase{"adobe_ycck", "plas_1_ycck.jpg"}),
    [](const ::testing::TestParamInfo<FourColourCase>& info) { return std::string(info.param.label); });

class FourColourJpegRefused : public GlTest {};

TEST_F(FourColourJpegRefused, WithoutAdobesMarkerTheInksCannotBeKnown)
{
    // The same inks with the marker turned into a comment segment: libjpeg
    // still decodes four components, but nothing says they are inverted.
    Bytes bytes = ReadWhole(Fixture("plas_1_cmyk.jpg"));
    ASSERT_GT(bytes.size(), 4u);
    ASSERT_EQ(bytes[3], 0xEE);
    bytes[3] = 0xFE;
    TempDir dir;
    const std::string path = dir.Write("inks.jpg", bytes);

    TexturePool pool;
    std::vector<char> file = Writable(path);
    StdoutCapture capture;
    EXPECT_EQ(pool.LoadTexture(file.data(), "inks"), -1);
    EXPECT_EQ(capture.Finish(), std::string("Matched!\n") + kJpegBanner + "JPEG IMPORT ERROR - unable to load \"" +
                                    path + "\"!\n" + "Import Failed - returned -1\n");
    EXPECT_EQ(pool.GetTextureByName("inks"), nullptr);
    EXPECT_EQ(pool.textures[0]->bitmap, nullptr);
}

}  // namespace
