// make_soundtrack <out.mp3>: synthesises the demo's soundtrack and writes it
// as an MP3, then prints the sections in milliseconds for the timeline.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "mp3_encoder.h"
#include "song_arrangement.h"

namespace {

const int kSampleRate = 44100;
const int kBitRate = 160;
const double kFadeSeconds = 3.75;  // the last two bars

// Soft saturation, then the peak brought to just under full scale; the last
// bars fade out so the stream ends in silence.
std::vector<int16_t> Master(const StereoBuffer& mix)
{
    long frames = mix.Frames();
    std::vector<double> shaped(size_t(frames) * 2);
    double peak = 1e-9;
    for (long i = 0; i < frames; ++i) {
        double fade = std::min(1.0, (double(frames - i) / mix.sampleRate) / kFadeSeconds);
        for (int c = 0; c < 2; ++c) {
            double x = c == 0 ? mix.left[size_t(i)] : mix.right[size_t(i)];
            double y = std::tanh(1.3 * x) * fade;
            shaped[size_t(i) * 2 + c] = y;
            peak = std::max(peak, std::fabs(y));
        }
    }
    double gain = 0.93 / peak;
    std::vector<int16_t> pcm(shaped.size());
    for (size_t k = 0; k < shaped.size(); ++k)
        pcm[k] = int16_t(std::lround(std::clamp(shaped[k] * gain, -1.0, 1.0) * 32767.0));
    return pcm;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_soundtrack <out.mp3>\n");
        return 1;
    }
    StereoBuffer mix = RenderSong(kSampleRate);
    std::vector<int16_t> pcm = Master(mix);
    std::vector<unsigned char> mp3 = EncodeMp3Image(pcm, 2, kSampleRate, kBitRate, 2);
    if (mp3.empty()) {
        fprintf(stderr, "make_soundtrack: encoding failed\n");
        return 1;
    }
    FILE* file = fopen(argv[1], "wb");
    if (!file) {
        perror(argv[1]);
        return 1;
    }
    bool ok = fwrite(mp3.data(), 1, mp3.size(), file) == mp3.size();
    ok = (fclose(file) == 0) && ok;
    if (!ok) {
        perror(argv[1]);
        return 1;
    }

    long frames = mix.Frames();
    printf("make_soundtrack: %s, %zu bytes, %ld frames at %d Hz = %ld ms\n", argv[1], mp3.size(), frames,
           kSampleRate, frames * 1000L / kSampleRate);
    for (const SongSection& s : SongSections()) {
        long startMs = std::lround(s.firstBar * BarSeconds() * 1000.0);
        long endMs = std::lround((s.firstBar + s.bars) * BarSeconds() * 1000.0);
        printf("  %-6s bars %2d-%2d  %6ld-%6ld ms\n", s.name, s.firstBar, s.firstBar + s.bars - 1, startMs, endMs);
    }
    return 0;
}
