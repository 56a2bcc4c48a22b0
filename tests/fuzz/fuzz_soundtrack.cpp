// The soundtrack's decode on any bytes: the music told from the rest in
// order, each byte at most once and inside the image; the MP3 decoder
// opened as the player opens its stream (the image in memory, accurate
// length), every frame pulled and converted to the device's rate as the
// stream's decoding thread does. The audio must end exactly at its length, and the device frames must
// be exactly what the converter promises for the frames decoded.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "fsound_mp3_decoder.h"
#include "fsound_mp3_frames.h"
#include "fsound_rate.h"

namespace {

constexpr int kDeviceRate = 44100;
constexpr long kReadFrames = 4608;
// Bounds one input's work; a short image rarely reaches it.
constexpr int64_t kMaxFrames = 30 * 48000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t end = 0;
    for (const fsound::Stretch& s : fsound::MusicStretches(data, size)) {
        if (s.bytes == 0 || s.from < end || s.from > size || s.bytes > size - s.from)
            abort();
        end = s.from + s.bytes;
    }

    fsound::Mp3Decoder decoder;
    if (!decoder.Open(data, size, true))
        return 0;
    const int rate = decoder.Rate();
    const int channels = decoder.Channels();
    if (rate <= 0 || (channels != 1 && channels != 2) || decoder.LengthFrames() <= 0)
        abort();

    std::unique_ptr<fsound::RateConverter> converter = fsound::RateConverter::Create(rate, channels, kDeviceRate);
    if (!converter)
        abort();
    std::vector<int16_t> decoded(size_t(kReadFrames) * size_t(channels));
    std::vector<int16_t> device;
    int64_t frames = 0;
    int64_t deviceFrames = 0;
    bool ended = false;
    while (frames < kMaxFrames) {
        long n = decoder.Read(decoded.data(), kReadFrames);
        if (n < 0 || n > kReadFrames)
            abort();
        if (n == 0) {
            ended = true;
            break;
        }
        frames += n;
        converter->Push(decoded.data(), n, device);
        deviceFrames += int64_t(device.size() / 2);
        device.clear();
    }
    if (frames > decoder.LengthFrames() || (ended && frames != decoder.LengthFrames()))
        abort();
    if (ended) {
        converter->Finish(device);
        deviceFrames += int64_t(device.size() / 2);
        if (deviceFrames != (frames * kDeviceRate + rate - 1) / rate)
            abort();
    }
    return 0;
}
