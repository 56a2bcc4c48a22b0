// Converts a stream's PCM (mono or stereo, its own rate) to the device's
// stereo frames at the device rate, through SDL's audio stream, whose
// windowed-sinc resampler keeps what lies above the device's band from
// folding back into it.
//
// N source frames always give ceil(N * deviceRate / sourceRate) device
// frames, so the stream's length in milliseconds holds and the heard time,
// which counts device frames, ends exactly there.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct _SDL_AudioStream;

namespace fsound {

class RateConverter {
public:
    // NULL when SDL cannot convert between the two.
    static std::unique_ptr<RateConverter> Create(int sourceRate, int channels, int deviceRate);
    ~RateConverter();
    RateConverter(const RateConverter&) = delete;
    RateConverter& operator=(const RateConverter&) = delete;

    // Appends to out (stereo) what the next frames source frames (of the
    // channel count given at creation) make so far; the resampler holds back
    // what needs source frames yet to come.
    void Push(const int16_t* in, long frames, std::vector<int16_t>& out);
    // The source has ended: appends the frames still held back.
    void Finish(std::vector<int16_t>& out);

private:
    RateConverter(int sourceRate, int channels, int deviceRate, _SDL_AudioStream* stream);
    void PutWhole(const int16_t* in, long frames);
    // Takes what the resampler has ready, up to limit device frames in all.
    void Take(int64_t limit, std::vector<int16_t>& out);
    int64_t DeviceFramesFor(int64_t sourceFrames) const;

    int64_t sourceRate_;
    int channels_;
    int64_t deviceRate_;
    long block_;  // source frames that make a whole number of device frames
    _SDL_AudioStream* stream_;
    std::vector<int16_t> held_;  // source frames short of a whole block
    int64_t sourceFrames_ = 0;   // pushed in all
    int64_t deviceFrames_ = 0;   // appended to out in all
};

}  // namespace fsound
