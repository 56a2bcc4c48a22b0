// Converts a stream's PCM (mono or stereo, its own rate) to the device's
// stereo frames at the device rate, by linear interpolation.
//
// Output frame j sits at source position j * sourceRate / deviceRate, kept
// in exact integers, so N source frames always give ceil(N * deviceRate /
// sourceRate) device frames and the stream's length in milliseconds holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fsound {

class RateConverter {
public:
    RateConverter(int sourceRate, int deviceRate);

    // Appends to out (stereo) what the next frames source frames of channels
    // (1 or 2) samples make; an output frame that needs a later source frame
    // waits for the next call or for Finish.
    void Push(const int16_t* in, long frames, int channels, std::vector<int16_t>& out);
    // The source has ended: appends the frames still waiting, holding the
    // last source frame.
    void Finish(std::vector<int16_t>& out);

private:
    void Convert(bool ended, std::vector<int16_t>& out);

    int64_t sourceRate_;
    int64_t deviceRate_;
    std::vector<int16_t> pending_;  // stereo source frames from pendingStart_ on
    int64_t pendingStart_ = 0;      // source index of pending_[0]
    int64_t next_ = 0;              // index of the next output frame
};

}  // namespace fsound
