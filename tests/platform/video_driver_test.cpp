#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

#include "win_handles.h"

namespace {

// SDL_VIDEODRIVER's value, null for none, and whether video starts with no
// display to connect to.
struct DriverRequest {
    const char* asked;
    bool starts;
};

void PrintTo(const DriverRequest& r, std::ostream* out)
{
    *out << (r.asked ? r.asked : "(none)");
}

class VideoDriver : public ::testing::TestWithParam<DriverRequest> {
};

// SDL falls back to drawing offscreen where no display answers; only a
// request by name may take that driver, in any letter case and anywhere in a
// list.
TEST_P(VideoDriver, OffscreenAndDummyOnlyWhereAskedFor)
{
    const DriverRequest r = GetParam();
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, video not started
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            if (r.asked)
                setenv("SDL_VIDEODRIVER", r.asked, 1);
            else
                unsetenv("SDL_VIDEODRIVER");
            std::exit(PlatformStartVideo() ? 0 : 1);
        },
        ::testing::ExitedWithCode(r.starts ? 0 : 1), "");
}

INSTANTIATE_TEST_SUITE_P(Requests, VideoDriver,
                         ::testing::Values(DriverRequest{nullptr, false}, DriverRequest{"", false},
                                           DriverRequest{"offscreen", true},
                                           DriverRequest{"OFFSCREEN", true},
                                           DriverRequest{"dummy", true},
                                           DriverRequest{"x11,offscreen", true},
                                           DriverRequest{"offscreen2", false},
                                           DriverRequest{"x11", false}));

}  // namespace
