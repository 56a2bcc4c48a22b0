#include "mp3_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <memory>

namespace {

struct LameDeleter {
    void operator()(lame_global_flags* gf) const { lame_close(gf); }
};

}  // namespace

std::vector<unsigned char> EncodeStereoMp3(const std::vector<int16_t>& interleaved, int sampleRate, int kbps)
{
    std::unique_ptr<lame_global_flags, LameDeleter> gf(lame_init());
    if (!gf)
        return {};
    lame_set_in_samplerate(gf.get(), sampleRate);
    lame_set_out_samplerate(gf.get(), sampleRate);
    lame_set_num_channels(gf.get(), 2);
    lame_set_mode(gf.get(), JOINT_STEREO);
    lame_set_brate(gf.get(), kbps);
    lame_set_bWriteVbrTag(gf.get(), 1);
    lame_set_quality(gf.get(), 2);
    if (lame_init_params(gf.get()) < 0)
        return {};

    std::vector<unsigned char> out;
    const long chunk = 8192;
    std::vector<unsigned char> buffer(size_t(1.25 * chunk + 7200));
    long frames = long(interleaved.size() / 2);
    for (long pos = 0; pos < frames; pos += chunk) {
        int n = int(std::min(chunk, frames - pos));
        // lame's interleaved entry point takes a non-const buffer it does not write.
        short* pcm = const_cast<short*>(interleaved.data() + size_t(pos) * 2);
        int written = lame_encode_buffer_interleaved(gf.get(), pcm, n, buffer.data(), int(buffer.size()));
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
    if (tagSize == 0 || tagSize > out.size())
        return {};
    std::vector<unsigned char> tag(tagSize);
    if (lame_get_lametag_frame(gf.get(), tag.data(), tag.size()) != tagSize)
        return {};
    std::copy(tag.begin(), tag.end(), out.begin());
    return out;
}
