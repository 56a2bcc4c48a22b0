// Bitmap files as DIB sections: the rows Windows would give, and refusal of
// headers that do not describe their file.
#include <gtest/gtest.h>

#include <ostream>

#include <cstring>

#include "texture_files.h"
#include "win_gdi.h"

namespace {

// Rows of a test pattern as the file stores them. Bits beyond the last pixel
// of a row stay clear, as a DIB holds them.
std::vector<Bytes> PatternRows(int32_t width, int32_t height, int bits)
{
    size_t used = (static_cast<size_t>(width) * bits + 7) / 8;
    std::vector<Bytes> rows;
    for (int32_t r = 0; r < height; r++) {
        Bytes row(used);
        for (size_t i = 0; i < used; i++)
            row[i] = static_cast<uint8_t>(r * 37 + i * 11 + 5);
        if (bits == 32)
            for (size_t i = 3; i < used; i += 4)
                row[i] = 0xFF;  // opaque, as SDL keeps it
        size_t tailBits = (static_cast<size_t>(width) * bits) % 8;
        if (tailBits)
            row[used - 1] &= static_cast<uint8_t>(0xFF << (8 - tailBits));
        rows.push_back(row);
    }
    return rows;
}

// The DIB's expected bits: bottom row first, rows padded to 4 bytes with 0.
Bytes ExpectedBits(const BmpLayout& layout)
{
    size_t stride = BmpStride(layout.width, layout.bits);
    Bytes bits(stride * layout.rows.size(), 0);
    for (size_t i = 0; i < layout.rows.size(); i++) {
        size_t fromBottom = layout.topDown ? layout.rows.size() - 1 - i : i;
        std::copy(layout.rows[i].begin(), layout.rows[i].end(), bits.begin() + fromBottom * stride);
    }
    return bits;
}

HANDLE Load(const std::string& name)
{
    return LoadImageA(nullptr, name.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
}

struct DepthCase {
    const char* label;
    uint16_t bits;
    int32_t width;
    int32_t height;
    bool topDown;
};

// Test names show the case label rather than its bytes.
void PrintTo(const DepthCase& c, std::ostream* out)
{
    *out << c.label;
}

class DibDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(DibDepth, RowsComeBottomUpPaddedAtTheFilesDepth)
{
    const DepthCase& c = GetParam();
    BmpLayout layout{c.width, c.height, c.bits, c.topDown, PatternRows(c.width, c.height, c.bits)};
    TempDir dir;
    std::string path = dir.Write("pic.bmp", MakeBmp(layout));

    HANDLE bitmap = Load(path);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info;
    ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, c.width);
    EXPECT_EQ(info.bmHeight, c.height);
    EXPECT_EQ(info.bmWidthBytes, static_cast<LONG>(BmpStride(c.width, c.bits)));
    EXPECT_EQ(info.bmWidthBytes % 4, 0);
    EXPECT_EQ(info.bmPlanes, 1);
    EXPECT_EQ(info.bmBitsPixel, c.bits);
    ASSERT_NE(info.bmBits, nullptr);

    Bytes expected = ExpectedBits(layout);
    Bytes got(static_cast<const uint8_t*>(info.bmBits),
              static_cast<const uint8_t*>(info.bmBits) + expected.size());
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(DeleteObject(bitmap));
}

INSTANTIATE_TEST_SUITE_P(
    Depths, DibDepth,
    ::testing::Values(DepthCase{"bgr24_padded_rows", 24, 5, 3, false},
                      DepthCase{"bgr24_unpadded", 24, 4, 2, false},
                      DepthCase{"bgr24_top_down_file", 24, 7, 4, true},
                      DepthCase{"bgrx32", 32, 3, 2, false},
                      DepthCase{"indexed8", 8, 6, 3, false},
                      DepthCase{"indexed4", 4, 5, 3, false},
                      DepthCase{"mono1", 1, 13, 2, false},
                      DepthCase{"x1r5g5b5_16", 16, 3, 2, false}),
    [](const ::testing::TestParamInfo<DepthCase>& info) { return std::string(info.param.label); });

TEST(DibSection, WindowsStyleNamesAreOpened)
{
    TempDir dir;
    std::string path = dir.Write("pic.bmp", MakeBmp({2, 2, 24, false, PatternRows(2, 2, 24)}));
    HANDLE bitmap = Load(WindowsName(path));
    ASSERT_NE(bitmap, nullptr);
    DeleteObject(bitmap);
}

TEST(DibSection, ObjectQueriesAndDeletion)
{
    TempDir dir;
    std::string path = dir.Write("pic.bmp", MakeBmp({2, 2, 24, false, PatternRows(2, 2, 24)}));
    HANDLE bitmap = Load(path);
    ASSERT_NE(bitmap, nullptr);

    BITMAP info;
    EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(GetObjectA(bitmap, sizeof info - 1, &info), 0);
    int unknown = 0;
    EXPECT_EQ(GetObjectA(&unknown, sizeof info, &info), 0);
    EXPECT_FALSE(DeleteObject(&unknown));

    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(GetObjectA(bitmap, sizeof info, &info), 0);
    EXPECT_FALSE(DeleteObject(bitmap));
}

TEST(DibSection, OnlyBitmapFilesAsDibSectionsAreLoaded)
{
    TempDir dir;
    std::string path = dir.Write("pic.bmp", MakeBmp({2, 2, 24, false, PatternRows(2, 2, 24)}));
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), 1 /* an icon */, 0, 0,
                         LR_LOADFROMFILE | LR_CREATEDIBSECTION),
              nullptr);
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
    EXPECT_EQ(Load(dir.Path("missing.bmp")), nullptr);
}

struct LieCase {
    const char* label;
    uint16_t bits;  // of the honest file the lie is told about
    void (*lie)(Bytes&);
};

// Test names show the case label rather than its bytes.
void PrintTo(const LieCase& c, std::ostream* out)
{
    *out << c.label;
}

class DibLyingHeader : public ::testing::TestWithParam<LieCase> {};

// An honest 5 x 3 file (rows padded from 15 or 5 to 16 or 8 bytes) loads;
// with the one lie told it is refused.
TEST_P(DibLyingHeader, IsRefused)
{
    const LieCase& c = GetParam();
    Bytes bytes = MakeBmp({5, 3, c.bits, false, PatternRows(5, 3, c.bits)});
    TempDir dir;
    HANDLE honest = Load(dir.Write("honest.bmp", bytes));
    ASSERT_NE(honest, nullptr);
    DeleteObject(honest);

    c.lie(bytes);
    EXPECT_EQ(Load(dir.Write("lying.bmp", bytes)), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Lies, DibLyingHeader,
    ::testing::Values(
        LieCase{"pixel_offset_past_the_end", 24, [](Bytes& b) { PutDword(b, kBfOffBits, 5000); }},
        LieCase{"pixel_offset_inside_the_header", 24, [](Bytes& b) { PutDword(b, kBfOffBits, 20); }},
        LieCase{"height_past_the_file", 24, [](Bytes& b) { PutDword(b, kBiHeight, 4); }},
        LieCase{"top_down_height_past_the_file", 24, [](Bytes& b) { PutDword(b, kBiHeight, static_cast<uint32_t>(-4)); }},
        LieCase{"width_past_the_file", 24, [](Bytes& b) { PutDword(b, kBiWidth, 6); }},
        LieCase{"huge_width", 24, [](Bytes& b) { PutDword(b, kBiWidth, 0x7FFFFFFF); }},
        LieCase{"bit_count_past_the_file", 24, [](Bytes& b) { PutWord(b, kBiBitCount, 32); }},
        LieCase{"file_size_past_the_file", 24, [](Bytes& b) { PutDword(b, kBfSize, static_cast<uint32_t>(b.size() + 1)); }},
        LieCase{"header_size_past_the_file", 24, [](Bytes& b) { PutDword(b, kBiSize, 124); b.resize(120); PutDword(b, kBfSize, 0); }},
        LieCase{"unknown_header_size", 24, [](Bytes& b) { PutDword(b, kBiSize, 41); }},
        LieCase{"pixels_cut_short", 24, [](Bytes& b) { b.resize(b.size() - 3); PutDword(b, kBfSize, 0); }},
        LieCase{"unsupported_bit_count", 24, [](Bytes& b) { PutWord(b, kBiBitCount, 7); }},
        LieCase{"zero_width", 24, [](Bytes& b) { PutDword(b, kBiWidth, 0); }},
        LieCase{"negative_width", 24, [](Bytes& b) { PutDword(b, kBiWidth, static_cast<uint32_t>(-5)); }},
        LieCase{"zero_height", 24, [](Bytes& b) { PutDword(b, kBiHeight, 0); }},
        LieCase{"two_planes", 24, [](Bytes& b) { PutWord(b, kBiPlanes, 2); }},
        LieCase{"unknown_compression", 24, [](Bytes& b) { PutDword(b, kBiCompression, 4); }},
        LieCase{"not_a_bitmap", 24, [](Bytes& b) { b[0] = 'X'; }},
        LieCase{"header_only", 24, [](Bytes& b) { b.resize(20); PutDword(b, kBfSize, 0); }},
        LieCase{"palette_larger_than_the_depth", 8, [](Bytes& b) { PutDword(b, kBiClrUsed, 257); }},
        LieCase{"palette_past_the_pixel_offset", 8, [](Bytes& b) { PutDword(b, kBfOffBits, 54 + 100); }},
        LieCase{"compressed_size_past_the_file", 8, [](Bytes& b) { PutDword(b, kBiCompression, 1); PutDword(b, kBiSizeImage, 100000); }}),
    [](const ::testing::TestParamInfo<LieCase>& info) { return std::string(info.param.label); });

}  // namespace
