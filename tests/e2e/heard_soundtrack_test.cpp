// What a listener hears from the player when the soundtrack file holds more
// than music: junk before it, junk after it, or parts of other formats
// joined to it. The player plays to SDL's disk audio driver, and what the
// device was given, from its first to its last sound, must match what
// madplay makes of the same bytes within a few frames. The player ends by
// itself, which it only does when the stream's time reaches its length
// exactly.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "file_contents.h"
#include "mp3_writer.h"
#include "player_folder.h"
#include "player_process.h"
#include "reference_decode.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr long kFrameSamples = 1152;  // one MPEG-1 layer III frame

Bytes Tone(int rate, int channels, double seconds, double hz)
{
    return EncodeMp3(MakeTone(rate, channels, long(seconds * rate), hz, 0.3));
}

Bytes Random(size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(n);
    for (auto& b : bytes)
        b = static_cast<unsigned char>(random());
    return bytes;
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

struct HeardCase {
    const char* name;
    Bytes (*soundtrack)();
};

void PrintTo(const HeardCase& c, std::ostream* os)
{
    *os << c.name;
}

class HeardSoundtrack : public ::testing::TestWithParam<HeardCase> {};

}  // namespace

TEST_P(HeardSoundtrack, IsWhatAnotherDecoderHears)
{
    const Bytes soundtrack = GetParam().soundtrack();
    ASSERT_FALSE(soundtrack.empty());
    std::vector<int16_t> reference;
    ASSERT_TRUE(FfmpegDecode(soundtrack, &reference)) << "ffmpeg did not run (scripts/deps.sh installs it)";
    const long expected = NonSilentSpan(reference);
    ASSERT_GT(expected, 44100);

    PlayerFolder folder;
    ASSERT_TRUE(folder.AddPlayer());
    ASSERT_TRUE(folder.WriteScript("0 600000 0 0 0 cd clear buffer\n"));
    ASSERT_TRUE(folder.WriteFile("data/mellot.mp3", std::string(soundtrack.begin(), soundtrack.end())));
    const std::string device = folder.Path() + "/device.raw";
    PlayerProcess player(folder.Path(), VideoDriver::Offscreen,
                         {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", device}});
    const double seconds = double(expected) / 44100.0;
    const PlayerResult run = player.Wait(seconds * 2 + 30);
    ASSERT_TRUE(run.exited) << "the run did not end at the stream's length\n" << run.console << run.errors;
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.console.find("mainloop exited\n"), std::string::npos) << run.console;

    const std::string raw = FileContents(device);
    std::vector<int16_t> heard(raw.size() / sizeof(int16_t));
    std::copy(raw.begin(), raw.begin() + std::ptrdiff_t(heard.size() * sizeof(int16_t)),
              reinterpret_cast<char*>(heard.data()));
    EXPECT_NEAR(double(NonSilentSpan(heard)), double(expected), 3.0 * kFrameSamples)
        << "heard " << double(NonSilentSpan(heard)) / 44100.0 << " s, ffmpeg " << seconds << " s";
}

INSTANTIATE_TEST_SUITE_P(
    Soundtracks, HeardSoundtrack,
    ::testing::Values(
        HeardCase{"RandomBytesAfterTheMusic", [] { return Join({Tone(44100, 2, 4.0, 440.0), Random(1 << 20, 1)}); }},
        HeardCase{"StereoMonoStereo",
                  [] {
                      return Join({Tone(44100, 2, 3.0, 440.0), Tone(44100, 1, 1.5, 550.0),
                                   Tone(44100, 2, 3.0, 660.0)});
                  }},
        HeardCase{"Rates44And48And44",
                  [] {
                      return Join({Tone(44100, 2, 3.0, 440.0), Tone(48000, 2, 1.5, 550.0),
                                   Tone(44100, 2, 3.0, 660.0)});
                  }},
        HeardCase{"ZerosBeforeTheMusic", [] { return Join({Bytes(65536, 0), Tone(44100, 2, 3.0, 440.0)}); }},
        HeardCase{"RandomBytesBeforeTheMusic",
                  [] { return Join({Random(131072, 2), Tone(44100, 2, 3.0, 440.0)}); }}),
    [](const ::testing::TestParamInfo<HeardCase>& info) { return std::string(info.param.name); });
