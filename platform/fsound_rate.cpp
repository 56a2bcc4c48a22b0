#include "fsound_rate.h"

#include <SDL.h>

#include <algorithm>
#include <numeric>

namespace fsound {

namespace {

// SDL's stream gives the last frames of the audio only once more frames
// follow them, even after a flush; a quarter of a second of silence after
// the end covers its filter at every rate, and is cut off again.
const int kTrailingSilenceDivisor = 4;
const long kTakeFrames = 4096;
// SDL's resampler goes wrong on puts shorter than its filter; the decoder
// hands over thousands of frames at a time anyway.
const long kLeastPutFrames = 1024;

}  // namespace

std::unique_ptr<RateConverter> RateConverter::Create(int sourceRate, int channels, int deviceRate)
{
    if (sourceRate <= 0 || deviceRate <= 0 || (channels != 1 && channels != 2))
        return nullptr;
    SDL_AudioStream* stream =
        SDL_NewAudioStream(AUDIO_S16SYS, Uint8(channels), sourceRate, AUDIO_S16SYS, 2, deviceRate);
    if (!stream)
        return nullptr;
    return std::unique_ptr<RateConverter>(new RateConverter(sourceRate, channels, deviceRate, stream));
}

RateConverter::RateConverter(int sourceRate, int channels, int deviceRate, SDL_AudioStream* stream)
    : sourceRate_(sourceRate),
      channels_(channels),
      deviceRate_(deviceRate),
      block_(long(sourceRate / std::gcd(sourceRate, deviceRate))),
      stream_(stream)
{
}

RateConverter::~RateConverter()
{
    SDL_FreeAudioStream(stream_);
}

void RateConverter::Push(const int16_t* in, long frames, std::vector<int16_t>& out)
{
    if (frames <= 0)
        return;
    sourceFrames_ += frames;
    // SDL resamples each put on its own and drops the fraction of a device
    // frame the put ends on, so the audio would slip a little at every put
    // and end short: only whole blocks go in.
    held_.insert(held_.end(), in, in + size_t(frames) * size_t(channels_));
    long heldFrames = long(held_.size()) / channels_;
    long whole = heldFrames / block_ * block_;
    if (whole >= kLeastPutFrames) {
        PutWhole(held_.data(), whole);
        held_.erase(held_.begin(), held_.begin() + std::ptrdiff_t(whole) * channels_);
    }
    Take(DeviceFramesFor(sourceFrames_), out);
}

void RateConverter::Finish(std::vector<int16_t>& out)
{
    held_.resize(held_.size() + size_t(sourceRate_ / kTrailingSilenceDivisor) * size_t(channels_), 0);
    PutWhole(held_.data(), long(held_.size()) / channels_);
    held_.clear();
    SDL_AudioStreamFlush(stream_);
    int64_t total = DeviceFramesFor(sourceFrames_);
    Take(total, out);
    // What SDL could not give (it failed to take a put) is silence, so the
    // length still holds.
    if (deviceFrames_ < total) {
        out.resize(out.size() + size_t(total - deviceFrames_) * 2, 0);
        deviceFrames_ = total;
    }
    SDL_AudioStreamClear(stream_);
}

void RateConverter::PutWhole(const int16_t* in, long frames)
{
    if (frames > 0)
        SDL_AudioStreamPut(stream_, in, int(frames) * channels_ * int(sizeof(int16_t)));
}

void RateConverter::Take(int64_t limit, std::vector<int16_t>& out)
{
    while (deviceFrames_ < limit) {
        long want = long(std::min<int64_t>(limit - deviceFrames_, kTakeFrames));
        size_t at = out.size();
        out.resize(at + size_t(want) * 2);
        int bytes = SDL_AudioStreamGet(stream_, &out[at], want * 2 * int(sizeof(int16_t)));
        long got = bytes > 0 ? bytes / long(2 * sizeof(int16_t)) : 0;
        out.resize(at + size_t(got) * 2);
        deviceFrames_ += got;
        if (got < want)
            break;
    }
}

int64_t RateConverter::DeviceFramesFor(int64_t sourceFrames) const
{
    return (sourceFrames * deviceRate_ + sourceRate_ - 1) / sourceRate_;
}

}  // namespace fsound
