// One MP3 stream: decoded ahead on its own thread into a ring, taken from
// the ring by the device callback, timed by what the device has played.
#pragma once

#include "fsound_clock.h"
#include "fsound_mp3_decoder.h"
#include "fsound_rate.h"
#include "fsound_ring.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

struct SDL_semaphore;

namespace fsound {

class SoundStream {
public:
    // NULL when the image holds no playable MP3 audio. The decoding thread
    // starts at once and keeps bufferMs of device audio ready. data must stay
    // valid while the stream lives.
    static std::unique_ptr<SoundStream> Open(const unsigned char* data, size_t size, bool accurate,
                                             int deviceRate, long deviceBufferFrames, int bufferMs);
    ~SoundStream();
    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    int LengthMs() const { return lengthMs_; }

    // The rest is called with the device's mix lock held.

    // Device callback: adds this stream's next frames (stereo) to mix, with
    // saturation, and tells the clock what was handed over.
    void MixInto(int16_t* mix, long frames, int64_t nowNs);
    // Milliseconds heard at nowNs; LengthMs() once the last frame was heard.
    int TimeMs(int64_t nowNs);
    void Pause(int64_t nowNs) { clock_.Pause(nowNs); }
    void Resume(int64_t nowNs) { clock_.Resume(nowNs); }

    int channel = -1;    // the channel it plays on, -1 for none
    bool paused = true;  // held by its channel

private:
    SoundStream(int deviceRate, long deviceBufferFrames, long ringFrames);
    void Decode();

    Mp3Decoder decoder_;
    std::unique_ptr<RateConverter> converter_;
    PcmRing ring_;
    HeardClock clock_;
    int deviceRate_;
    int lengthMs_ = 0;
    bool ended_ = false;

    std::thread thread_;
    SDL_semaphore* wake_ = nullptr;  // posted by the callback when it made room
    std::atomic<bool> stop_{false};
    std::atomic<bool> decodedAll_{false};  // every frame is in the ring
};

}  // namespace fsound
