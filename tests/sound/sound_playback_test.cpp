// Playing generated MP3s to their end on the disk driver: what the device
// received, and the time at the end and across a pause.
#include "sound_fixture.h"

#include <cmath>
#include <cstdlib>

namespace {

long FirstNonSilentFrame(const std::vector<int16_t>& stereo, long from = 0)
{
    for (long i = from; i < long(stereo.size() / 2); ++i)
        if (stereo[2 * i] != 0 || stereo[2 * i + 1] != 0)
            return i;
    return -1;
}

bool AllSilent(const std::vector<int16_t>& stereo, long fromFrame, long toFrame)
{
    for (long i = 2 * fromFrame; i < 2 * toFrame; ++i)
        if (stereo[size_t(i)] != 0)
            return false;
    return true;
}

// Frames of reference (as stereo) equal the device output from deviceFrame on.
long MatchingFrames(const std::vector<int16_t>& device, long deviceFrame, const PcmAudio& reference,
                    long referenceFrame)
{
    long n = 0;
    int ch = reference.channels;
    while (deviceFrame + n < long(device.size() / 2) && referenceFrame + n < reference.Frames()) {
        const int16_t* r = &reference.samples[size_t(referenceFrame + n) * ch];
        const int16_t* d = &device[size_t(deviceFrame + n) * 2];
        if (d[0] != r[0] || d[1] != r[ch - 1])
            break;
        ++n;
    }
    return n;
}

}  // namespace

// 44.1 kHz stereo plays sample for sample as mpg123 decodes it; the time
// reaches the length exactly and stays there.
TEST_F(SoundTest, PlaysStereoToItsEndAsDecoded)
{
    StartLibrary();
    auto image = EncodeMp3(MakeTone(44100, 2, 44100 * 3 / 4, 440.0));
    PcmAudio reference = DecodeReference(image);
    ASSERT_EQ(reference.Frames(), 44100 * 3 / 4);
    FSOUND_STREAM* stream = OpenImage(image);
    ASSERT_NE(stream, nullptr);
    int length = FSOUND_Stream_GetLengthMs(stream);
    EXPECT_EQ(length, 750);

    PlayToEnd(stream, length);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(FSOUND_Stream_GetTime(stream), length) << "the time left the end";
        SleepMs(2);
    }

    std::vector<int16_t> device = CloseAndReadDeviceOutput();
    long start = FirstNonSilentFrame(device) - FirstNonSilentFrame(reference.samples);
    ASSERT_GE(start, 0) << "nothing non-silent reached the device";
    EXPECT_TRUE(AllSilent(device, 0, start));
    EXPECT_EQ(MatchingFrames(device, start, reference, 0), reference.Frames());
    EXPECT_TRUE(AllSilent(device, start + reference.Frames(), long(device.size() / 2)))
        << "something after the end";
}

struct OtherRateCase {
    int rate;
    int channels;
};

void PrintTo(const OtherRateCase& c, std::ostream* os)
{
    *os << c.rate << " Hz, " << c.channels << " channel(s)";
}

class OtherRateTest : public SoundTest, public ::testing::WithParamInterface<OtherRateCase> {};

// A file at another rate comes out at the device rate, still at its pitch
// (the right channel at 1.5 times the left's) and as long as it should be;
// mono on both channels.
TEST_P(OtherRateTest, PlaysResampled)
{
    const OtherRateCase& c = GetParam();
    StartLibrary();
    const double hz = 441.0;
    auto image = EncodeMp3(MakeTone(c.rate, c.channels, c.rate, hz, 0.6));
    FSOUND_STREAM* stream = OpenImage(image);
    ASSERT_NE(stream, nullptr);
    int length = FSOUND_Stream_GetLengthMs(stream);
    EXPECT_EQ(length, 1000);
    PlayToEnd(stream, length);

    std::vector<int16_t> device = CloseAndReadDeviceOutput();
    long first = FirstNonSilentFrame(device);
    ASSERT_GE(first, 0);
    long last = long(device.size() / 2) - 1;
    while (last > first && device[size_t(2 * last)] == 0 && device[size_t(2 * last + 1)] == 0)
        --last;
    EXPECT_NEAR(double(last - first + 1), 44100.0, 60.0) << "played at the wrong rate";

    long upCrossings[2] = {0, 0};
    for (long i = first; i < last; ++i) {
        if (c.channels == 1) {
            EXPECT_EQ(device[size_t(2 * i)], device[size_t(2 * i + 1)]) << "mono not on both channels";
        }
        for (int ch = 0; ch < 2; ++ch) {
            if (device[size_t(2 * i + ch)] < 0 && device[size_t(2 * i + 2 + ch)] >= 0)
                ++upCrossings[ch];
        }
        if (HasFailure())
            break;
    }
    EXPECT_NEAR(double(upCrossings[0]), hz, 3.0) << "played at the wrong pitch";
    EXPECT_NEAR(double(upCrossings[1]), c.channels == 1 ? hz : 1.5 * hz, 3.0) << "the right channel";
}

INSTANTIATE_TEST_SUITE_P(Files, OtherRateTest,
                         ::testing::Values(OtherRateCase{22050, 1}, OtherRateCase{48000, 2}),
                         [](const ::testing::TestParamInfo<OtherRateCase>& info) {
                             return std::to_string(info.param.rate) + (info.param.channels == 1 ? "Mono" : "Stereo");
                         });

// While paused the time stands and the device gets silence; resumed, the
// time goes on from where it stood and the audio from where it stopped.
TEST_F(SoundTest, PauseHoldsTimeAndAudio)
{
    StartLibrary();
    auto image = EncodeMp3(MakeTone(44100, 2, 44100 * 3 / 2, 500.0));
    PcmAudio reference = DecodeReference(image);
    FSOUND_STREAM* stream = OpenImage(image);
    ASSERT_NE(stream, nullptr);
    int length = FSOUND_Stream_GetLengthMs(stream);
    int channel = FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 0);
    ASSERT_GE(channel, 0);

    ASSERT_TRUE(WaitFor([&] { return FSOUND_Stream_GetTime(stream) >= 400; }, std::chrono::seconds(3)));
    ASSERT_EQ(FSOUND_SetPaused(channel, 1), 1);
    int stood = FSOUND_Stream_GetTime(stream);
    EXPECT_LT(stood, 500);
    for (int i = 0; i < 150; ++i) {
        ASSERT_EQ(FSOUND_Stream_GetTime(stream), stood) << "moved while paused";
        SleepMs(2);
    }
    ASSERT_EQ(FSOUND_SetPaused(channel, 0), 1);
    int resumed = FSOUND_Stream_GetTime(stream);
    EXPECT_GE(resumed, stood);
    EXPECT_LE(resumed, stood + 5) << "jumped on resume";
    SleepMs(100);
    int later = FSOUND_Stream_GetTime(stream);
    EXPECT_GE(later, stood + 70);
    EXPECT_LE(later, stood + 160);
    ASSERT_TRUE(WaitFor([&] { return FSOUND_Stream_GetTime(stream) == length; }, std::chrono::seconds(4)));

    // Device output: silence, the audio up to the pause, silence, the rest.
    std::vector<int16_t> device = CloseAndReadDeviceOutput();
    long start = FirstNonSilentFrame(device) - FirstNonSilentFrame(reference.samples);
    ASSERT_GE(start, 0);
    long before = MatchingFrames(device, start, reference, 0);
    ASSERT_LT(before, reference.Frames()) << "no gap for the pause";
    EXPECT_NEAR(double(before), 44100.0 * stood / 1000.0, 44100.0 * 0.08);
    long gapEnd = start + before;
    while (gapEnd < long(device.size() / 2) && MatchingFrames(device, gapEnd, reference, before) < 64)
        ++gapEnd;
    ASSERT_LT(gapEnd, long(device.size() / 2)) << "the audio after the pause is missing";
    EXPECT_TRUE(AllSilent(device, start + before, gapEnd)) << "something else played during the pause";
    EXPECT_GE(gapEnd - (start + before), 44100 * 250 / 1000) << "the pause was not silent";
    EXPECT_EQ(MatchingFrames(device, gapEnd, reference, before), reference.Frames() - before);
}
