#include "fsound_stretch_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace fsound {

StretchReader::StretchReader(const unsigned char* data, std::vector<Stretch> stretches)
    : data_(data), stretches_(std::move(stretches))
{
    starts_.reserve(stretches_.size());
    for (const Stretch& s : stretches_) {
        starts_.push_back(size_);
        size_ += s.bytes;
    }
}

size_t StretchReader::Read(void* out, size_t bytes)
{
    auto* to = static_cast<unsigned char*>(out);
    size_t done = 0;
    while (done < bytes && position_ < size_) {
        // Reading moves on stretch by stretch; only a seek makes a search.
        if (position_ < starts_[current_] || position_ - starts_[current_] >= stretches_[current_].bytes)
            current_ = size_t(std::upper_bound(starts_.begin(), starts_.end(), position_) - starts_.begin()) - 1;
        const Stretch& s = stretches_[current_];
        size_t within = position_ - starts_[current_];
        size_t n = std::min(bytes - done, s.bytes - within);
        std::memcpy(to + done, data_ + s.from + within, n);
        done += n;
        position_ += n;
    }
    return done;
}

off_t StretchReader::Seek(off_t offset, int whence)
{
    off_t base = 0;
    if (whence == SEEK_CUR)
        base = off_t(position_);
    else if (whence == SEEK_END)
        base = off_t(size_);
    else if (whence != SEEK_SET)
        return -1;
    // Offsets outside the run are refused before they can overflow.
    if (offset < -base || offset > off_t(size_) - base)
        return -1;
    position_ = size_t(base + offset);
    return off_t(position_);
}

}  // namespace fsound
