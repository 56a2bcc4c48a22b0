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

// Sync, version, layer and sample rate: what frames of one stream share.
const uint32_t kSameStream = 0xFFFE0C00u;
const uint32_t kMonoMode = 3;

uint32_t HeaderAt(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

bool SameStream(uint32_t a, uint32_t b)
{
    bool monoA = ((a >> 6) & 3) == kMonoMode;
    bool monoB = ((b >> 6) & 3) == kMonoMode;
    return (a & kSameStream) == (b & kSameStream) && monoA == monoB;
}

class FrameFinder {
public:
    FrameFinder(const unsigned char* data, size_t size) : data_(data), size_(size) {}

    void SetStream(uint32_t header)
    {
        stream_ = header;
        searchedFrom_ = 1;
        found_ = 0;
    }

    // Length of the frame at at, 0 when none of the stream's kind starts
    // there or it runs past the end.
    long FrameAt(size_t at) const
    {
        if (at + 4 > size_)
            return 0;
        uint32_t header = HeaderAt(data_ + at);
        if (stream_ != 0 && !SameStream(stream_, header))
            return 0;
        long bytes = MpegFrameBytes(header);
        return bytes > 0 && size_t(bytes) <= size_ - at ? bytes : 0;
    }

    // A frame starts at at and the next one, of the same kind, where it
    // ends (or the image ends there).
    bool ChainsAt(size_t at) const
    {
        long bytes = FrameAt(at);
        if (bytes == 0)
            return false;
        size_t next = at + size_t(bytes);
        if (next == size_)
            return true;
        long following = FrameAt(next);
        return following > 0 && SameStream(HeaderAt(data_ + at), HeaderAt(data_ + next));
    }

    // The first position from from on where frames chain; size_ for none.
    // Positions searched once are not searched again.
    size_t NextChain(size_t from)
    {
        if (from >= searchedFrom_ && from <= found_)
            return found_;
        size_t at = from;
        while (at < size_ && !ChainsAt(at))
            ++at;
        searchedFrom_ = from;
        found_ = at;
        return at;
    }

private:
    const unsigned char* data_;
    size_t size_;
    uint32_t stream_ = 0;
    size_t searchedFrom_ = 1;
    size_t found_ = 0;
};

size_t Id3v2Bytes(const unsigned char* data, size_t size)
{
    if (size < 10 || std::memcmp(data, "ID3", 3) != 0)
        return 0;
    size_t body = size_t(data[6] & 0x7f) << 21 | size_t(data[7] & 0x7f) << 14 | size_t(data[8] & 0x7f) << 7 |
                  size_t(data[9] & 0x7f);
    size_t footer = (data[5] & 0x10) != 0 ? 10 : 0;
    return 10 + body + footer;
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

std::vector<unsigned char> CutDamage(const unsigned char* data, size_t size)
{
    size_t start = Id3v2Bytes(data, size);
    if (start >= size)
        return {};
    FrameFinder finder(data, size);
    size_t at = finder.NextChain(start);
    if (at >= size)
        return {};
    finder.SetStream(HeaderAt(data + at));

    std::vector<unsigned char> kept(data, data + at);
    bool cut = false;
    while (at < size) {
        long bytes = finder.FrameAt(at);
        // The last frame has nothing after it: what follows it is taken as
        // a tag or the end of a cut file, not as damage.
        size_t next = bytes > 0 && finder.ChainsAt(at) ? at : finder.NextChain(at + 1);
        if (bytes > 0 && (next == at || next >= size)) {
            kept.insert(kept.end(), data + at, data + at + bytes);
            at += size_t(bytes);
            continue;
        }
        if (next >= size) {
            kept.insert(kept.end(), data + at, data + size);
            break;
        }
        cut = true;
        at = next;
    }
    if (!cut)
        return {};
    return kept;
}

}  // namespace fsound
