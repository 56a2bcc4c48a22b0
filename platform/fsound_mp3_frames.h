// The music in an MPEG audio image, told apart from what is not music.
//
// A bad copy leaves stretches of zeroed or garbled bytes in a soundtrack,
// before, inside or after the music. libmpg123 resynchronises on the first
// four bytes after them that look like any frame header, and such a false
// header decodes as noise or swallows the good frames that follow it. So
// what is not music is cut out before decoding, with the test libmpg123
// itself makes on the first frame: a frame is taken when a frame of its own
// kind stands right before or right after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fsound {

// The bytes [from, from + bytes) of an image.
struct Stretch {
    size_t from;
    size_t bytes;
};

// The length in bytes of the frame whose header is the big-endian value
// header (its header included), or 0 when it is no frame header or a free
// format one, whose length the header does not give.
long MpegFrameBytes(uint32_t header);

// The stretches of the image that hold its music, in order and merged where
// they touch, so an image with nothing to cut is one stretch: every frame
// that chains with a frame of its own kind (the format may change from one
// run of frames to the next), a last frame cut short by the end of the
// image, an ID3v2 tag at the start and an ID3v1 tag at the end. Everything
// else, before, between or after the frames, is left out. Free format
// frames, whose headers do not give their length, chain once the length of
// their kind is found from the distances between their headers. Empty when
// no two frames chain anywhere: then nothing here can tell the music.
std::vector<Stretch> MusicStretches(const unsigned char* data, size_t size);

}  // namespace fsound
