// Whole free format soundtracks as libmp3lame writes them (`lame
// --freeformat`), whose headers do not give the frames' length: the music
// cut finds it and takes the file whole, so the decoder loses nothing of
// what libmpg123 makes of the whole file, and the length is madplay's.
#include "sound_fixture.h"

#include "reference_decode.h"

#include "fsound_mp3_decoder.h"
#include "fsound_mp3_frames.h"

#include <string>

namespace {

const long kFrameSamples = 1152;  // one MPEG-1 layer III frame

std::vector<int16_t> DecodeAll(const std::vector<unsigned char>& image, int* rate)
{
    fsound::Mp3Decoder decoder;
    if (!decoder.Open(image.data(), image.size(), true))
        return {};
    *rate = decoder.Rate();
    std::vector<int16_t> out;
    std::vector<int16_t> pcm(size_t(decoder.Channels()) * 4096);
    while (long n = decoder.Read(pcm.data(), 4096))
        out.insert(out.end(), pcm.begin(), pcm.begin() + n * decoder.Channels());
    return out;
}

}  // namespace

TEST(FreeFormatSoundtrack, IsTakenWholeAndDecodesAsTheWholeFile)
{
    struct {
        int rate;
        int channels;
        int kbps;
    } cases[] = {
        {44100, 2, 200},  // padded now and then
        {48000, 1, 200},  // never padded
        {32000, 2, 320},
        {44100, 2, 128},  // the info frame's mode extension is not the next frame's
        {22050, 2, 96},   // MPEG-2
        {11025, 1, 24},   // MPEG-2.5
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " channel(s), " +
                     std::to_string(c.kbps) + " kbit/s");
        const std::vector<unsigned char> image =
            EncodeFreeFormatMp3(MakeTone(c.rate, c.channels, c.rate * 2, 440.0), c.kbps);
        ASSERT_GT(image.size(), 4u);
        ASSERT_EQ(image[2] >> 4, 0) << "libmp3lame wrote a bitrate index: no free format";

        const std::vector<fsound::Stretch> music = fsound::MusicStretches(image.data(), image.size());
        ASSERT_EQ(music.size(), 1u) << "the length was not found, or frames were cut";
        EXPECT_EQ(music[0].from, 0u);
        EXPECT_EQ(music[0].bytes, image.size());

        int rate = 0;
        const std::vector<int16_t> decoded = DecodeAll(image, &rate);
        const PcmAudio whole = DecodeReference(image);
        EXPECT_EQ(rate, c.rate);
        EXPECT_TRUE(decoded == whole.samples)
            << "decoded " << decoded.size() << " samples, libmpg123 on the whole file " << whole.samples.size();

        std::vector<int16_t> madplay;
        ASSERT_TRUE(MadplayDecode(image, &madplay)) << "madplay did not run (scripts/deps.sh installs it)";
        // madplay keeps the encoder's delay and padding, and gives 44.1 kHz.
        const double seconds = double(decoded.size() / size_t(c.channels)) / c.rate;
        EXPECT_NEAR(seconds, double(madplay.size() / 2) / 44100.0, 3.0 * kFrameSamples / c.rate);
    }
}
