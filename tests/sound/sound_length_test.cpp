// Stream lengths of generated files of known duration.
#include "sound_fixture.h"

#include <cmath>

namespace {

struct LengthCase {
    int rate;
    int channels;
    long frames;
};

void PrintTo(const LengthCase& c, std::ostream* os)
{
    *os << c.rate << " Hz, " << c.channels << " channel(s), " << c.frames << " frames";
}

class StreamLengthTest : public SoundTest, public ::testing::WithParamInterface<LengthCase> {};

std::string CaseName(const ::testing::TestParamInfo<LengthCase>& info)
{
    return std::to_string(info.param.rate) + (info.param.channels == 1 ? "Mono" : "Stereo") +
           std::to_string(info.param.frames);
}

}  // namespace

TEST_P(StreamLengthTest, IsTheDurationWithinOneFrame)
{
    const LengthCase& c = GetParam();
    StartLibrary();
    FSOUND_STREAM* stream = OpenImage(EncodeMp3(MakeBeat(c.rate, c.channels, c.frames, 250)));
    ASSERT_NE(stream, nullptr);
    double trueMs = 1000.0 * double(c.frames) / c.rate;
    // One MPEG frame: 1152 samples from 32 kHz up, 576 below.
    double frameMs = 1000.0 * (c.rate >= 32000 ? 1152 : 576) / c.rate;
    int length = FSOUND_Stream_GetLengthMs(stream);
    EXPECT_NEAR(double(length), trueMs, frameMs);
    // The info tag makes it exact here; a miss shows a lost tag or a guess.
    EXPECT_EQ(length, int(std::floor(trueMs)));
}

INSTANTIATE_TEST_SUITE_P(Generated, StreamLengthTest,
                         ::testing::Values(LengthCase{44100, 2, 44100 * 2}, LengthCase{44100, 1, 100000},
                                           LengthCase{22050, 2, 33333}, LengthCase{22050, 1, 22050 * 3},
                                           LengthCase{48000, 2, 12345}, LengthCase{8000, 1, 8000}),
                         CaseName);

// Without the accurate flag the length is still the header's, and one
// opening of the same image with each gives the same answer here.
TEST_F(SoundTest, LengthWithoutScanComesFromTheInfoTag)
{
    StartLibrary();
    auto image = EncodeMp3(MakeTone(44100, 2, 44100 * 5 / 2, 300.0));
    FSOUND_STREAM* scanned = OpenImage(image);
    FSOUND_STREAM* tagged = OpenImage(image, FSOUND_NORMAL | FSOUND_LOADMEMORY);
    ASSERT_NE(scanned, nullptr);
    ASSERT_NE(tagged, nullptr);
    EXPECT_EQ(FSOUND_Stream_GetLengthMs(scanned), 2500);
    EXPECT_EQ(FSOUND_Stream_GetLengthMs(tagged), 2500);
}
