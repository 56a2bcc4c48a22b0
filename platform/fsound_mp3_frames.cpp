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
// Kinds of frame as SameKind tells them apart: version, layer, sample rate,
// mono or not.
const size_t kKinds = 128;
// A free format length is believed when it holds from header to header over
// this many frames of its kind (or up to the end).
const int kFreeFormatFrames = 4;
// libmpg123 reads no frame longer, free format or not.
const size_t kMaxFrameBytes = 3456;

uint32_t HeaderAt(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

bool IsMono(uint32_t header)
{
    return ((header >> 6) & 3) == kMonoMode;
}

// Of one kind, mono or not: joint and plain stereo alternate within a stream.
bool SameKind(uint32_t a, uint32_t b)
{
    return (a & kSameKind) == (b & kSameKind) && IsMono(a) == IsMono(b);
}

size_t KindIndex(uint32_t header)
{
    return size_t((header >> 17) & 15) << 3 | size_t((header >> 10) & 3) << 1 | size_t(IsMono(header));
}

// Sync, version, layer, bitrate and sample rate all valid; the bitrate may
// be free format's 0.
bool IsHeader(uint32_t header)
{
    unsigned version = (header >> 19) & 3;
    unsigned layerBits = (header >> 17) & 3;
    unsigned bitrate = (header >> 12) & 15;
    unsigned rateIndex = (header >> 10) & 3;
    return (header & 0xFFE00000u) == 0xFFE00000u && version != 1 && layerBits != 0 && bitrate != 15 &&
           rateIndex != 3;
}

bool IsFreeFormat(uint32_t header)
{
    return IsHeader(header) && ((header >> 12) & 15) == 0;
}

// What the padding bit adds: one slot, of four bytes in layer I.
long PaddingBytes(uint32_t header)
{
    long slot = ((header >> 17) & 3) == 3 ? 4 : 1;
    return long((header >> 9) & 1) * slot;
}

// The frames in the first end bytes of an image.
class Frames {
public:
    Frames(const unsigned char* data, size_t end) : data_(data), end_(end) {}

    bool HasHeader(size_t at) const { return at + 4 <= end_; }
    uint32_t Header(size_t at) const { return HeaderAt(data_ + at); }

    // The length of a frame with this header; for free format the length
    // found for its kind, 0 while none is.
    long Bytes(uint32_t header) const
    {
        if (!IsFreeFormat(header))
            return MpegFrameBytes(header);
        long unpadded = freeFormat_[KindIndex(header)];
        return unpadded > 0 ? unpadded + PaddingBytes(header) : 0;
    }

    // Length of the frame at at, 0 when none starts there or it runs past
    // the end.
    long FrameAt(size_t at) const
    {
        if (!HasHeader(at) || data_[at] != 0xFF)
            return 0;
        long bytes = Bytes(Header(at));
        return bytes > 0 && size_t(bytes) <= end_ - at ? bytes : 0;
    }

    // Finds the length of each kind of free format frame from from on. Such
    // frames keep one length through a stream, padding aside; decoders take
    // it as the distance from the first header to the next of its kind.
    // Here it is taken at the first header where that distance then holds
    // from each header to the next of its kind, frame after frame, so a
    // header in junk sets none, even one that spans music frames exactly.
    void FindFreeFormat(size_t from)
    {
        for (size_t at = from; HasHeader(at); ++at) {
            if (data_[at] != 0xFF)
                continue;
            uint32_t header = Header(at);
            if (IsFreeFormat(header) && freeFormat_[KindIndex(header)] == 0)
                freeFormat_[KindIndex(header)] = FreeFormatLengthAt(at);
        }
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
    // The first free format header of the kind of the one at at within the
    // next within bytes; 0 for none.
    size_t NextOfKind(size_t at, size_t within) const
    {
        uint32_t header = Header(at);
        for (size_t next = at + 1; next - at <= within && HasHeader(next); ++next) {
            if (data_[next] == 0xFF && IsFreeFormat(Header(next)) && SameKind(header, Header(next)))
                return next;
        }
        return 0;
    }

    // The length, padding left out, of free format frames of the kind of
    // the one at at, when the distance to the next header of the kind holds
    // from each header to the next for kFreeFormatFrames frames; 0 when it
    // does not.
    long FreeFormatLengthAt(size_t at) const
    {
        size_t next = NextOfKind(at, kMaxFrameBytes);
        if (next == 0)
            return 0;
        long unpadded = long(next - at) - PaddingBytes(Header(at));
        if (unpadded <= 0)
            return 0;
        for (int frame = 2; frame < kFreeFormatFrames; ++frame) {
            size_t ends = next + size_t(unpadded + PaddingBytes(Header(next)));
            if (ends == end_)
                break;
            if (NextOfKind(next, ends - next) != ends)
                return 0;
            next = ends;
        }
        return unpadded;
    }

    const unsigned char* data_;
    size_t end_;
    long freeFormat_[kKinds] = {};  // padding left out; 0 for none found
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
    unsigned bitrate = (header >> 12) & 15;
    if (!IsHeader(header) || bitrate == 0)
        return 0;
    unsigned version = (header >> 19) & 3;
    int layer = 4 - int((header >> 17) & 3);
    bool mpeg1 = version == 3;
    long bitsPerSecond = 1000L * kKbps[mpeg1 ? 0 : 1][layer - 1][bitrate];
    long rate = kRates[version][(header >> 10) & 3];
    long padding = PaddingBytes(header);
    if (layer == 1)
        return 12 * bitsPerSecond / rate * 4 + padding;
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
    frames.FindFreeFormat(head);
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
        if (follows && frames.Bytes(frames.Header(at)) > 0) {
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
