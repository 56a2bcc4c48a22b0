// JPEGs that end without their end-of-image marker, as some cameras and
// encoders write them, and JPEGs cut short inside their coded data, through
// the pool on real files of other encoders (encoders/make_encoders.sh) and a
// bundled picture. The first show exactly what djpeg shows of the whole file;
// the second are refused, never shown with a made-up rest. Arithmetic-coded
// files show only whole with their marker. A check that runs out of memory
// refuses the file as well.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "gl_test.h"
#include "jpeg_coded_data.h"
#include "libjpeg_allocations.h"
#include "stdout_capture.h"
#include "texture.h"
#include "texture_files.h"
#include "texture_pool.h"

namespace {

const char kJpegBanner[] = "Orvan/DevIL JPEG Importer 1.0alpha \n";

std::vector<char> Writable(const std::string& text)
{
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

Bytes Without(const Bytes& whole, size_t count)
{
    return Bytes(whole.begin(), whole.end() - long(count));
}

Bytes WithoutEndMarker(const Bytes& whole)
{
    return Without(whole, 2);
}

Bytes CutAt(const Bytes& whole, size_t at)
{
    return Bytes(whole.begin(), whole.begin() + long(std::min(at, whole.size())));
}

// Loads the file under `name` as the plugins do; the log is what it printed.
int Load(TexturePool& pool, const std::string& path, const char* name, std::string& log)
{
    std::vector<char> file = Writable(path);
    StdoutCapture capture;
    const int result = pool.LoadTexture(file.data(), name);
    log = capture.Finish();
    return result;
}

std::string RefusalLog(const std::string& path)
{
    return std::string("Matched!\n") + kJpegBanner + "JPEG IMPORT ERROR - unable to load \"" + path + "\"!\n" +
           "Import Failed - returned -1\n";
}

struct DamageCase {
    const char* label;
    const char* picture;  // under the source tree
    Bytes (*damage)(const Bytes& whole);
    bool shown;  // else refused
};

void PrintTo(const DamageCase& c, std::ostream* out)
{
    *out << c.label;
}

class DamagedJpeg : public GlTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedJpeg, ShowsWhatDjpegShowsOfTheWholeFileOrIsRefused)
{
    const DamageCase& c = GetParam();
    const std::string original = std::string(KELDA_SOURCE_DIR) + "/" + c.picture;
    const Bytes whole = ReadWhole(original);
    ASSERT_GT(whole.size(), 4u) << original;
    ASSERT_EQ(whole[whole.size() - 2], 0xFF);
    ASSERT_EQ(whole[whole.size() - 1], 0xD9);
    TempDir dir;
    const std::string path = dir.Write("damaged.jpg", c.damage(whole));

    TexturePool pool;
    std::string log;
    const int result = Load(pool, path, "damaged", log);
    const Texture* record = pool.GetTextureByName("damaged");

    if (!c.shown) {
        EXPECT_EQ(result, -1);
        EXPECT_EQ(log, RefusalLog(path));
        EXPECT_EQ(record, nullptr);
        return;
    }

    int width = 0, height = 0;
    Bytes topRowFirst;
    ASSERT_TRUE(Djpeg(original, width, height, topRowFirst)) << "djpeg (libjpeg-turbo-progs) on " << original;
    Bytes bottomRowFirst;
    for (int row = height - 1; row >= 0; row--)
        bottomRowFirst.insert(bottomRowFirst.end(), topRowFirst.begin() + long(row) * width * 3,
                              topRowFirst.begin() + long(row + 1) * width * 3);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(log, std::string("Matched!\n") + kJpegBanner);
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->width, width);
    ASSERT_EQ(record->height, height);
    EXPECT_TRUE(std::equal(bottomRowFirst.begin(), bottomRowFirst.end(), record->bitmap)) << "pixels";
    glBindTexture(GL_TEXTURE_2D, record->glTexture);
    EXPECT_EQ(BoundTexels(GL_RGB, 3), bottomRowFirst);
}

// The cut right after the last scan but one: all that is missing is the last
// scan, a colour's or a refinement's.
Bytes AllButTheLastScan(const Bytes& whole)
{
    return CutAt(whole, JpegScanDataEnd(whole, JpegScanCount(whole) - 2));
}

Bytes HalfwayThroughScan(const Bytes& whole, int scan)
{
    return CutAt(whole, (JpegScanData(whole, scan) + JpegScanDataEnd(whole, scan)) / 2);
}

Bytes HalfwayThroughTheFirstScan(const Bytes& whole)
{
    return HalfwayThroughScan(whole, 0);
}

Bytes HalfwayThroughTheLastScan(const Bytes& whole)
{
    return HalfwayThroughScan(whole, JpegScanCount(whole) - 1);
}

Bytes Whole(const Bytes& whole)
{
    return whole;
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedJpeg,
    ::testing::Values(
        // Without the end marker, or only its last byte: the coded data is
        // whole.
        DamageCase{"bundled_without_its_end_marker", "data/kimbel.jpg", WithoutEndMarker, true},
        DamageCase{"cjpeg_without_its_end_marker", "tests/textures/encoders/cjpeg_baseline.jpg",
                   WithoutEndMarker, true},
        DamageCase{"cjpeg_without_the_markers_last_byte", "tests/textures/encoders/cjpeg_baseline.jpg",
                   [](const Bytes& w) { return Without(w, 1); }, true},
        DamageCase{"cjpeg_progressive_without_its_end_marker", "tests/textures/encoders/cjpeg_progressive.jpg",
                   WithoutEndMarker, true},
        DamageCase{"cjpeg_restarts_without_its_end_marker", "tests/textures/encoders/cjpeg_restarts.jpg",
                   WithoutEndMarker, true},
        DamageCase{"cjpeg_colour_scans_without_its_end_marker", "tests/textures/encoders/cjpeg_colour_scans.jpg",
                   WithoutEndMarker, true},
        DamageCase{"magick_without_its_end_marker", "tests/textures/encoders/magick_baseline.jpg",
                   WithoutEndMarker, true},
        DamageCase{"magick_progressive_without_its_end_marker", "tests/textures/encoders/magick_progressive.jpg",
                   WithoutEndMarker, true},
        // Bytes after the end marker are never read.
        DamageCase{"progressive_with_junk_after_its_end_marker", "tests/textures/encoders/cjpeg_progressive.jpg",
                   [](const Bytes& w) {
                       Bytes junk = w;
                       junk.insert(junk.end(), {'j', 'u', 'n', 'k', 0xFF, 0x00, 0x17});
                       return junk;
                   },
                   true},

        // Cut inside the coded data, or short of scans: refused.
        DamageCase{"bundled_cut_inside_its_coded_data", "data/kimbel.jpg", HalfwayThroughTheFirstScan, false},
        DamageCase{"cjpeg_cut_right_after_its_scan_header", "tests/textures/encoders/cjpeg_baseline.jpg",
                   [](const Bytes& w) { return CutAt(w, JpegScanData(w, 0)); }, false},
        DamageCase{"cjpeg_missing_its_last_coded_byte", "tests/textures/encoders/cjpeg_baseline.jpg",
                   [](const Bytes& w) { return Without(w, 3); }, false},
        DamageCase{"magick_progressive_missing_its_last_coded_byte", "tests/textures/encoders/magick_progressive.jpg",
                   [](const Bytes& w) { return Without(w, 3); }, false},
        DamageCase{"cjpeg_restarts_cut_where_a_restart_marker_is_due", "tests/textures/encoders/cjpeg_restarts.jpg",
                   [](const Bytes& w) { return CutAt(w, JpegNextMarker(w, JpegScanData(w, 0))); }, false},
        DamageCase{"cjpeg_progressive_without_its_last_scan", "tests/textures/encoders/cjpeg_progressive.jpg",
                   AllButTheLastScan, false},
        DamageCase{"magick_progressive_without_its_last_scan", "tests/textures/encoders/magick_progressive.jpg",
                   AllButTheLastScan, false},
        DamageCase{"cjpeg_colour_scans_without_its_last_colour", "tests/textures/encoders/cjpeg_colour_scans.jpg",
                   AllButTheLastScan, false},

        // Arithmetic-coded: where the data stops the decoder reads zeros on,
        // as the coding allows, so only the end marker tells a whole file
        // from a cut one. Whole with it they show; without it, cut or not,
        // they are refused.
        DamageCase{"cjpeg_arithmetic_whole", "tests/textures/encoders/cjpeg_arithmetic.jpg", Whole, true},
        DamageCase{"cjpeg_arithmetic_progressive_whole", "tests/textures/encoders/cjpeg_arithmetic_progressive.jpg",
                   Whole, true},
        DamageCase{"cjpeg_arithmetic_cut_inside_its_coded_data", "tests/textures/encoders/cjpeg_arithmetic.jpg",
                   HalfwayThroughTheFirstScan, false},
        DamageCase{"cjpeg_arithmetic_progressive_cut_inside_its_last_scan",
                   "tests/textures/encoders/cjpeg_arithmetic_progressive.jpg", HalfwayThroughTheLastScan, false},
        DamageCase{"cjpeg_arithmetic_progressive_cut_inside_its_first_scan",
                   "tests/textures/encoders/cjpeg_arithmetic_progressive.jpg", HalfwayThroughTheFirstScan, false},
        DamageCase{"cjpeg_arithmetic_without_its_end_marker", "tests/textures/encoders/cjpeg_arithmetic.jpg",
                   WithoutEndMarker, false},
        DamageCase{"cjpeg_arithmetic_progressive_without_its_end_marker",
                   "tests/textures/encoders/cjpeg_arithmetic_progressive.jpg", WithoutEndMarker, false}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.label); });

class JpegCheckMemory : public GlTest {};

// The check of a file without its end marker decodes it with libjpeg. Where
// memory runs out at any of its allocations, the decoder's creation first,
// the load fails as for a cut file.
TEST_F(JpegCheckMemory, RunningOutAtAnyAllocationOfTheCheckRefusesTheFile)
{
    ASSERT_TRUE(LibjpegAllocations::Interposing()) << "libjpeg's allocations do not reach the test program";
    const Bytes whole = ReadWhole(std::string(KELDA_SOURCE_DIR) + "/tests/textures/encoders/cjpeg_baseline.jpg");
    int allocations = 0;
    {
        // The bytes the check reads: the file with the marker added back.
        LibjpegAllocations counting;
        ASSERT_TRUE(JpegCodedDataWhole(whole.data(), whole.size()));
        allocations = counting.Count();
    }
    ASSERT_GT(allocations, 0);
    TempDir dir;
    const std::string path = dir.Write("unmarked.jpg", WithoutEndMarker(whole));

    for (int failing = 1; failing <= allocations; failing++) {
        SCOPED_TRACE("memory runs out at allocation " + std::to_string(failing) + " of " +
                     std::to_string(allocations));
        TexturePool pool;
        std::string log;
        LibjpegAllocations shortage(failing);
        EXPECT_EQ(Load(pool, path, "unmarked", log), -1);
        EXPECT_EQ(log, RefusalLog(path));
        EXPECT_EQ(pool.GetTextureByName("unmarked"), nullptr);
    }

    // With memory enough the same file shows.
    TexturePool pool;
    std::string log;
    EXPECT_EQ(Load(pool, path, "unmarked", log), 0);
    EXPECT_EQ(log, std::string("Matched!\n") + kJpegBanner);
}

}  // namespace
