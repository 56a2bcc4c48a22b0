#include "fsound_rate.h"

namespace fsound {

RateConverter::RateConverter(int sourceRate, int deviceRate)
    : sourceRate_(sourceRate), deviceRate_(deviceRate)
{
}

void RateConverter::Push(const int16_t* in, long frames, int channels, std::vector<int16_t>& out)
{
    if (frames <= 0)
        return;
    if (sourceRate_ == deviceRate_ && pending_.empty()) {
        // Same rate: one device frame per source frame, no history needed.
        size_t at = out.size();
        out.resize(at + size_t(frames) * 2);
        for (long i = 0; i < frames; ++i) {
            out[at + 2 * i] = in[i * channels];
            out[at + 2 * i + 1] = in[i * channels + channels - 1];
        }
        next_ += frames;
        pendingStart_ += frames;
        return;
    }
    size_t at = pending_.size();
    pending_.resize(at + size_t(frames) * 2);
    for (long i = 0; i < frames; ++i) {
        pending_[at + 2 * i] = in[i * channels];
        pending_[at + 2 * i + 1] = in[i * channels + channels - 1];
    }
    Convert(false, out);
}

void RateConverter::Finish(std::vector<int16_t>& out)
{
    Convert(true, out);
    pendingStart_ += int64_t(pending_.size() / 2);
    pending_.clear();
}

void RateConverter::Convert(bool ended, std::vector<int16_t>& out)
{
    const int64_t end = pendingStart_ + int64_t(pending_.size() / 2);
    for (;;) {
        int64_t position = next_ * sourceRate_;
        int64_t i = position / deviceRate_;
        int64_t fraction = position % deviceRate_;
        if (i >= end)
            break;
        bool needsNext = fraction != 0 && i + 1 < end;
        if (fraction != 0 && i + 1 >= end && !ended)
            break;  // the following source frame has not come yet
        const int16_t* a = &pending_[size_t(i - pendingStart_) * 2];
        const int16_t* b = needsNext ? a + 2 : a;
        for (int c = 0; c < 2; ++c)
            out.push_back(int16_t(a[c] + (int64_t(b[c]) - a[c]) * fraction / deviceRate_));
        ++next_;
    }
    // Keep the source frames from the next output's position on.
    int64_t keepFrom = next_ * sourceRate_ / deviceRate_;
    if (keepFrom > end)
        keepFrom = end;
    if (keepFrom > pendingStart_) {
        pending_.erase(pending_.begin(), pending_.begin() + size_t(keepFrom - pendingStart_) * 2);
        pendingStart_ = keepFrom;
    }
}

}  // namespace fsound
