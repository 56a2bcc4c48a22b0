// The GL system in a real window with a real Mesa context: the state it sets,
// read back from GL, and its display-mode request.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <cmath>
#include <cstdlib>
#include <dlfcn.h>
#include <optional>
#include <string>
#include <vector>

#include "orvan_core.h"
#include "orvan_gl.h"
#include "stdout_capture.h"
#include "test_window.h"
#include "win_gl.h"
#include "win_window.h"

// The projection is checked as it was asked for: gluPerspective is
// interposed here, records its arguments and goes on to GLU's own.
namespace {

struct PerspectiveCall {
    double fovy, aspect, zNear, zFar;
};
std::vector<PerspectiveCall> g_perspectiveCalls;

}  // namespace

extern "C" void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    typedef void (*Perspective)(GLdouble, GLdouble, GLdouble, GLdouble);
    static const Perspective real = [] {
        void* found = dlsym(RTLD_NEXT, "gluPerspective");
        // The linker may leave GLU out when this is all the program uses.
        if (!found)
            found = dlsym(dlopen("libGLU.so.1", RTLD_NOW | RTLD_LOCAL), "gluPerspective");
        return reinterpret_cast<Perspective>(found);
    }();
    g_perspectiveCalls.push_back({fovy, aspect, zNear, zFar});
    real(fovy, aspect, zNear, zFar);
}

namespace {

// gluPerspective's matrix, column-major, computed here from its definition.
std::vector<double> PerspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar)
{
    const double f = 1.0 / std::tan(fovyDegrees * M_PI / 360.0);
    std::vector<double> m(16, 0.0);
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1.0;
    m[14] = 2.0 * zFar * zNear / (zNear - zFar);
    return m;
}

void ExpectMatrixNear(const std::vector<double>& expected, GLenum which)
{
    GLdouble m[16];
    glGetDoublev(which, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(expected[i], m[i], 1e-6 * (1.0 + std::fabs(expected[i]))) << "element " << i;
}

// The GL system held by value and built and destroyed quietly: the class has
// virtual operations but no virtual destructor, so it is never deleted
// through a pointer here.
class QuietGl {
public:
    QuietGl()
    {
        StdoutCapture quiet;
        object_.emplace();
    }
    ~QuietGl()
    {
        StdoutCapture quiet;
        object_.reset();
    }
    OrvanGL* operator->() { return &*object_; }

private:
    std::optional<OrvanGL> object_;
};

const std::vector<double> kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

class GlSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        {
            StdoutCapture quiet;
            Orvan_Core_Begin();
        }
        ASSERT_TRUE(OpenTestWindow(window_));
        g_perspectiveCalls.clear();
    }

    void TearDown() override
    {
        CloseTestWindow(window_);
        StdoutCapture quiet;
        Orvan_Core_End();
    }

    TestWindow window_;
};

TEST_F(GlSystemTest, ConstructorAndDestructorOnlyLog)
{
    StdoutCapture capture;
    std::optional<OrvanGL> gl;
    gl.emplace();
    EXPECT_EQ("OrvanGL System Created\n", capture.Finish());
    EXPECT_EQ(nullptr, gl->hdc);
    EXPECT_EQ(nullptr, gl->hwnd);
    EXPECT_EQ(nullptr, gl->hglrc);
    EXPECT_EQ(nullptr, gl->texturePool);
    EXPECT_FALSE(gl->rttActive);
    EXPECT_EQ(0, gl->rttCounter);

    auto* pool = reinterpret_cast<TexturePool*>(0x10);
    EXPECT_EQ(0, gl->SetTexturePool(pool));
    EXPECT_EQ(pool, gl->texturePool);

    StdoutCapture destroyed;
    gl.reset();
    EXPECT_EQ("OrvanGL System Destroyed\n", destroyed.Finish());

    // The context is left current and usable.
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(GL_NO_ERROR, glGetError());
    EXPECT_EQ(0, pixel[0]);
    EXPECT_EQ(255, pixel[1]);
}

TEST_F(GlSystemTest, InitGLAndReSizeGLSetTheStartingState)
{
    // Everything the two calls set starts out otherwise.
    glShadeModel(GL_FLAT);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClearDepth(0.25);
    glDepthFunc(GL_GREATER);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glViewport(3, 4, 5, 6);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1.0f, 2.0f, 3.0f);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-2.0, 2.0, -2.0, 2.0, -2.0, 2.0);
    glMatrixMode(GL_TEXTURE);

    QuietGl gl;
    StdoutCapture capture;
    EXPECT_EQ(1, gl->InitGL());
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(GL_PROJECTION, mode) << "InitGL leaves the projection matrix current";
    gl->ReSizeGL(640, 480);
    EXPECT_EQ("OrvanGL::InitGL() called\n", capture.Finish());

    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(GL_SMOOTH, value);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(0.0f, clear[0]);
    EXPECT_FLOAT_EQ(0.0f, clear[1]);
    EXPECT_FLOAT_EQ(0.0f, clear[2]);
    EXPECT_FLOAT_EQ(0.5f, clear[3]);
    GLdouble depth = 0;
    glGetDoublev(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_DOUBLE_EQ(1.0, depth);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(GL_LEQUAL, value);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(GL_NICEST, value);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(GL_BACK, value);
    glGetIntegerv(GL_FRONT_FACE, &value);
    EXPECT_EQ(GL_CCW, value);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(0, viewport[0]);
    EXPECT_EQ(0, viewport[1]);
    EXPECT_EQ(640, viewport[2]);
    EXPECT_EQ(480, viewport[3]);

    ASSERT_EQ(1u, g_perspectiveCalls.size());
    EXPECT_EQ(45.0, g_perspectiveCalls[0].fovy);
    EXPECT_EQ(1.3333333333333333, g_perspectiveCalls[0].aspect);
    EXPECT_EQ(0.10000000149011612, g_perspectiveCalls[0].zNear);
    EXPECT_EQ(100.0, g_perspectiveCalls[0].zFar);
    ExpectMatrixNear(PerspectiveMatrix(45.0, 1.3333333333333333, 0.10000000149011612, 100.0),
                     GL_PROJECTION_MATRIX);

    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(GL_MODELVIEW, mode);
    ExpectMatrixNear(kIdentity, GL_MODELVIEW_MATRIX);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &value);
    EXPECT_EQ(1, value);
    EXPECT_EQ(GL_NO_ERROR, glGetError());
}

TEST_F(GlSystemTest, ZeroHeightIsTakenAsOne)
{
    QuietGl gl;
    gl->ReSizeGL(640, 0);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(0, viewport[0]);
    EXPECT_EQ(0, viewport[1]);
    EXPECT_EQ(640, viewport[2]);
    EXPECT_EQ(1, viewport[3]);
    ASSERT_EQ(1u, g_perspectiveCalls.size());
    EXPECT_EQ(640.0, g_perspectiveCalls[0].aspect);
    glMatrixMode(GL_PROJECTION);
    ExpectMatrixNear(PerspectiveMatrix(45.0, 640.0, 0.10000000149011612, 100.0),
                     GL_PROJECTION_MATRIX);
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(GlSystemTest, ClearSceneClearsBothBuffersAndResetsTheMatrix)
{
    QuietGl gl;
    gl->hdc = window_.hdc;
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClearDepth(0.5);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(5.0f, 0.0f, 0.0f);

    EXPECT_EQ(1, gl->ClearScene());
    ExpectMatrixNear(kIdentity, GL_MODELVIEW_MATRIX);

    // Read the back buffer before the swap presents it.
    unsigned char pixel[3] = {};
    GLfloat depth = 0.0f;
    glReadBuffer(GL_BACK);
    glReadPixels(320, 240, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    glReadPixels(320, 240, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(51, pixel[0], 1);
    EXPECT_NEAR(102, pixel[1], 1);
    EXPECT_NEAR(153, pixel[2], 1);
    EXPECT_NEAR(0.5f, depth, 1e-3f);
    EXPECT_EQ(TRUE, gl->SwapBuffers());
}

// A window of the player's kind without a context: BindWindow makes one.
LRESULT BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND OpenBareWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
        windowClass.lpfnWndProc = BareWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KeldaBindTest";
        registered = RegisterClassA(&windowClass) != 0;
    }
    return CreateWindowExA(WS_EX_APPWINDOW, "KeldaBindTest", "Kelda bind test",
                           WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 640, 480, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

TEST_F(GlSystemTest, BindWindowMakesACurrentContextWhateverTheSize)
{
    struct {
        int width, height;
    } sizes[] = {{640, 480}, {1, 1}, {-5, 0}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        HWND window = OpenBareWindow();
        ASSERT_NE(nullptr, window);
        QuietGl gl;

        StdoutCapture capture;
        testing::internal::CaptureStderr();
        EXPECT_EQ(0, gl->BindWindow(size.width, size.height, window));
        EXPECT_EQ("", testing::internal::GetCapturedStderr()) << "no message box";
        EXPECT_EQ("", capture.Finish());
        EXPECT_EQ(window, gl->hwnd);
        EXPECT_EQ(GetDC(window), gl->hdc);
        ASSERT_NE(nullptr, gl->hglrc);

        // The new context draws into this window's 640x480 back buffer.
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(640, viewport[2]);
        EXPECT_EQ(480, viewport[3]);
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        unsigned char pixel[3] = {};
        glReadBuffer(GL_BACK);
        glReadPixels(639, 479, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
        EXPECT_EQ(255, pixel[0]);
        EXPECT_EQ(0, pixel[2]);
        EXPECT_EQ(TRUE, gl->SwapBuffers());

        EXPECT_EQ(0, gl->ReleaseWindow());
        DestroyWindow(window);
    }
}

TEST(GoFullscreenTest, RefusedModeLogsAndShowsABox)
{
    // The offscreen driver's one mode is not 640x480.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0 ||
        std::string(SDL_GetCurrentVideoDriver()) != "offscreen")
        GTEST_SKIP() << "needs SDL's offscreen video driver";
    SDL_DisplayMode desktop;
    ASSERT_EQ(0, SDL_GetDesktopDisplayMode(0, &desktop));
    if (desktop.w == 640 && desktop.h == 480)
        GTEST_SKIP() << "the display can give 640x480";

    { StdoutCapture quiet; Orvan_Core_Begin(); }
    QuietGl gl;
    StdoutCapture capture;
    testing::internal::CaptureStderr();
    EXPECT_EQ(0, gl->GoFullscreen());
    EXPECT_EQ("error: Error: Cannot go fullscreen properly\n", testing::internal::GetCapturedStderr());
    EXPECT_EQ("ERROR: Cannot go fullscreen!\n", capture.Finish());
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(GoFullscreenTest, AvailableModeIsTakenQuietly)
{
    // Xvfb's one mode is 640x480.
    const char* display = std::getenv("KELDA_TEST_DISPLAY");
    if (!display || !*display)
        GTEST_SKIP() << "KELDA_TEST_DISPLAY is not set";
    if (SDL_WasInit(SDL_INIT_VIDEO))
        GTEST_SKIP() << "video already started with another driver";
    setenv("DISPLAY", display, 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("KELDA_UNATTENDED", "1", 1);  // a message box would wait forever under Xvfb

    { StdoutCapture quiet; Orvan_Core_Begin(); }
    QuietGl gl;
    StdoutCapture capture;
    testing::internal::CaptureStderr();
    EXPECT_EQ(1, gl->GoFullscreen());
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    EXPECT_EQ("", capture.Finish());
    EXPECT_EQ(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsA(nullptr, 0));
}

}  // namespace
