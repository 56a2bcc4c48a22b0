// The position of one stream as heard, in device frames.
//
// The device callback reports what it hands over; between callbacks the
// position runs on the monotonic clock, so frames drawn 1 ms apart see
// different times. It never passes what the device has been given, never
// goes back, and stands still while paused. Not thread-safe: the caller
// holds the device's mix lock.
#pragma once

#include <cstdint>

namespace fsound {

class HeardClock {
public:
    // deviceRate in frames per second; bufferFrames is one device callback.
    HeardClock(int deviceRate, long bufferFrames);

    // The callback starting at nowNs hands the device frames more frames of
    // the stream; ended when these were its last.
    void OnDeviceBuffer(int64_t nowNs, long frames, bool ended);
    void Pause(int64_t nowNs);
    void Resume(int64_t nowNs);

    // Frames heard at nowNs.
    double Position(int64_t nowNs);
    int64_t Given() const { return given_; }
    // The last frame has been handed over and heard.
    bool Finished(int64_t nowNs);

private:
    double rate_;
    double queuedFrames_;
    double snapFrames_;
    bool running_ = false;
    bool ended_ = false;
    int64_t given_ = 0;
    double reported_ = 0.0;
    double anchorFrames_ = 0.0;
    int64_t anchorNs_ = 0;
    double speed_ = 1.0;
};

// The monotonic clock the stream times are read against, in nanoseconds.
int64_t MonotonicNs();

}  // namespace fsound
