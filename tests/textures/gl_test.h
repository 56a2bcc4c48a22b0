// A fixture with the test window's GL context current for the whole suite,
// for the tests whose loads upload textures or copy the frame.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "test_window.h"

class GlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { opened_ = OpenTestWindow(window_); }
    static void TearDownTestSuite() { CloseTestWindow(window_); }
    void SetUp() override { ASSERT_TRUE(opened_) << "no test window with a GL context"; }

    // Level 0 of the texture bound to GL_TEXTURE_2D, tightly packed.
    static std::vector<uint8_t> BoundTexels(GLenum format, int channels)
    {
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        std::vector<uint8_t> texels(static_cast<size_t>(width) * height * channels);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, texels.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        return texels;
    }

    static TestWindow window_;
    static bool opened_;
};
