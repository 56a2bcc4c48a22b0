#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>

#include "gl_state.h"
#include "test_window.h"
#include "win_console.h"
#include "win_handles.h"

namespace {

PIXELFORMATDESCRIPTOR PlayerFormat()
{
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 16;
    return pfd;
}

HWND OpenBareWindow()
{
    static const char* className = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "BareWindow";
        RegisterClassA(&windowClass);
        return "BareWindow";
    }();
    return CreateWindowExA(0, className, "bare", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                           nullptr, nullptr);
}

}  // namespace

TEST(Window, OpensWithACurrentCompatibilityContext)
{
    TestWindow window;
    ASSERT_TRUE(OpenTestWindow(window));

    int width = 0, height = 0;
    SDL_GetWindowSize(window.hwnd->sdlWindow, &width, &height);
    EXPECT_EQ(640, width);
    EXPECT_EQ(480, height);
    EXPECT_TRUE(SDL_GetWindowFlags(window.hwnd->sdlWindow) & SDL_WINDOW_BORDERLESS);
    EXPECT_EQ(window.hdc, GetDC(window.hwnd)) << "a window keeps its own device context";

    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(nullptr, version);
    EXPECT_EQ(nullptr, std::strstr(version, "Core")) << version;
    EXPECT_GE(GlInteger(GL_DEPTH_BITS), 16);
    CloseTestWindow(window);
}

TEST(Window, ClearedFrameReadsBackBeforeTheSwap)
{
    TestWindow window;
    ASSERT_TRUE(OpenTestWindow(window));

    glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glReadBuffer(GL_BACK);
    unsigned char pixel[4] = {};
    glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_NEAR(64, pixel[0], 1);
    EXPECT_NEAR(128, pixel[1], 1);
    EXPECT_NEAR(191, pixel[2], 1);
    EXPECT_EQ(GL_NO_ERROR, glGetError());
    EXPECT_TRUE(SwapBuffers(window.hdc));
    CloseTestWindow(window);
}

TEST(Window, TitleAndFindWindow)
{
    TestWindow window;
    ASSERT_TRUE(OpenTestWindow(window));
    EXPECT_TRUE(SetWindowTextA(window.hwnd, "Orvan @(59.5fps)"));
    char title[8];
    EXPECT_EQ(7, GetWindowTextA(window.hwnd, title, sizeof title));
    EXPECT_STREQ("Orvan @", title);
    EXPECT_STREQ("Orvan @(59.5fps)", SDL_GetWindowTitle(window.hwnd->sdlWindow));
    EXPECT_EQ(window.hwnd, FindWindowA(nullptr, "Orvan @(59.5fps)"));
    CloseTestWindow(window);
    EXPECT_EQ(nullptr, FindWindowA(nullptr, "Orvan @(59.5fps)"));
}

TEST(Window, UnknownClassGivesNoWindow)
{
    EXPECT_EQ(nullptr, CreateWindowExA(0, "NeverRegistered", "x", WS_POPUP, 0, 0, 640, 480,
                                       nullptr, nullptr, nullptr, nullptr));
}

TEST(Window, ClassRegistersOnce)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "RegisteredTwice";
    EXPECT_NE(0, RegisterClassA(&windowClass));
    EXPECT_EQ(0, RegisterClassA(&windowClass));
}

TEST(PixelFormat, OnlyTheWindowsOwnFormatIsGiven)
{
    struct Case {
        const char* what;
        BYTE pixelType, colorBits, depthBits, stencilBits;
        bool given;
    };
    const Case cases[] = {
        {"the player's format", PFD_TYPE_RGBA, 32, 16, 0, true},
        {"fewer bits", PFD_TYPE_RGBA, 16, 0, 0, true},
        {"more depth bits", PFD_TYPE_RGBA, 32, 24, 0, false},
        {"a stencil buffer", PFD_TYPE_RGBA, 32, 16, 8, false},
        {"colour-index pixels", 1, 8, 16, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HWND hwnd = OpenBareWindow();
        ASSERT_NE(nullptr, hwnd);
        HDC hdc = GetDC(hwnd);
        PIXELFORMATDESCRIPTOR pfd = PlayerFormat();
        pfd.iPixelType = c.pixelType;
        pfd.cColorBits = c.colorBits;
        pfd.cDepthBits = c.depthBits;
        pfd.cStencilBits = c.stencilBits;
        int format = ChoosePixelFormat(hdc, &pfd);
        EXPECT_EQ(c.given, format != 0);
        EXPECT_EQ(c.given, SetPixelFormat(hdc, format, &pfd) == TRUE);
        HGLRC context = wglCreateContext(hdc);
        EXPECT_EQ(c.given, context != nullptr) << "a context needs a pixel format";
        if (context) {
            EXPECT_TRUE(wglDeleteContext(context));
        }
        EXPECT_EQ(1, ReleaseDC(hwnd, hdc));
        EXPECT_TRUE(DestroyWindow(hwnd));
    }
}

TEST(PixelFormat, IsSetOnceAndContextIsNotMadeCurrentByCreation)
{
    HWND hwnd = OpenBareWindow();
    ASSERT_NE(nullptr, hwnd);
    HDC hdc = GetDC(hwnd);
    PIXELFORMATDESCRIPTOR pfd = PlayerFormat();
    int format = ChoosePixelFormat(hdc, &pfd);
    ASSERT_TRUE(SetPixelFormat(hdc, format, &pfd));
    EXPECT_TRUE(SetPixelFormat(hdc, format, &pfd));
    EXPECT_FALSE(SetPixelFormat(hdc, format + 1, &pfd));

    HGLRC context = wglCreateContext(hdc);
    ASSERT_NE(nullptr, context);
    EXPECT_EQ(nullptr, SDL_GL_GetCurrentContext());
    EXPECT_TRUE(wglMakeCurrent(hdc, context));
    EXPECT_NE(nullptr, glGetString(GL_RENDERER));
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(nullptr, SDL_GL_GetCurrentContext());
    EXPECT_TRUE(wglDeleteContext(context));
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_FALSE(SwapBuffers(hdc)) << "the device context went with its window";
}
