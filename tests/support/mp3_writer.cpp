#include "mp3_writer.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

const double kPi = 3.14159265358979323846;

int16_t ToSample(double v)
{
    v = std::max(-1.0, std::min(1.0, v));
    return int16_t(std::lround(v * 32767.0));
}

// MPEG-1 (32 kHz and up) allows 320 kbps; MPEG-2 and 2.5 stop at 160.
int ClampBitRate(int sampleRate, int kbps)
{
    int top = sampleRate >= 32000 ? 320 : 160;
    return std::max(8, std::min(top, kbps));
}

struct LameDeleter {
    void operator()(lame_global_flags* gf) const { lame_close(gf); }
};

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
    if (pcm.channels < 1 || pcm.channels > 2 || pcm.sampleRate <= 0)
        return {};
    std::unique_ptr<lame_global_flags, LameDeleter> gf(lame_init());
    if (!gf)
        return {};
    lame_set_in_samplerate(gf.get(), pcm.sampleRate);
    lame_set_out_samplerate(gf.get(), pcm.sampleRate);
    lame_set_num_channels(gf.get(), pcm.channels);
    lame_set_mode(gf.get(), pcm.channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(gf.get(), ClampBitRate(pcm.sampleRate, kbps));
    lame_set_bWriteVbrTag(gf.get(), 1);  // the info tag with delay and padding
    lame_set_quality(gf.get(), 5);
    if (lame_init_params(gf.get()) < 0)
        return {};

    std::vector<unsigned char> out;
    const long chunk = 4096;
    std::vector<unsigned char> buffer(size_t(1.25 * chunk + 7200));
    std::vector<short> left(chunk), right(chunk);
    long frames = pcm.Frames();
    for (long pos = 0; pos < frames; pos += chunk) {
        long n = std::min(chunk, frames - pos);
        for (long i = 0; i < n; ++i) {
            left[i] = pcm.samples[size_t(pos + i) * pcm.channels];
            right[i] = pcm.channels == 2 ? pcm.samples[size_t(pos + i) * 2 + 1] : left[i];
        }
        int written = lame_encode_buffer(gf.get(), left.data(), right.data(), int(n),
                                         buffer.data(), int(buffer.size()));
        if (written < 0)
            return {};
        out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    int written = lame_encode_flush(gf.get(), buffer.data(), int(buffer.size()));
    if (written < 0)
        return {};
    out.insert(out.end(), buffer.begin(), buffer.begin() + written);

    // lame left an empty frame at the start for the tag; fill it in now that
    // the totals are known.
    size_t tagSize = lame_get_lametag_frame(gf.get(), nullptr, 0);
    if (tagSize > 0) {
        std::vector<unsigned char> tag(tagSize);
        if (lame_get_lametag_frame(gf.get(), tag.data(), tag.size()) != tagSize || tagSize > out.size())
            return {};
        std::copy(tag.begin(), tag.end(), out.begin());
    }
    return out;
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
