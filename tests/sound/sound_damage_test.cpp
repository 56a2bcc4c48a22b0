// A soundtrack with a damaged stretch, as a bad copy leaves it: the frames
// that do not decode are skipped and the rest plays to the end of the file,
// as long as another decoder (madplay, on libmad) makes it.
#include "sound_fixture.h"

#include "reference_decode.h"

#include "fsound_mp3_decoder.h"
#include "fsound_mp3_frames.h"

#include <random>
#include <string>

namespace {

const int kRate = 44100;
const long kFrameSamples = 1152;  // one MPEG-1 layer III frame

enum class Harm { kZeros, kRandomBytes, kBitErrors };

// What a bad copy did to a stretch of the image.
struct Damage {
    double at;     // where it begins, as a fraction of the image
    long skip;     // bytes after that fraction
    size_t bytes;  // how long it is
    Harm harm;     // zeroed, garbled, or one bit wrong in every byte
};

struct DamageCase {
    const char* name;
    Damage damage;
    bool freeFormat;  // every header without its bitrate
};

void PrintTo(const DamageCase& c, std::ostream* os)
{
    *os << c.name;
}

class DamagedSoundtrackTest : public SoundTest, public ::testing::WithParamInterface<DamageCase> {};

// The same frames in free format: the bitrate index 0 in every header, so
// only a decoder that searches for the next header knows where a frame ends.
std::vector<unsigned char> InFreeFormat(std::vector<unsigned char> image)
{
    size_t at = 0;
    while (at + 4 <= image.size()) {
        uint32_t header = uint32_t(image[at]) << 24 | uint32_t(image[at + 1]) << 16 | uint32_t(image[at + 2]) << 8 |
                          uint32_t(image[at + 3]);
        long bytes = fsound::MpegFrameBytes(header);
        if (bytes <= 0)
            break;
        image[at + 2] &= 0x0f;
        at += size_t(bytes);
    }
    EXPECT_EQ(at, image.size()) << "the image is not frames from end to end";
    return image;
}

std::vector<unsigned char> Damaged(std::vector<unsigned char> image, const Damage& d)
{
    size_t from = size_t(d.at * double(image.size())) + size_t(d.skip);
    std::mt19937 random(2024);
    for (size_t i = from; i < from + d.bytes && i < image.size(); ++i) {
        if (d.harm == Harm::kZeros)
            image[i] = 0;
        else if (d.harm == Harm::kRandomBytes)
            image[i] = static_cast<unsigned char>(random());
        else
            image[i] ^= static_cast<unsigned char>(1u << (random() % 8));
    }
    return image;
}

}  // namespace

// The decoder gives exactly the length it reported, and that is what
// madplay decodes within a few frames (it keeps the encoder's delay and
// padding and the info frame, and drops frames around damage by its own
// rules). The stream's time runs through the damage and stops exactly at
// that length, and the device is given as much.
TEST_P(DamagedSoundtrackTest, PlaysOnToTheEnd)
{
    const DamageCase& c = GetParam();
    std::vector<unsigned char> good = EncodeMp3(MakeTone(kRate, 2, kRate * 2, 440.0));
    ASSERT_FALSE(good.empty());
    std::vector<unsigned char> image = Damaged(c.freeFormat ? InFreeFormat(good) : good, c.damage);
    std::vector<int16_t> madplay;
    ASSERT_TRUE(MadplayDecode(image, &madplay)) << "madplay did not run (scripts/deps.sh installs it)";
    long reference = long(madplay.size() / 2);
    ASSERT_LT(reference, kRate * 2 - 3 * kFrameSamples) << "the damage costs madplay nothing";

    fsound::Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(image.data(), image.size(), true));
    ASSERT_EQ(decoder.Rate(), kRate);
    std::vector<int16_t> pcm(2 * 4096);
    int64_t decoded = 0;
    while (long n = decoder.Read(pcm.data(), 4096))
        decoded += n;
    EXPECT_EQ(decoded, decoder.LengthFrames());
    EXPECT_NEAR(double(decoded), double(reference), 3.0 * kFrameSamples);

    StartLibrary();
    FSOUND_STREAM* stream = OpenImage(image);
    ASSERT_NE(stream, nullptr);
    int length = FSOUND_Stream_GetLengthMs(stream);
    EXPECT_EQ(length, int(decoded * 1000 / kRate));
    PlayToEnd(stream, length);

    std::vector<int16_t> device = CloseAndReadDeviceOutput();
    // The tone is never silent for long, but a frame decoded without the
    // frames it draws on gives silence, as may the encoder's delay.
    EXPECT_NEAR(double(NonSilentSpan(device)), double(decoded), 3.0 * kFrameSamples)
        << "the device was given other than the length";
}

INSTANTIATE_TEST_SUITE_P(
    Copies, DamagedSoundtrackTest,
    ::testing::Values(DamageCase{"ZeroedInTheMiddle", {0.5, 0, 4000, Harm::kZeros}, false},
                      DamageCase{"GarbledInTheMiddle", {0.5, 0, 4000, Harm::kRandomBytes}, false},
                      DamageCase{"ZeroedFromTheFirstByte", {0.0, 0, 3000, Harm::kZeros}, false},
                      DamageCase{"GarbledRightAfterTheInfoFrame", {0.0, 450, 3000, Harm::kRandomBytes}, false},
                      DamageCase{"ZeroedNearTheEnd", {0.8, 0, 2500, Harm::kZeros}, false},
                      DamageCase{"GarbledNearTheEnd", {0.8, 0, 2500, Harm::kRandomBytes}, false},
                      DamageCase{"ZeroedInTheMiddleOfAFreeFormatFile", {0.5, 0, 4000, Harm::kZeros}, true}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

// Whatever the damage, reading gives exactly the length the stream
// reported, so its time ends where the audio does. Frames whose headers
// survive but whose audio does not are where libmpg123's own count of the
// frames goes wrong.
TEST(DamagedSoundtrack, ReadingGivesExactlyTheLength)
{
    struct {
        int rate;
        int channels;
        int kbps;
        Damage damage;
    } cases[] = {
        {44100, 2, 128, {0.5, 0, 4000, Harm::kRandomBytes}},
        {44100, 1, 64, {0.3, 0, 3000, Harm::kBitErrors}},
        {22050, 2, 64, {0.5, 0, 2500, Harm::kBitErrors}},
        {8000, 1, 16, {0.5, 0, 2500, Harm::kBitErrors}},
        {8000, 1, 16, {0.4, 100, 2500, Harm::kBitErrors}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.kbps) + " kbit/s");
        std::vector<unsigned char> image =
            Damaged(EncodeMp3(MakeTone(c.rate, c.channels, c.rate * 2, 440.0), c.kbps), c.damage);
        fsound::Mp3Decoder decoder;
        ASSERT_TRUE(decoder.Open(image.data(), image.size(), true));
        std::vector<int16_t> pcm(size_t(c.channels) * 1000);
        int64_t decoded = 0;
        while (long n = decoder.Read(pcm.data(), 1000))
            decoded += n;
        EXPECT_EQ(decoded, decoder.LengthFrames());
        EXPECT_GT(decoded, c.rate / 2) << "stopped at the damage";
    }
}

// Frame lengths from the header, by the formula of each layer: layer I
// 4 * (12 * bitrate / rate + padding), layer III of MPEG-2 and 2.5
// 72 * bitrate / rate + padding, the rest 144 * bitrate / rate + padding.
TEST(MpegFrameBytes, FollowsTheHeader)
{
    auto header = [](unsigned version, unsigned layer, unsigned bitrate, unsigned rate, unsigned padding) {
        return 0xFFE00000u | version << 19 | layer << 17 | 1u << 16 | bitrate << 12 | rate << 10 | padding << 9;
    };
    const unsigned mpeg1 = 3, mpeg2 = 2, mpeg25 = 0, layer1 = 3, layer2 = 2, layer3 = 1;
    struct {
        uint32_t header;
        long bytes;
    } cases[] = {
        {header(mpeg1, layer3, 9, 0, 0), 417},    // 128 kbit/s, 44.1 kHz
        {header(mpeg1, layer3, 9, 0, 1), 418},    // padded
        {header(mpeg1, layer3, 14, 1, 0), 960},   // 320 kbit/s, 48 kHz
        {header(mpeg1, layer3, 1, 2, 0), 144},    // 32 kbit/s, 32 kHz
        {header(mpeg2, layer3, 8, 0, 0), 208},    // 64 kbit/s, 22.05 kHz
        {header(mpeg25, layer3, 1, 2, 0), 72},    // 8 kbit/s, 8 kHz
        {header(mpeg25, layer3, 14, 1, 1), 961},  // 160 kbit/s, 12 kHz, padded
        {header(mpeg1, layer2, 10, 1, 0), 576},   // 192 kbit/s, 48 kHz
        {header(mpeg2, layer2, 14, 2, 0), 1440},  // 160 kbit/s, 16 kHz
        {header(mpeg1, layer1, 14, 2, 0), 672},   // 448 kbit/s, 32 kHz
        {header(mpeg1, layer1, 1, 0, 1), 36},     // 32 kbit/s, 44.1 kHz, padded
        {header(mpeg2, layer1, 14, 1, 0), 512},   // 256 kbit/s, 24 kHz
        {header(mpeg1, layer3, 0, 0, 0), 0},      // free format
        {header(mpeg1, layer3, 15, 0, 0), 0},     // bad bitrate
        {header(mpeg1, layer3, 9, 3, 0), 0},      // reserved rate
        {header(1, layer3, 9, 0, 0), 0},          // reserved version
        {header(mpeg1, 0, 9, 0, 0), 0},           // reserved layer
        {header(mpeg1, layer3, 9, 0, 0) & ~0x00200000u, 0},  // sync cut short
    };
    for (const auto& c : cases)
        EXPECT_EQ(fsound::MpegFrameBytes(c.header), c.bytes) << std::hex << c.header;
}
