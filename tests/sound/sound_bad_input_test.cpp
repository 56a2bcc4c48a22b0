// What cannot be played gets no stream; misuse of the calls gets a plain
// failure, never a crash.
#include "sound_fixture.h"

#include <cstdlib>
#include <cstring>
#include <random>

namespace {

std::vector<unsigned char> Bytes(const std::string& s)
{
    return std::vector<unsigned char>(s.begin(), s.end());
}

std::vector<unsigned char> GoodImage()
{
    return EncodeMp3(MakeTone(44100, 2, 44100, 440.0));
}

std::vector<unsigned char> Prefix(const std::vector<unsigned char>& image, size_t n)
{
    return std::vector<unsigned char>(image.begin(), image.begin() + std::ptrdiff_t(std::min(n, image.size())));
}

std::vector<unsigned char> WaveFile()
{
    PcmAudio pcm = MakeTone(44100, 2, 44100, 440.0);
    std::vector<unsigned char> wav = Bytes(std::string("RIFF\0\0\0\0WAVEfmt ", 16));
    wav.resize(44, 0);
    const auto* p = reinterpret_cast<const unsigned char*>(pcm.samples.data());
    wav.insert(wav.end(), p, p + pcm.samples.size() * sizeof(int16_t));
    return wav;
}

std::vector<unsigned char> RandomBytes()
{
    std::mt19937 random(12345);
    std::vector<unsigned char> bytes(200000);
    for (auto& b : bytes)
        b = static_cast<unsigned char>(random());
    return bytes;
}

struct BadCase {
    const char* name;
    std::vector<unsigned char> (*image)();
    bool nullData;
    unsigned int mode;
    int offset;
    int length;  // -2: the image's size
};

const int kSize = -2;

void PrintTo(const BadCase& c, std::ostream* os)
{
    *os << c.name;
}

class BadInputTest : public SoundTest, public ::testing::WithParamInterface<BadCase> {};

}  // namespace

TEST_P(BadInputTest, OpensNoStream)
{
    const BadCase& c = GetParam();
    StartLibrary();
    std::vector<unsigned char> image = c.image();
    images_.push_back(image);
    const char* data = c.nullData ? nullptr : reinterpret_cast<const char*>(images_.back().data());
    int length = c.length == kSize ? int(image.size()) : c.length;
    EXPECT_EQ(FSOUND_Stream_Open(data, c.mode, c.offset, length), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Images, BadInputTest,
    ::testing::Values(
        BadCase{"NullData", GoodImage, true, kPlayerMode, 0, 1000},
        BadCase{"NegativeLength", GoodImage, false, kPlayerMode, 0, -1},
        BadCase{"ZeroLength", GoodImage, false, kPlayerMode, 0, 0},
        BadCase{"NegativeOffset", GoodImage, false, kPlayerMode, -10, kSize},
        BadCase{"OffsetPastTheEnd", GoodImage, false, kPlayerMode, 0x7fffffff, kSize},
        BadCase{"NotFromMemory", GoodImage, false, FSOUND_NORMAL | FSOUND_MPEGACCURATE, 0, kSize},
        BadCase{"Text", [] { return Bytes(std::string(3000, 'x') + "not an mp3\n"); }, false, kPlayerMode, 0, kSize},
        BadCase{"RandomBytes", RandomBytes, false, kPlayerMode, 0, kSize},
        BadCase{"Zeros", [] { return std::vector<unsigned char>(50000, 0); }, false, kPlayerMode, 0, kSize},
        BadCase{"PcmWave", WaveFile, false, kPlayerMode, 0, kSize},
        BadCase{"FirstHundredBytes", [] { return Prefix(GoodImage(), 100); }, false, kPlayerMode, 0, kSize},
        BadCase{"OnlyTheInfoFrame", [] { return Prefix(GoodImage(), 600); }, false, kPlayerMode, 0, kSize},
        BadCase{"NoAudio", [] { return EncodeMp3(MakeTone(44100, 2, 0, 440.0)); }, false, kPlayerMode, 0,
                kSize}),
    [](const ::testing::TestParamInfo<BadCase>& info) { return std::string(info.param.name); });

// Cut in the middle, the frames that are there play, and the time still ends
// at the length.
TEST_F(SoundTest, TruncatedImagePlaysWhatItHolds)
{
    StartLibrary();
    auto image = GoodImage();
    FSOUND_STREAM* stream = OpenImage(Prefix(image, image.size() / 2));
    ASSERT_NE(stream, nullptr);
    int length = FSOUND_Stream_GetLengthMs(stream);
    EXPECT_NEAR(length, 500, 30);
    int channel = FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 0);
    ASSERT_GE(channel, 0);
    EXPECT_TRUE(WaitFor([&] { return FSOUND_Stream_GetTime(stream) == length; }, std::chrono::seconds(3)));
}

TEST_F(SoundTest, InitFailsWhenNoDeviceOpens)
{
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    EXPECT_EQ(FSOUND_Init(44100, 32, 0), 0);
    auto image = GoodImage();
    EXPECT_EQ(FSOUND_Stream_Open(reinterpret_cast<const char*>(image.data()), kPlayerMode, 0, int(image.size())),
              nullptr)
        << "a stream without a device";
    FSOUND_Close();

    setenv("SDL_AUDIODRIVER", "disk", 1);
    EXPECT_EQ(FSOUND_Init(0, 32, 0), 0) << "no mix rate";
    EXPECT_NE(FSOUND_Init(44100, 32, 0), 0) << "a failed start-up spoils the next";
}

TEST_F(SoundTest, CloseIsSafeWithoutInitTwiceAndWhilePlaying)
{
    FSOUND_Close();
    FSOUND_Close();
    StartLibrary();
    FSOUND_STREAM* stream = OpenImage(GoodImage());
    ASSERT_NE(stream, nullptr);
    int channel = FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 0);
    ASSERT_GE(channel, 0);
    SleepMs(100);
    FSOUND_Close();
    FSOUND_Close();
    // The old handle and channel are gone, not dangling.
    EXPECT_EQ(FSOUND_Stream_GetTime(stream), 0);
    EXPECT_EQ(FSOUND_Stream_GetLengthMs(stream), 0);
    EXPECT_EQ(FSOUND_SetPaused(channel, 1), 0);
    EXPECT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 0), -1);
}

TEST_F(SoundTest, CallsOnNoStreamOrChannelFail)
{
    StartLibrary();
    EXPECT_EQ(FSOUND_Stream_GetLengthMs(nullptr), 0);
    EXPECT_EQ(FSOUND_Stream_GetTime(nullptr), 0);
    EXPECT_EQ(FSOUND_Stream_PlayEx(FSOUND_FREE, nullptr, nullptr, 1), -1);
    EXPECT_EQ(FSOUND_SetPaused(-1, 0), 0);
    EXPECT_EQ(FSOUND_SetPaused(0, 0), 0) << "nothing plays on channel 0";
    FSOUND_STREAM* stream = OpenImage(GoodImage());
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(FSOUND_Stream_PlayEx(32, stream, nullptr, 1), -1) << "only 32 channels";
    EXPECT_EQ(FSOUND_Stream_PlayEx(5, stream, nullptr, 1), 5);
}
