// What a listener hears from the player when the soundtrack file holds more
// than music: junk before it, junk after it, a zeroed hole in it, or parts
// of other formats joined to it. The player plays to SDL's disk audio
// driver, and what the device was given, from its first to its last sound,
// must match within a few frames what ffmpeg makes of the same bytes, or
// madplay for free format files, which ffmpeg does not read. The player
// ends by itself, which it only does when the stream's time reaches its
// length exactly.
#include <gtest/gtest.h>

#include <algorithm>
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

// As `lame --freeformat -b 200` writes it.
Bytes FreeFormatTone(int rate, int channels, double seconds, double hz)
{
    return EncodeFreeFormatMp3(MakeTone(rate, channels, long(seconds * rate), hz, 0.3), 200);
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

// bytes zeroed from the middle on, as a bad copy leaves a hole.
Bytes ZeroedInTheMiddle(Bytes image, size_t bytes)
{
    std::fill_n(image.begin() + std::ptrdiff_t(image.size() / 2), bytes, 0);
    return image;
}

enum class Reference { kFfmpeg, kMadplay };

struct HeardCase {
    const char* name;
    Bytes (*soundtrack)();
    // ffmpeg drops the encoder's delay and padding as the player does;
    // madplay keeps them, about two frames more, within what is allowed.
    Reference reference = Reference::kFfmpeg;
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
    const bool madplay = GetParam().reference == Reference::kMadplay;
    const char* const referenceName = madplay ? "madplay" : "ffmpeg";
    std::vector<int16_t> reference;
    ASSERT_TRUE(madplay ? MadplayDecode(soundtrack, &reference) : FfmpegDecode(soundtrack, &reference))
        << referenceName << " did not run (scripts/deps.sh installs it)";
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
        << "heard " << double(NonSilentSpan(heard)) / 44100.0 << " s, " << referenceName << " " << seconds << " s";
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
                  [] { return Join({Random(131072, 2), Tone(44100, 2, 3.0, 440.0)}); }},
        HeardCase{"FreeFormat", [] { return FreeFormatTone(44100, 2, 3.0, 440.0); }, Reference::kMadplay},
        HeardCase{"RandomBytesAfterFreeFormatMusic",
                  [] { return Join({FreeFormatTone(44100, 2, 3.0, 440.0), Random(1 << 20, 3)}); },
                  Reference::kMadplay},
        HeardCase{"RandomBytesBeforeFreeFormatMusic",
                  [] { return Join({Random(1 << 20, 4), FreeFormatTone(44100, 2, 3.0, 440.0)}); },
                  Reference::kMadplay},
        HeardCase{"FreeFormatZeroedInTheMiddle",
                  [] { return ZeroedInTheMiddle(FreeFormatTone(44100, 2, 4.0, 440.0), 4000); }, Reference::kMadplay},
        HeardCase{"FreeFormatThenMono",
                  [] { return Join({FreeFormatTone(44100, 2, 3.0, 440.0), Tone(44100, 1, 1.5, 550.0)}); },
                  Reference::kMadplay},
        HeardCase{"StereoThenFreeFormatAt48",
                  [] { return Join({Tone(44100, 2, 3.0, 440.0), FreeFormatTone(48000, 2, 1.5, 550.0)}); },
                  Reference::kMadplay}),
    [](const ::testing::TestParamInfo<HeardCase>& info) { return std::string(info.param.name); });
