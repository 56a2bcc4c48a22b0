// Each committed picture loads with DevIL as the JPEG importer needs it:
// three channels, power-of-two sides, rows of a multiple of 4 bytes (the
// texture upload uses GL's default unpack alignment).
#include <gtest/gtest.h>
#include <IL/il.h>

#include "data_paths.h"

namespace {

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

class Pictures : public ::testing::TestWithParam<const char*> {
protected:
    static void SetUpTestSuite() { ilInit(); }
};

}  // namespace

TEST_P(Pictures, LoadsAsPowerOfTwoRgb)
{
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    std::string path = DataPath(GetParam());
    ASSERT_EQ(ilLoad(IL_JPG, path.c_str()), IL_TRUE) << path << ": DevIL error " << ilGetError();
    int width = ilGetInteger(IL_IMAGE_WIDTH);
    int height = ilGetInteger(IL_IMAGE_HEIGHT);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_CHANNELS), 3);
    EXPECT_EQ(ilGetInteger(IL_IMAGE_FORMAT), IL_RGB);
    EXPECT_TRUE(IsPowerOfTwo(width)) << width;
    EXPECT_TRUE(IsPowerOfTwo(height)) << height;
    EXPECT_EQ(width * 3 % 4, 0) << width;
    ilDeleteImages(1, &image);
}

INSTANTIATE_TEST_SUITE_P(EffectPictures, Pictures,
                         ::testing::Values("dax.jpg", "kimbel.jpg", "ravoth.jpg", "tessik.jpg", "bemsel.jpg",
                                           "pelgrin.jpg", "plas_1.jpg", "plas_2.jpg", "plas_3.jpg", "plas_4.jpg"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });
