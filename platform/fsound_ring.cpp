#include "fsound_ring.h"

#include <algorithm>
#include <cstring>

namespace fsound {

namespace {

uint64_t PowerOfTwoAtLeast(long n)
{
    uint64_t size = 1;
    while (size < uint64_t(std::max(1L, n)))
        size <<= 1;
    return size;
}

}  // namespace

PcmRing::PcmRing(long minFrames)
    : frames_(PowerOfTwoAtLeast(minFrames)), mask_(frames_.size() - 1)
{
}

long PcmRing::Space() const
{
    uint64_t used = written_.load(std::memory_order_relaxed) - read_.load(std::memory_order_acquire);
    return long(frames_.size() - used);
}

long PcmRing::Available() const
{
    return long(written_.load(std::memory_order_acquire) - read_.load(std::memory_order_relaxed));
}

long PcmRing::Push(const int16_t* stereo, long frames)
{
    uint64_t w = written_.load(std::memory_order_relaxed);
    long n = std::min(frames, Space());
    if (n <= 0)
        return 0;
    uint64_t start = w & mask_;
    uint64_t first = std::min<uint64_t>(uint64_t(n), frames_.size() - start);
    std::memcpy(&frames_[start], stereo, first * sizeof(uint32_t));
    std::memcpy(&frames_[0], stereo + 2 * first, (uint64_t(n) - first) * sizeof(uint32_t));
    written_.store(w + uint64_t(n), std::memory_order_release);
    return n;
}

long PcmRing::Pop(int16_t* stereo, long frames)
{
    uint64_t r = read_.load(std::memory_order_relaxed);
    long n = std::min(frames, Available());
    if (n <= 0)
        return 0;
    uint64_t start = r & mask_;
    uint64_t first = std::min<uint64_t>(uint64_t(n), frames_.size() - start);
    std::memcpy(stereo, &frames_[start], first * sizeof(uint32_t));
    std::memcpy(stereo + 2 * first, &frames_[0], (uint64_t(n) - first) * sizeof(uint32_t));
    read_.store(r + uint64_t(n), std::memory_order_release);
    return n;
}

}  // namespace fsound
