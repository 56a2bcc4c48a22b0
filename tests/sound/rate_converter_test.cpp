// Rate and channel conversion of decoded PCM to the device's stereo frames:
// the length it promises, the signal it gives, and what it keeps out.
#include "fsound_rate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

const int kDevice = 44100;
const double kPi = 3.14159265358979323846;

struct RateCase {
    int source;
    int channels;
    long frames;
    long chunk;  // source frames per push, as the decoder hands them over
};

void PrintTo(const RateCase& c, std::ostream* os)
{
    *os << c.source << " Hz, " << c.channels << " channel(s), " << c.frames << " frames in " << c.chunk;
}

class RateConverterTest : public ::testing::TestWithParam<RateCase> {};

// A sine of hz at amplitude on the left (or only) channel and of 1.5 * hz on
// the right.
std::vector<int16_t> Sine(int rate, int channels, long frames, double hz, double amplitude)
{
    std::vector<int16_t> pcm(size_t(frames * channels));
    for (long i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            pcm[size_t(i * channels + c)] = int16_t(std::lround(amplitude * std::sin(2 * kPi * hz * (1 + 0.5 * c) * i / rate)));
    return pcm;
}

std::vector<int16_t> Convert(int source, int channels, const std::vector<int16_t>& in, long chunk)
{
    std::unique_ptr<fsound::RateConverter> converter = fsound::RateConverter::Create(source, channels, kDevice);
    EXPECT_NE(converter, nullptr);
    std::vector<int16_t> out;
    if (!converter)
        return out;
    long frames = long(in.size()) / channels;
    for (long at = 0; at < frames; at += chunk)
        converter->Push(&in[size_t(at * channels)], std::min(chunk, frames - at), out);
    converter->Finish(out);
    return out;
}

// Amplitude of the component at hz in channel ch of stereo frames from..to.
double Amplitude(const std::vector<int16_t>& stereo, int ch, long from, long to, double hz)
{
    double re = 0.0;
    double im = 0.0;
    for (long i = from; i < to; ++i) {
        double phase = 2 * kPi * hz * double(i) / kDevice;
        re += stereo[size_t(2 * i + ch)] * std::cos(phase);
        im += stereo[size_t(2 * i + ch)] * std::sin(phase);
    }
    return 2.0 * std::hypot(re, im) / double(to - from);
}

}  // namespace

// N source frames make exactly ceil(N * 44100 / rate) device frames however
// they are pushed, and they carry the same sine at the device rate from the
// first frame to the last: no delay, no slip between pushes, no lost end.
// Mono goes to both channels.
TEST_P(RateConverterTest, KeepsTheLengthAndTheSignal)
{
    const RateCase& c = GetParam();
    const double hz = 441.0 * 1.0137;
    const double amplitude = 10000.0;
    std::vector<int16_t> out = Convert(c.source, c.channels, Sine(c.source, c.channels, c.frames, hz, amplitude), c.chunk);
    long expected = long((int64_t(c.frames) * kDevice + c.source - 1) / c.source);
    ASSERT_EQ(long(out.size() / 2), expected);

    // The ends are a sine cut off, which a band-limited resampler smears a
    // little. SDL shifts what follows a put by a fraction of a frame, an
    // offset that does not grow; the error stays under 5 %, about what half
    // a frame's slip makes at the right channel's pitch.
    const long edge = 64;
    double worst = 0.0;
    long worstAt = 0;
    for (long j = edge; j < expected - edge; ++j) {
        for (int ch = 0; ch < 2; ++ch) {
            double f = hz * (c.channels == 1 ? 1.0 : 1.0 + 0.5 * ch);
            double ideal = amplitude * std::sin(2 * kPi * f * double(j) / kDevice);
            double error = std::fabs(out[size_t(2 * j + ch)] - ideal);
            if (error > worst) {
                worst = error;
                worstAt = j;
            }
        }
    }
    EXPECT_LT(worst, 0.05 * amplitude) << "at device frame " << worstAt << " of " << expected;
    if (c.channels == 1) {
        for (long j = 0; j < expected; ++j)
            ASSERT_EQ(out[size_t(2 * j)], out[size_t(2 * j + 1)]) << "frame " << j;
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, RateConverterTest,
                         ::testing::Values(RateCase{44100, 2, 10000, 1152}, RateCase{44100, 1, 5000, 333},
                                           RateCase{22050, 1, 10001, 576}, RateCase{11025, 2, 11025, 4608},
                                           RateCase{48000, 2, 48000 * 3, 4608}, RateCase{48000, 1, 12345, 1152},
                                           RateCase{32000, 2, 32000, 4608}, RateCase{8000, 1, 8001, 4608},
                                           RateCase{24000, 2, 24000, 1}),
                         [](const ::testing::TestParamInfo<RateCase>& info) {
                             const RateCase& c = info.param;
                             return std::to_string(c.source) + (c.channels == 1 ? "Mono" : "Stereo") +
                                    std::to_string(c.frames) + "In" + std::to_string(c.chunk);
                         });

// A 16 kHz tone of a 48 kHz source, resampled to 44.1 kHz: the resampler's
// image of it at 48 - 16 = 32 kHz folds to 44.1 - 32 = 12.1 kHz, which a
// linear interpolation leaves 12 dB under the tone. It must stay 24 dB under
// it, and the tone itself must pass.
TEST(RateConverter, KeepsAToneNearTheTopOfTheBandFromFolding)
{
    const double tone = 16000.0;
    const double alias = kDevice - (48000.0 - tone);
    std::vector<int16_t> out = Convert(48000, 1, Sine(48000, 1, 48000, tone, 10000.0), 4608);
    ASSERT_EQ(out.size(), size_t(2 * kDevice));
    double passed = Amplitude(out, 0, 1000, kDevice - 1000, tone);
    double folded = Amplitude(out, 0, 1000, kDevice - 1000, alias);
    EXPECT_GT(passed, 0.9 * 10000.0);
    EXPECT_LT(folded, passed * std::pow(10.0, -24.0 / 20.0)) << "tone " << passed << ", alias " << folded;
}

TEST(RateConverter, RefusesWhatItCannotConvert)
{
    EXPECT_EQ(fsound::RateConverter::Create(0, 2, kDevice), nullptr);
    EXPECT_EQ(fsound::RateConverter::Create(44100, 3, kDevice), nullptr);
    EXPECT_EQ(fsound::RateConverter::Create(44100, 0, kDevice), nullptr);
    EXPECT_EQ(fsound::RateConverter::Create(44100, 2, -1), nullptr);
}
