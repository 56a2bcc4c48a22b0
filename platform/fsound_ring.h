// A fixed ring of 16-bit stereo frames between one writer thread (the
// decoder) and one reader thread (the device callback). Neither ever waits.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace fsound {

class PcmRing {
public:
    // Room for at least minFrames frames.
    explicit PcmRing(long minFrames);

    long Capacity() const { return long(mask_ + 1); }
    // Writer side: frames that fit now; copies up to frames, returns how many.
    long Space() const;
    long Push(const int16_t* stereo, long frames);
    // Reader side: frames waiting; copies up to frames, returns how many.
    long Available() const;
    long Pop(int16_t* stereo, long frames);

private:
    std::vector<uint32_t> frames_;  // one stereo frame each, left in the low half
    uint64_t mask_;
    std::atomic<uint64_t> written_{0};
    std::atomic<uint64_t> read_{0};
};

}  // namespace fsound
