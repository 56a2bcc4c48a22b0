// Rate and channel conversion of decoded PCM to the device's stereo frames.
#include "fsound_rate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct RateCase {
    int source;
    int device;
    int channels;
    long frames;
    long chunk;
};

void PrintTo(const RateCase& c, std::ostream* os)
{
    *os << c.source << " to " << c.device << " Hz, " << c.channels << " channel(s)";
}

class RateConverterTest : public ::testing::TestWithParam<RateCase> {};

std::vector<int16_t> Ramp(long frames, int channels)
{
    std::vector<int16_t> in(size_t(frames * channels));
    for (long i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            in[size_t(i * channels + c)] = int16_t((i * 7 + c * 1000) % 20000 - 10000);
    return in;
}

std::vector<int16_t> Convert(const RateCase& c, const std::vector<int16_t>& in, long chunk)
{
    fsound::RateConverter converter(c.source, c.device);
    std::vector<int16_t> out;
    for (long at = 0; at < c.frames; at += chunk)
        converter.Push(&in[size_t(at * c.channels)], std::min(chunk, c.frames - at), c.channels, out);
    converter.Finish(out);
    return out;
}

}  // namespace

// N source frames make ceil(N * device / source) frames however they are
// split, the same frames as in one piece, mono on both channels.
TEST_P(RateConverterTest, KeepsTheLengthAndTheSignal)
{
    const RateCase& c = GetParam();
    std::vector<int16_t> in = Ramp(c.frames, c.channels);
    std::vector<int16_t> out = Convert(c, in, c.chunk);
    long expected = long((int64_t(c.frames) * c.device + c.source - 1) / c.source);
    ASSERT_EQ(long(out.size() / 2), expected);
    EXPECT_EQ(out, Convert(c, in, c.frames)) << "depends on how the input was split";

    for (long j = 0; j < expected; ++j) {
        // Output frame j lies between the two source frames around its position.
        double position = double(j) * c.source / c.device;
        long i = long(std::floor(position));
        long k = std::min(i + 1, c.frames - 1);
        for (int ch = 0; ch < 2; ++ch) {
            int src = c.channels == 1 ? 0 : ch;
            int a = in[size_t(i * c.channels + src)];
            int b = in[size_t(k * c.channels + src)];
            int v = out[size_t(2 * j + ch)];
            ASSERT_GE(v, std::min(a, b)) << "frame " << j;
            ASSERT_LE(v, std::max(a, b)) << "frame " << j;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, RateConverterTest,
                         ::testing::Values(RateCase{44100, 44100, 2, 10000, 1152},
                                           RateCase{44100, 44100, 1, 5000, 333},
                                           RateCase{22050, 44100, 1, 10001, 576},
                                           RateCase{48000, 44100, 2, 12345, 1152},
                                           RateCase{8000, 44100, 1, 801, 1},
                                           RateCase{32000, 44100, 2, 1, 1}),
                         [](const ::testing::TestParamInfo<RateCase>& info) {
                             const RateCase& c = info.param;
                             return std::to_string(c.source) + "To" + std::to_string(c.device) +
                                    (c.channels == 1 ? "Mono" : "Stereo") + std::to_string(c.frames) + "In" +
                                    std::to_string(c.chunk);
                         });
