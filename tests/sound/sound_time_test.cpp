// The stream time while playing: strictly rising at frame pace, in step
// with the wall clock.
#include "sound_fixture.h"

TEST_F(SoundTest, TimeRisesOnEveryReadOneToTwoMillisecondsApart)
{
    StartLibrary();
    FSOUND_STREAM* stream = OpenImage(EncodeMp3(MakeBeat(44100, 2, 44100 * 3, 500)));
    ASSERT_NE(stream, nullptr);
    int channel = FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 1);
    ASSERT_GE(channel, 0);
    FSOUND_SetPaused(channel, 0);
    ASSERT_TRUE(WaitFor([&] { return FSOUND_Stream_GetTime(stream) >= 200; }, std::chrono::seconds(2)));

    auto wallStart = std::chrono::steady_clock::now();
    int first = FSOUND_Stream_GetTime(stream);
    int previous = first;
    for (int i = 0; i < 500; ++i) {
        SleepMs(1);
        int t = FSOUND_Stream_GetTime(stream);
        ASSERT_GT(t, previous) << "read " << i << " after " << previous;
        previous = t;
    }
    double wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
    // The disk driver runs a little ahead of real time; the clock follows it.
    EXPECT_NEAR(double(previous - first), wallMs, wallMs * 0.08);
}
