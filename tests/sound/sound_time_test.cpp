// The stream time while playing: strictly rising at frame pace, in step
// with the wall clock.
#include "sound_fixture.h"

#include <cmath>
#include <string>

// Measured against the wall clock, so ctest runs it with no other test
// beside it (see CMakeLists.txt).
using SoundPaceTest = SoundTest;

TEST_F(SoundPaceTest, TimeRisesOnEveryReadOneToTwoMillisecondsApart)
{
    StartLibrary();
    FSOUND_STREAM* stream = OpenImage(EncodeMp3(MakeBeat(44100, 2, 44100 * 6, 500)));
    ASSERT_NE(stream, nullptr);
    int channel = FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 1);
    ASSERT_GE(channel, 0);
    FSOUND_SetPaused(channel, 0);
    ASSERT_TRUE(WaitFor([&] { return FSOUND_Stream_GetTime(stream) >= 200; }, std::chrono::seconds(2)));

    // The beat lasts six seconds, longer than five windows.
    // One window of 500 reads a millisecond apart: every read must be later
    // than the one before, and the window's span must match the wall clock.
    // The clock rightly stands still while the device's thread is starved of
    // the processor, so a window that fails is measured again, up to five
    // times; a clock that steps by whole buffers fails every window.
    std::string failure;
    for (int window = 0; window < 5; ++window) {
        failure.clear();
        auto wallStart = std::chrono::steady_clock::now();
        int first = FSOUND_Stream_GetTime(stream);
        int previous = first;
        for (int i = 0; i < 500 && failure.empty(); ++i) {
            SleepMs(1);
            int t = FSOUND_Stream_GetTime(stream);
            if (t <= previous)
                failure = "read " + std::to_string(i) + " gave " + std::to_string(t) + " after " +
                          std::to_string(previous);
            previous = t;
        }
        double wallMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
        // The disk driver runs a little ahead of real time; the clock follows it.
        if (failure.empty() && std::abs(double(previous - first) - wallMs) > wallMs * 0.08)
            failure = "the clock moved " + std::to_string(previous - first) + " ms in " +
                      std::to_string(wallMs) + " ms of wall time";
        if (failure.empty())
            break;
    }
    EXPECT_EQ(failure, "");
}
