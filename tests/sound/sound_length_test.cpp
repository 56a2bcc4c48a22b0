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

// Soundtracks from the wild carry an ID3v2 tag before the audio and an ID3v1
// tag after it; neither counts as audio.
TEST_F(SoundTest, TagsAroundTheAudioAddNothingToTheLength)
{
    StartLibrary();
    std::vector<unsigned char> audio = EncodeMp3(MakeTone(44100, 2, 44100 * 2, 440.0));
    const std::string title = "Soundtrack";
    std::vector<unsigned char> frame = {'T', 'I', 'T', '2', 0, 0, 0, static_cast<unsigned char>(title.size() + 1), 0, 0, 0};
    frame.insert(frame.end(), title.begin(), title.end());
    frame.resize(frame.size() + 500, 0);  // the tag's padding
    size_t n = frame.size();
    const unsigned char header[] = {'I', 'D', '3', 3, 0, 0,
                                    static_cast<unsigned char>((n >> 21) & 0x7f),
                                    static_cast<unsigned char>((n >> 14) & 0x7f),
                                    static_cast<unsigned char>((n >> 7) & 0x7f),
                                    static_cast<unsigned char>(n & 0x7f)};
    std::vector<unsigned char> image(std::begin(header), std::end(header));
    image.reserve(sizeof header + frame.size() + audio.size() + 128);
    image.insert(image.end(), frame.begin(), frame.end());
    image.insert(image.end(), audio.begin(), audio.end());
    std::vector<unsigned char> v1(128, 0);
    v1[0] = 'T';
    v1[1] = 'A';
    v1[2] = 'G';
    image.insert(image.end(), v1.begin(), v1.end());

    FSOUND_STREAM* stream = OpenImage(image);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(FSOUND_Stream_GetLengthMs(stream), 2000);
}
