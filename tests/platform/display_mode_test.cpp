#include <gtest/gtest.h>

#include "test_window.h"
#include "win_handles.h"

namespace {

DEVMODEA Mode(DWORD width, DWORD height, DWORD bits)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = bits;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return mode;
}

}  // namespace

// Under the offscreen driver the display has its desktop mode only.
TEST(DisplayMode, AcceptsOnlyWhatTheDisplayGives)
{
    ASSERT_TRUE(PlatformStartVideo());
    SDL_DisplayMode desktop;
    ASSERT_EQ(0, SDL_GetDesktopDisplayMode(0, &desktop));
    const DWORD w = static_cast<DWORD>(desktop.w), h = static_cast<DWORD>(desktop.h);

    const struct {
        DEVMODEA mode;
        LONG result;
    } cases[] = {
        {Mode(w, h, 32), DISP_CHANGE_SUCCESSFUL},
        {Mode(w + 1, h, 32), DISP_CHANGE_BADMODE},
        {Mode(w, h - 1, 32), DISP_CHANGE_BADMODE},
        {Mode(w, h, 8), DISP_CHANGE_BADMODE},
    };
    for (const auto& c : cases) {
        DEVMODEA mode = c.mode;
        EXPECT_EQ(c.result, ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN))
            << mode.dmPelsWidth << "x" << mode.dmPelsHeight << "x" << mode.dmBitsPerPel;
    }
    EXPECT_EQ(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsA(nullptr, 0));
}

TEST(DisplayMode, RefusedModeLeavesTheWindowAsItIs)
{
    DEVMODEA mode = Mode(641, 479, 32);
    ASSERT_EQ(DISP_CHANGE_BADMODE, ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN));
    TestWindow window;
    ASSERT_TRUE(OpenTestWindow(window));
    EXPECT_FALSE(SDL_GetWindowFlags(window.hwnd->sdlWindow) & SDL_WINDOW_FULLSCREEN);
    CloseTestWindow(window);
}
