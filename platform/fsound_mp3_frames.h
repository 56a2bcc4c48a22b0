// The frames of an MPEG audio image, told apart from damage.
//
// A bad copy leaves stretches of zeroed or garbled bytes in the middle of a
// soundtrack. libmpg123 resynchronises on the first four bytes after them
// that look like any frame header, and such a false header, of another rate
// or layer, decodes as noise or swallows the good frames that follow it. So
// the damage is cut out before decoding, with the test libmpg123 itself makes
// on the first frame: a frame is only taken when the header of the next
// frame, of the same kind, stands where it ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fsound {

// The length in bytes of the frame whose header is the big-endian value
// header (its header included), or 0 when it is no frame header or a free
// format one, whose length the header does not give.
long MpegFrameBytes(uint32_t header);

// The image with every stretch between its frames that holds no frame of its
// stream cut out; empty when there is none. What stands before the first
// frame and after the last (tags, junk) is kept as it is.
std::vector<unsigned char> CutDamage(const unsigned char* data, size_t size);

}  // namespace fsound
