#include "fsound_clock.h"

#include <algorithm>
#include <chrono>

namespace fsound {

namespace {

// When a callback comes, the frames handed over before it, less one more
// buffer that a device holds queued, have been heard. The running position
// is steered toward that mark over kSettleSeconds, never slower than
// kMinSpeed (so reads 1 ms apart still differ) and never faster than
// kMaxSpeed; a lag of more than a few buffers is jumped. The queued buffer
// is also the slack that lets a late callback come without the position
// running into what was handed over and standing still.
const double kQueuedBuffers = 1.0;
const double kSettleSeconds = 0.2;
const double kMinSpeed = 0.995;
const double kMaxSpeed = 1.10;
const double kSnapBuffers = 3.0;

}  // namespace

int64_t MonotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

HeardClock::HeardClock(int deviceRate, long bufferFrames)
    : rate_(deviceRate),
      queuedFrames_(kQueuedBuffers * double(bufferFrames)),
      snapFrames_(kSnapBuffers * double(bufferFrames))
{
}

double HeardClock::Position(int64_t nowNs)
{
    if (running_) {
        double frames = anchorFrames_ + double(nowNs - anchorNs_) * 1e-9 * rate_ * speed_;
        frames = std::min(frames, double(given_));
        reported_ = std::max(reported_, frames);
    }
    return reported_;
}

bool HeardClock::Finished(int64_t nowNs)
{
    return ended_ && Position(nowNs) >= double(given_);
}

void HeardClock::OnDeviceBuffer(int64_t nowNs, long frames, bool ended)
{
    double position = Position(nowNs);
    double heard = double(given_) - queuedFrames_;
    bool first = given_ == 0;
    given_ += frames;
    ended_ = ended_ || ended;

    if (first && frames > 0) {
        // The first frames are heard once the queue ahead of them has played.
        anchorFrames_ = -queuedFrames_;
        anchorNs_ = nowNs;
        speed_ = 1.0;
        return;
    }
    anchorFrames_ = position;
    anchorNs_ = nowNs;
    double lag = heard - position;
    if (lag > snapFrames_) {
        anchorFrames_ = heard;
        reported_ = heard;
        lag = 0.0;
    }
    speed_ = std::clamp(1.0 + lag / (rate_ * kSettleSeconds), kMinSpeed, kMaxSpeed);
}

void HeardClock::Pause(int64_t nowNs)
{
    Position(nowNs);
    running_ = false;
}

void HeardClock::Resume(int64_t nowNs)
{
    if (running_)
        return;
    running_ = true;
    anchorFrames_ = reported_;
    anchorNs_ = nowNs;
    speed_ = 1.0;
}

}  // namespace fsound
