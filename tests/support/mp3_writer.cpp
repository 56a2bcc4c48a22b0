#include "mp3_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "mp3_encoder.h"

namespace {

const double kPi = 3.14159265358979323846;

int16_t ToSample(double v)
{
    v = std::max(-1.0, std::min(1.0, v));
    return int16_t(std::lround(v * 32767.0));
}

}  // namespace

PcmAudio MakeTone(int sampleRate, int channels, long frames, double hz, double amplitude)
{
    PcmAudio pcm;
    pcm.sampleRate = sampleRate;
    pcm.channels = channels;
    pcm.samples.resize(size_t(std::max(0L, frames)) * size_t(channels));
    for (long i = 0; i < frames; ++i) {
        double t = double(i) / sampleRate;
        pcm.samples[size_t(i) * channels] = ToSample(amplitude * std::sin(2.0 * kPi * hz * t));
        if (channels == 2)
            pcm.samples[size_t(i) * 2 + 1] = ToSample(amplitude * std::sin(2.0 * kPi * 1.5 * hz * t));
    }
    return pcm;
}

PcmAudio MakeBeat(int sampleRate, int channels, long frames, int beatMs, double hz)
{
    PcmAudio pcm;
    pcm.sampleRate = sampleRate;
    pcm.channels = channels;
    pcm.samples.assign(size_t(std::max(0L, frames)) * size_t(channels), 0);
    long period = std::max(1L, long(beatMs) * sampleRate / 1000);
    long burst = std::min(period, long(sampleRate / 20));  // 50 ms
    for (long start = 0; start < frames; start += period) {
        for (long i = 0; i < burst && start + i < frames; ++i) {
            double t = double(i) / sampleRate;
            double envelope = std::exp(-t * 60.0);
            int16_t s = ToSample(0.8 * envelope * std::sin(2.0 * kPi * hz * t));
            for (int c = 0; c < channels; ++c)
                pcm.samples[size_t(start + i) * channels + c] = s;
        }
    }
    return pcm;
}

std::vector<unsigned char> EncodeMp3(const PcmAudio& pcm, int kbps)
{
    // Quality 5: quick to encode, and the tests compare decodes, not ears.
    return EncodeMp3Image(pcm.samples, pcm.channels, pcm.sampleRate, kbps, 5);
}

std::vector<unsigned char> EncodeFreeFormatMp3(const PcmAudio& pcm, int kbps)
{
    return EncodeMp3Image(pcm.samples, pcm.channels, pcm.sampleRate, kbps, 5, true);
}

bool WriteMp3File(const std::string& path, const std::vector<unsigned char>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), bytes.size(), 1, f) == 1;
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}
