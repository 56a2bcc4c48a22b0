#include "fsound_mp3_frames.h"

#include <cstring>

namespace fsound {

namespace {

// Kilobits per second by [MPEG-1 or not][layer - 1][bitrate index].
const int kKbps[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};

// Hertz by [version bits][sample rate index]; version bits 1 are reserved.
const long kRates[4][3] = {{11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

// Sync, version, layer and sample rate: what frames of one kind share.
const uint32_t kSameKind = 0xFFFE0C00u;
const uint32_t kMonoMode = 3;
const size_t kId3v1Bytes = 128;

uint32_t HeaderAt(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Of one kind, mono or not: joint and plain stereo alternate within a stream.
bool SameKind(uint32_t a, uint32_t b)
{
    bool monoA = ((a >> 6) & 3) == kMonoMode;
    bool monoB = ((b >> 6) & 3) == kMonoMode;
    return (a & kSameKind) == (b & kSameKind) && monoA == monoB;
}

// The frames in the first end bytes of an image.
class Frames {
public:
    Frames(const unsigned char* data, size_t end) : data_(data), end_(end) {}

    bool HasHeader(size_t at) const { return at + 4 <= end_; }
    uint32_t Header(size_t at) const { return HeaderAt(data_ + at); }

    // Length of the frame at at, 0 when none starts there or it runs past
    // the end.
    long FrameAt(size_t at) const
    {
        if (!HasHeader(at) || data_[at] != 0xFF)
            return 0;
        long bytes = MpegFrameBytes(Header(at));
        return bytes > 0 && size_t(bytes) <= end_ - at ? bytes : 0;
    }

    // A frame starts at at and the next one, of the same kind, where it
    // ends (or the end is there).
    bool ChainsAt(size_t at) const
    {
        long bytes = FrameAt(at);
        if (bytes == 0)
            return false;
        size_t next = at + size_t(bytes);
        return next == end_ || (FrameAt(next) > 0 && SameKind(Header(at), Header(next)));
    }

    // The first position from from on where frames chain; the end for none.
    size_t NextChain(size_t from) const
    {
        size_t at = from;
        while (at < end_ && !ChainsAt(at))
            ++at;
        return at;
    }

private:
    const unsigned char* data_;
    size_t end_;
};

// The stretches kept so far, merged where one ends at the next.
class Kept {
public:
    void Add(size_t from, size_t bytes)
    {
        if (bytes == 0)
            return;
        if (!stretches_.empty() && stretches_.back().from + stretches_.back().bytes == from)
            stretches_.back().bytes += bytes;
        else
            stretches_.push_back({from, bytes});
    }
    std::vector<Stretch> Take() { return std::move(stretches_); }

private:
    std::vector<Stretch> stretches_;
};

// The length of the ID3v2 tag at the start, 0 for none or one that does not
// fit the image.
size_t Id3v2Bytes(const unsigned char* data, size_t size)
{
    if (size < 10 || std::memcmp(data, "ID3", 3) != 0)
        return 0;
    size_t body = size_t(data[6] & 0x7f) << 21 | size_t(data[7] & 0x7f) << 14 | size_t(data[8] & 0x7f) << 7 |
                  size_t(data[9] & 0x7f);
    size_t footer = (data[5] & 0x10) != 0 ? 10 : 0;
    size_t bytes = 10 + body + footer;
    return bytes <= size ? bytes : 0;
}

// Where the ID3v1 tag of the last 128 bytes begins; size for none.
size_t Id3v1At(const unsigned char* data, size_t size)
{
    if (size < kId3v1Bytes || std::memcmp(data + size - kId3v1Bytes, "TAG", 3) != 0)
        return size;
    return size - kId3v1Bytes;
}

}  // namespace

long MpegFrameBytes(uint32_t header)
{
    if ((header & 0xFFE00000u) != 0xFFE00000u)
        return 0;
    unsigned version = (header >> 19) & 3;
    unsigned layerBits = (header >> 17) & 3;
    unsigned bitrate = (header >> 12) & 15;
    unsigned rateIndex = (header >> 10) & 3;
    long padding = (header >> 9) & 1;
    if (version == 1 || layerBits == 0 || bitrate == 0 || bitrate == 15 || rateIndex == 3)
        return 0;
    int layer = 4 - int(layerBits);
    bool mpeg1 = version == 3;
    long bitsPerSecond = 1000L * kKbps[mpeg1 ? 0 : 1][layer - 1][bitrate];
    long rate = kRates[version][rateIndex];
    if (layer == 1)
        return (12 * bitsPerSecond / rate + padding) * 4;
    if (layer == 3 && !mpeg1)
        return 72 * bitsPerSecond / rate + padding;
    return 144 * bitsPerSecond / rate + padding;
}

std::vector<Stretch> MusicStretches(const unsigned char* data, size_t size)
{
    if (!data)
        return {};
    size_t tag = Id3v1At(data, size);
    size_t head = Id3v2Bytes(data, tag);
    Frames frames(data, tag);
    size_t at = frames.NextChain(head);
    if (at >= tag)
        return {};

    Kept kept;
    kept.Add(0, head);
    // The header of the frame kept right before at; 0 after a cut.
    uint32_t previous = 0;
    while (at < tag) {
        long bytes = frames.FrameAt(at);
        bool follows = previous != 0 && frames.HasHeader(at) && SameKind(previous, frames.Header(at));
        if (bytes > 0 && (follows || frames.ChainsAt(at))) {
            kept.Add(at, size_t(bytes));
            previous = frames.Header(at);
            at += size_t(bytes);
            continue;
        }
        if (follows && MpegFrameBytes(frames.Header(at)) > 0) {
            // A frame of the run, cut short by the end.
            kept.Add(at, tag - at);
            break;
        }
        previous = 0;
        at = frames.NextChain(at + 1);
    }
    kept.Add(tag, size - tag);
    return kept.Take();
}

}  // namespace fsound
