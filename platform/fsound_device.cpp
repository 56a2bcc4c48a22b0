// Device start-up and shutdown, channels and pause, and the mixing callback.
#include "fsound.h"
#include "fsound_device.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace fsound {

namespace {

// About 23 ms at 44.1 kHz: the step of the heard time between callbacks,
// which the clock smooths over.
const Uint16 kBufferFrames = 1024;
const int kMaxChannels = 1024;

bool g_audioStarted = false;  // SDL's audio subsystem is ours to quit

void MixCallback(void* userdata, Uint8* bytes, int length)
{
    auto* device = static_cast<SoundDevice*>(userdata);
    auto* mix = reinterpret_cast<int16_t*>(bytes);
    long frames = long(length) / long(2 * sizeof(int16_t));
    std::memset(bytes, 0, size_t(length));
    int64_t now = MonotonicNs();
    std::lock_guard<std::mutex> lock(device->mixLock);
    for (SoundStream* stream : device->channels) {
        if (stream && !stream->paused)
            stream->MixInto(mix, frames, now);
    }
}

}  // namespace

SoundDevice& Device()
{
    // Never destroyed: the player leaves the device playing at exit, so the
    // callback may still run while static objects are torn down.
    static SoundDevice* device = new SoundDevice;
    return *device;
}

}  // namespace fsound

using fsound::Device;
using fsound::SoundDevice;
using fsound::SoundStream;

signed char FSOUND_SetOutput(int)
{
    return 1;
}

signed char FSOUND_SetDriver(int)
{
    return 1;
}

signed char FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int)
{
    FSOUND_Close();  // a second start-up begins afresh
    if (mixRate < 8000 || mixRate > 192000)
        return 0;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return 0;
    fsound::g_audioStarted = true;

    SoundDevice& device = Device();
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = mixRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = fsound::kBufferFrames;
    want.callback = fsound::MixCallback;
    want.userdata = &device;
    SDL_AudioSpec have;
    // No changes allowed: SDL converts to whatever the hardware wants.
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
        FSOUND_Close();
        return 0;
    }
    device.id = id;
    device.rate = mixRate;
    device.bufferFrames = have.samples > 0 ? long(have.samples) : long(fsound::kBufferFrames);
    device.channels.assign(size_t(std::clamp(maxSoftwareChannels, 1, fsound::kMaxChannels)), nullptr);
    SDL_PauseAudioDevice(id, 0);
    return 1;
}

signed char FSOUND_SetPaused(int channel, signed char paused)
{
    SoundDevice& device = Device();
    std::lock_guard<std::mutex> lock(device.mixLock);
    if (channel < 0 || size_t(channel) >= device.channels.size() || !device.channels[size_t(channel)])
        return 0;
    SoundStream* stream = device.channels[size_t(channel)];
    int64_t now = fsound::MonotonicNs();
    stream->paused = paused != 0;
    if (stream->paused)
        stream->Pause(now);
    else
        stream->Resume(now);
    return 1;
}

void FSOUND_Close()
{
    SoundDevice& device = Device();
    // The callback is over once the device is closed; only then may the
    // streams go.
    if (device.id != 0) {
        SDL_CloseAudioDevice(device.id);
        device.id = 0;
    }
    {
        std::lock_guard<std::mutex> lock(device.mixLock);
        device.channels.clear();
    }
    device.streams.clear();  // stops and joins every decoding thread
    device.rate = 0;
    device.bufferFrames = 0;
    if (fsound::g_audioStarted) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        fsound::g_audioStarted = false;
    }
}
