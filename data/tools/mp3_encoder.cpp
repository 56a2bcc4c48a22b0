#include "mp3_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <memory>

namespace {

struct LameDeleter {
    void operator()(lame_global_flags* gf) const { lame_close(gf); }
};

int ClampBitRate(int sampleRate, int kbps)
{
    int top = sampleRate >= 32000 ? 320 : 160;
    return std::max(8, std::min(top, kbps));
}

}  // namespace

std::vector<unsigned char> EncodeMp3Image(const std::vector<int16_t>& interleaved, int channels,
                                          int sampleRate, int kbps, int quality, bool freeFormat)
{
    if (channels < 1 || channels > 2 || sampleRate <= 0)
        return {};
    std::unique_ptr<lame_global_flags, LameDeleter> gf(lame_init());
    if (!gf)
        return {};
    lame_set_in_samplerate(gf.get(), sampleRate);
    lame_set_out_samplerate(gf.get(), sampleRate);
    lame_set_num_channels(gf.get(), channels);
    lame_set_mode(gf.get(), channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(gf.get(), ClampBitRate(sampleRate, kbps));
    lame_set_free_format(gf.get(), freeFormat ? 1 : 0);
    lame_set_bWriteVbrTag(gf.get(), 1);  // the info tag with delay and padding
    lame_set_quality(gf.get(), quality);
    if (lame_init_params(gf.get()) < 0)
        return {};

    std::vector<unsigned char> out;
    const long chunk = 8192;
    std::vector<unsigned char> buffer(size_t(1.25 * chunk + 7200));
    std::vector<short> left(chunk), right(chunk);
    const long frames = long(interleaved.size() / size_t(channels));
    for (long pos = 0; pos < frames; pos += chunk) {
        long n = std::min(chunk, frames - pos);
        for (long i = 0; i < n; ++i) {
            left[i] = interleaved[size_t(pos + i) * channels];
            right[i] = channels == 2 ? interleaved[size_t(pos + i) * 2 + 1] : left[i];
        }
        int written = lame_encode_buffer(gf.get(), left.data(), right.data(), int(n), buffer.data(),
                                         int(buffer.size()));
        if (written < 0)
            return {};
        out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    int written = lame_encode_flush(gf.get(), buffer.data(), int(buffer.size()));
    if (written < 0)
        return {};
    out.insert(out.end(), buffer.begin(), buffer.begin() + written);

    // The stream begins with an empty frame reserved for the tag; fill it in
    // now that the totals are known.
    size_t tagSize = lame_get_lametag_frame(gf.get(), nullptr, 0);
    if (tagSize > 0) {
        std::vector<unsigned char> tag(tagSize);
        if (lame_get_lametag_frame(gf.get(), tag.data(), tag.size()) != tagSize || tagSize > out.size())
            return {};
        std::copy(tag.begin(), tag.end(), out.begin());
    }
    return out;
}
