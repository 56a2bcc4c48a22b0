#include "fsound_stream.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

namespace fsound {

namespace {

// mpg123 hands out at most one MPEG frame per call; ask for a few.
const long kDecodeFrames = 4608;
// Wakes the decoder now and then even when no callback posts, so a stop
// request is seen.
const Uint32 kIdleWaitMs = 50;

}  // namespace

SoundStream::SoundStream(int deviceRate, long deviceBufferFrames, long ringFrames)
    : ring_(ringFrames), clock_(deviceRate, deviceBufferFrames), deviceRate_(deviceRate)
{
}

std::unique_ptr<SoundStream> SoundStream::Open(const unsigned char* data, size_t size, bool accurate,
                                               int deviceRate, long deviceBufferFrames, int bufferMs)
{
    // At least two callbacks' worth, so the decoder can refill one while the
    // device takes the other.
    long ringFrames = std::max(long(int64_t(bufferMs) * deviceRate / 1000), 2 * deviceBufferFrames);
    std::unique_ptr<SoundStream> stream(new SoundStream(deviceRate, deviceBufferFrames, ringFrames));
    if (!stream->decoder_.Open(data, size, accurate))
        return nullptr;
    int64_t ms = stream->decoder_.LengthFrames() * 1000 / stream->decoder_.Rate();
    if (ms > INT32_MAX)
        return nullptr;
    stream->lengthMs_ = int(ms);
    stream->converter_ = RateConverter::Create(stream->decoder_.Rate(), stream->decoder_.Channels(), deviceRate);
    if (!stream->converter_)
        return nullptr;
    stream->wake_ = SDL_CreateSemaphore(0);
    if (!stream->wake_)
        return nullptr;
    try {
        stream->thread_ = std::thread(&SoundStream::Decode, stream.get());
    } catch (...) {
        return nullptr;
    }
    return stream;
}

SoundStream::~SoundStream()
{
    stop_.store(true);
    if (wake_)
        SDL_SemPost(wake_);
    if (thread_.joinable())
        thread_.join();
    if (wake_)
        SDL_DestroySemaphore(wake_);
}

void SoundStream::Decode()
{
    std::vector<int16_t> decoded(size_t(kDecodeFrames) * 2);
    std::vector<int16_t> ready;  // device frames not yet in the ring
    size_t readyFrom = 0;        // in frames
    bool sourceEnded = false;

    while (!stop_.load(std::memory_order_relaxed)) {
        long waiting = long(ready.size() / 2 - readyFrom);
        if (waiting > 0) {
            readyFrom += size_t(ring_.Push(&ready[readyFrom * 2], waiting));
            if (readyFrom * 2 < ready.size()) {
                SDL_SemWaitTimeout(wake_, kIdleWaitMs);
                continue;
            }
        }
        if (sourceEnded) {
            decodedAll_.store(true, std::memory_order_release);
            return;
        }
        ready.clear();
        readyFrom = 0;
        long frames = decoder_.Read(decoded.data(), kDecodeFrames);
        if (frames > 0) {
            converter_->Push(decoded.data(), frames, ready);
        } else {
            converter_->Finish(ready);
            sourceEnded = true;
        }
    }
}

void SoundStream::MixInto(int16_t* mix, long frames, int64_t nowNs)
{
    if (ended_)
        return;
    // Read the end mark before taking frames: if it was set, everything the
    // decoder will ever give is already in the ring.
    bool decodedAll = decodedAll_.load(std::memory_order_acquire);
    int16_t chunk[2 * 512];
    long given = 0;
    while (given < frames) {
        long n = ring_.Pop(chunk, std::min<long>(512, frames - given));
        if (n == 0)
            break;
        int16_t* out = mix + 2 * given;
        for (long i = 0; i < 2 * n; ++i) {
            int sum = out[i] + chunk[i];
            out[i] = int16_t(std::clamp(sum, -32768, 32767));
        }
        given += n;
    }
    ended_ = decodedAll && given < frames;
    clock_.OnDeviceBuffer(nowNs, given, ended_);
    if (given > 0 && !decodedAll)
        SDL_SemPost(wake_);
}

int SoundStream::TimeMs(int64_t nowNs)
{
    if (clock_.Finished(nowNs))
        return lengthMs_;
    int64_t ms = int64_t(clock_.Position(nowNs) * 1000.0 / deviceRate_);
    return int(std::min<int64_t>(ms, lengthMs_));
}

}  // namespace fsound
