// The one audio output: the SDL device, its mixing callback, the channels
// and the streams opened on it. The FSOUND calls come from one thread; the
// callback runs on SDL's audio thread.
#pragma once

#include "fsound_stream.h"

#include <memory>
#include <mutex>
#include <vector>

namespace fsound {

struct SoundDevice {
    unsigned int id = 0;  // SDL audio device, 0 while closed
    int rate = 0;
    long bufferFrames = 0;
    int streamBufferMs = 200;  // decode-ahead of streams opened from now on

    // Held by the callback while it mixes, and by the calls that change
    // channels or read a stream's time: never across decoding.
    std::mutex mixLock;
    std::vector<SoundStream*> channels;  // stream on each channel, or NULL
    std::vector<std::unique_ptr<SoundStream>> streams;
};

// The device state shared by the FSOUND calls.
SoundDevice& Device();

}  // namespace fsound
