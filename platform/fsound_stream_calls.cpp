// The stream calls: open from memory, length, play on a channel, time.
#include "fsound.h"
#include "fsound_device.h"

#include <mutex>

using fsound::Device;
using fsound::SoundDevice;
using fsound::SoundStream;

namespace {

// The handle given out is the stream object itself; only handles this
// device holds are taken back.
SoundStream* Known(SoundDevice& device, FSOUND_STREAM* handle)
{
    if (!handle)
        return nullptr;
    for (auto& stream : device.streams) {
        if (reinterpret_cast<FSOUND_STREAM*>(stream.get()) == handle)
            return stream.get();
    }
    return nullptr;
}

}  // namespace

signed char FSOUND_Stream_SetBufferSize(int milliseconds)
{
    if (milliseconds <= 0)
        return 0;
    Device().streamBufferMs = milliseconds;
    return 1;
}

FSOUND_STREAM* FSOUND_Stream_Open(const char* data, unsigned int mode, int offset, int length)
{
    SoundDevice& device = Device();
    // Only images in memory are played, on an open device.
    if (device.id == 0 || !(mode & FSOUND_LOADMEMORY))
        return nullptr;
    // length bytes at data make the block; the stream starts offset bytes in.
    if (!data || length <= 0 || offset < 0 || offset >= length)
        return nullptr;
    std::unique_ptr<SoundStream> stream = SoundStream::Open(
        reinterpret_cast<const unsigned char*>(data) + offset, size_t(length - offset),
        (mode & FSOUND_MPEGACCURATE) != 0, device.rate, device.bufferFrames, device.streamBufferMs);
    if (!stream)
        return nullptr;
    auto* handle = reinterpret_cast<FSOUND_STREAM*>(stream.get());
    device.streams.push_back(std::move(stream));
    return handle;
}

int FSOUND_Stream_GetLengthMs(FSOUND_STREAM* handle)
{
    SoundStream* stream = Known(Device(), handle);
    return stream ? stream->LengthMs() : 0;
}

int FSOUND_Stream_PlayEx(int channel, FSOUND_STREAM* handle, FSOUND_DSPUNIT*, signed char startPaused)
{
    SoundDevice& device = Device();
    SoundStream* stream = Known(device, handle);
    if (!stream)
        return -1;
    std::lock_guard<std::mutex> lock(device.mixLock);
    int count = int(device.channels.size());
    if (channel == FSOUND_FREE) {
        if (stream->channel >= 0) {
            channel = stream->channel;  // already on one: keep it
        } else {
            for (int c = 0; c < count && channel < 0; ++c)
                if (!device.channels[size_t(c)])
                    channel = c;
        }
    }
    if (channel < 0 || channel >= count)
        return -1;
    SoundStream*& slot = device.channels[size_t(channel)];
    if (slot && slot != stream)
        slot->channel = -1;  // displaced: it stops where it is
    if (stream->channel >= 0 && stream->channel != channel)
        device.channels[size_t(stream->channel)] = nullptr;
    slot = stream;
    stream->channel = channel;
    int64_t now = fsound::MonotonicNs();
    stream->paused = startPaused != 0;
    if (stream->paused)
        stream->Pause(now);
    else
        stream->Resume(now);
    return channel;
}

int FSOUND_Stream_GetTime(FSOUND_STREAM* handle)
{
    SoundDevice& device = Device();
    SoundStream* stream = Known(device, handle);
    if (!stream)
        return 0;
    std::lock_guard<std::mutex> lock(device.mixLock);
    return stream->TimeMs(fsound::MonotonicNs());
}
