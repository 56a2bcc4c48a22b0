// The GL tracer sees calls and still hands every one to Mesa.
#include <GL/gl.h>

#include "effect_fixture.h"
#include "gl_trace.h"

using GlTraceTest = EffectTest;

TEST_F(GlTraceTest, RecordsOnlyWhileOnAndEveryCallReachesMesa)
{
    ASSERT_TRUE(GlTraceInterposing());
    ResetGLState();

    GlTraceStart();
    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glTranslatef(0.0f, 0.0f, -5.0f);
    glBegin(GL_QUADS);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glEnd();
    GlTraceStop();
    glEnable(GL_DEPTH_TEST);  // not recorded

    const std::vector<GlTraceCall>& calls = GlTraceCalls();
    ASSERT_EQ(calls.size(), 11u);
    EXPECT_EQ(calls[0].name, "glClearColor");
    EXPECT_EQ(calls[0].args, (std::vector<double>{0.25, 0.5, 0.75, 1.0}));
    EXPECT_EQ(calls[4].name, "glBegin");
    EXPECT_EQ(calls[4].args, (std::vector<double>{double(GL_QUADS)}));
    // The matrix in force at glBegin: the translation above.
    ASSERT_EQ(calls[4].modelview.size(), 16u);
    EXPECT_EQ(calls[4].modelview[14], -5.0f);
    EXPECT_EQ(GlTraceCount("glVertex3f"), 4u);
    EXPECT_EQ(calls[10].name, "glEnd");

    // Mesa got them all: the state and the drawing are there.
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[2], 0.75f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    const Pixel centre = ReadBackPixel(320, 240);
    EXPECT_EQ(centre.r, 255);
    EXPECT_EQ(centre.g, 0);
    const Pixel corner = ReadBackPixel(2, 2);
    EXPECT_EQ(corner.r, 64);
    EXPECT_EQ(corner.b, 191);

    // A new recording starts empty.
    GlTraceStart();
    GlTraceStop();
    EXPECT_TRUE(GlTraceCalls().empty());
    ResetGLState();
}
