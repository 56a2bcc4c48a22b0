// Stretches of an image in memory, read back to back as one run of bytes,
// without a copy: what libmpg123 reads through its replaced reader.
#pragma once

#include "fsound_mp3_frames.h"

#include <sys/types.h>

#include <cstddef>
#include <vector>

namespace fsound {

class StretchReader {
public:
    StretchReader() = default;
    // The stretches must lie inside data's image, which must outlive the reader.
    StretchReader(const unsigned char* data, std::vector<Stretch> stretches);

    size_t Size() const { return size_; }
    // Copies up to bytes from the position on, moves past them and returns
    // how many; 0 at the end.
    size_t Read(void* out, size_t bytes);
    // As lseek: the new position, or -1 for a bad whence or one outside
    // [0, Size()], which leaves the position as it was.
    off_t Seek(off_t offset, int whence);

private:
    const unsigned char* data_ = nullptr;
    std::vector<Stretch> stretches_;
    std::vector<size_t> starts_;  // where each stretch begins in the run
    size_t size_ = 0;
    size_t position_ = 0;
    size_t current_ = 0;  // the stretch that holds the position, when one does
};

}  // namespace fsound
