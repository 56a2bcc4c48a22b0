#include <GL/gl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "test_window.h"
#include "unattended.h"
#include "win_handles.h"

namespace {

// Points SDL at the test X server; false when there is none.
bool UseTestDisplay()
{
    const char* display = std::getenv("KELDA_TEST_DISPLAY");
    if (!display || !*display)
        return false;
    setenv("DISPLAY", display, 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    return true;
}

DEVMODEA Mode(DWORD width, DWORD height)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = 32;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return mode;
}

}  // namespace

TEST(X11, FullscreenWindowDrawsAndSwaps)
{
    if (!UseTestDisplay())
        GTEST_SKIP() << "KELDA_TEST_DISPLAY is not set";

    DEVMODEA refused = Mode(800, 600);
    EXPECT_EQ(DISP_CHANGE_BADMODE, ChangeDisplaySettingsA(&refused, CDS_FULLSCREEN));
    DEVMODEA mode = Mode(640, 480);
    ASSERT_EQ(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN));
    ASSERT_STREQ("x11", SDL_GetCurrentVideoDriver());

    TestWindow window;
    ASSERT_TRUE(OpenTestWindow(window));
    EXPECT_TRUE(SDL_GetWindowFlags(window.hwnd->sdlWindow) & SDL_WINDOW_FULLSCREEN);
    SDL_DisplayMode current;
    ASSERT_EQ(0, SDL_GetWindowDisplayMode(window.hwnd->sdlWindow, &current));
    EXPECT_EQ(640, current.w);
    EXPECT_EQ(480, current.h);

    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_TRUE(doubleBuffered);

    for (int frame = 0; frame < 3; ++frame) {
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glReadBuffer(GL_BACK);
        unsigned char pixel[4] = {};
        glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        EXPECT_EQ(255, pixel[0]);
        EXPECT_EQ(0, pixel[1]);
        EXPECT_TRUE(SwapBuffers(window.hdc));
    }

    EXPECT_EQ(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsA(nullptr, 0));
    EXPECT_FALSE(SDL_GetWindowFlags(window.hwnd->sdlWindow) & SDL_WINDOW_FULLSCREEN)
        << "the desktop mode comes back when the window gives up the screen";
    CloseTestWindow(window);
}

// Under an X server a real box would wait for ever: the variable must stop it.
TEST(X11, DeclaredUnattendedRunNeverWaitsForABox)
{
    if (!UseTestDisplay())
        GTEST_SKIP() << "KELDA_TEST_DISPLAY is not set";
    ASSERT_TRUE(PlatformStartVideo());
    ASSERT_STREQ("x11", SDL_GetCurrentVideoDriver());
    setenv("KELDA_UNATTENDED", "1", 1);
    ASSERT_TRUE(PlatformIsUnattended());
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "Error: Cannot go fullscreen properly", "error", MB_OK));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

    setenv("KELDA_UNATTENDED", "0", 1);
    EXPECT_FALSE(PlatformIsUnattended()) << "\"0\" declares nothing";
    unsetenv("KELDA_UNATTENDED");
}
