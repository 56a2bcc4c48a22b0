#include "sound_fixture.h"

#include <mpg123.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

void SoundTest::SetUp()
{
    static int serial = 0;
    deviceFile_ = (std::filesystem::temp_directory_path() /
                   ("kelda_sound_" + std::to_string(getpid()) + "_" + std::to_string(serial++) + ".raw"))
                      .string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", deviceFile_.c_str(), 1);
}

void SoundTest::TearDown()
{
    FSOUND_Close();
    std::remove(deviceFile_.c_str());
}

void SoundTest::StartLibrary()
{
    FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND);
    FSOUND_SetDriver(0);
    ASSERT_NE(FSOUND_Init(44100, 32, 0), 0);
    FSOUND_Stream_SetBufferSize(100);
}

FSOUND_STREAM* SoundTest::OpenImage(const std::vector<unsigned char>& image, unsigned int mode)
{
    images_.push_back(image);
    const auto& kept = images_.back();
    return FSOUND_Stream_Open(reinterpret_cast<const char*>(kept.data()), mode, 0, int(kept.size()));
}

std::vector<int16_t> SoundTest::CloseAndReadDeviceOutput()
{
    FSOUND_Close();
    std::ifstream in(deviceFile_, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
    std::copy(bytes.begin(), bytes.begin() + std::ptrdiff_t(samples.size() * sizeof(int16_t)),
              reinterpret_cast<char*>(samples.data()));
    return samples;
}

PcmAudio DecodeReference(const std::vector<unsigned char>& image)
{
    PcmAudio pcm;
    pcm.sampleRate = 0;
    pcm.channels = 0;
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (!mh)
        return pcm;
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    mpg123_format_none(mh);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    mpg123_open_feed(mh);
    // The whole image at once, with its size, so the end padding is known.
    mpg123_set_filesize(mh, off_t(image.size()));
    mpg123_feed(mh, image.data(), image.size());
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        size_t done = 0;
        int result = mpg123_read(mh, buffer.data(), buffer.size(), &done);
        const int16_t* s = reinterpret_cast<const int16_t*>(buffer.data());
        pcm.samples.insert(pcm.samples.end(), s, s + done / sizeof(int16_t));
        if (result == MPG123_NEW_FORMAT) {
            long rate = 0;
            int encoding = 0;
            mpg123_getformat(mh, &rate, &pcm.channels, &encoding);
            pcm.sampleRate = int(rate);
            continue;
        }
        if (result != MPG123_OK)
            break;
    }
    mpg123_delete(mh);
    return pcm;
}

bool WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds timeout)
{
    auto end = std::chrono::steady_clock::now() + timeout;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        SleepMs(1);
    }
    return true;
}

void SleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void PlayToEnd(FSOUND_STREAM* stream, int lengthMs)
{
    int channel = FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 1);
    ASSERT_GE(channel, 0);
    FSOUND_SetPaused(channel, 1);
    SleepMs(50);
    EXPECT_EQ(FSOUND_Stream_GetTime(stream), 0) << "held paused at its start";
    FSOUND_SetPaused(channel, 0);
    int last = 0;
    bool reached = WaitFor(
        [&] {
            int t = FSOUND_Stream_GetTime(stream);
            EXPECT_GE(t, last) << "the time went back";
            EXPECT_LE(t, lengthMs);
            last = t;
            return t == lengthMs;
        },
        std::chrono::milliseconds(lengthMs * 3 + 2000));
    ASSERT_TRUE(reached) << "stopped at " << last << " of " << lengthMs;
}
