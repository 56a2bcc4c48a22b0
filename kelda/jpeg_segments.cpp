#include "jpeg_segments.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kSoi = 0xD8;
constexpr uint8_t kEoi = 0xD9;
constexpr uint8_t kSos = 0xDA;
constexpr uint8_t kApp14 = 0xEE;

// As for bitmap files: at most 256 MiB of three-byte pixels.
constexpr uint64_t kMaxPixelBytes = 256u << 20;

bool IsRestart(uint8_t code)
{
    return code >= 0xD0 && code <= 0xD7;
}

// The start-of-frame markers; C4 (Huffman tables), C8 and CC are not.
bool IsFrame(uint8_t code)
{
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

// As libjpeg looks for a marker: bytes up to an 0xFF are skipped, then any
// fill bytes. The position of the marker's code, or size when none is left.
size_t FindMarker(const uint8_t* data, size_t size, size_t at)
{
    while (at < size && data[at] != 0xFF)
        at++;
    while (at < size && data[at] == 0xFF)
        at++;
    return at;
}

// Markers with no length after them; 0xFF 0x00 is no marker at all.
bool StandsAlone(uint8_t code)
{
    return code == 0x00 || code == 0x01 || code == kSoi || IsRestart(code);
}

// The length of the segment whose length bytes stand at `at` (those two
// bytes included), or 0 when it does not lie wholly inside the bytes.
size_t SegmentLength(const uint8_t* data, size_t size, size_t at)
{
    if (size - at < 2)
        return 0;
    const size_t length = size_t(data[at]) << 8 | data[at + 1];
    return length < 2 || length > size - at ? 0 : length;
}

// A frame header's payload: precision, height, width, components.
bool FrameFits(const uint8_t* segment, size_t length)
{
    if (length < 8)
        return false;
    const uint64_t height = uint64_t(segment[3]) << 8 | segment[4];
    const uint64_t width = uint64_t(segment[5]) << 8 | segment[6];
    return width * height * 3 <= kMaxPixelBytes;
}

// How a walk over the segments ended. Bytes that run out where a marker is
// due, or inside a scan's coded data, make libjpeg read past the end rather
// than skip past it, which DevIL's reader survives.
enum class WalkEnd {
    kImageEnd,         // at the end-of-image marker
    kBetweenSegments,  // the bytes ran out where a marker was due
    kInScan,           // the bytes ran out inside a scan's coded data
    kBroken,           // no start marker, a segment past the end, or the visit said stop
};

// Walks the marker segments as libjpeg reads them, handing each segment that
// has a length to visit(code, segment, length), the segment starting at its
// two length bytes; visit returns false to stop the walk.
template <typename Visit>
WalkEnd WalkSegments(const uint8_t* data, size_t size, Visit visit)
{
    if (size < 2 || data[0] != 0xFF || data[1] != kSoi)
        return WalkEnd::kBroken;
    size_t at = 2;
    for (;;) {
        at = FindMarker(data, size, at);
        if (at >= size)
            return WalkEnd::kBetweenSegments;
        const uint8_t code = data[at++];
        if (code == kEoi)
            return WalkEnd::kImageEnd;
        if (StandsAlone(code))
            continue;
        const size_t length = SegmentLength(data, size, at);
        if (length == 0 || !visit(code, data + at, length))
            return WalkEnd::kBroken;
        at += length;
        if (code != kSos)
            continue;
        // The entropy-coded data runs to the next marker other than a
        // restart; 0xFF 0x00 is a coded 0xFF.
        while (at + 1 < size) {
            const uint8_t next = data[at + 1];
            if (data[at] == 0xFF && next != 0x00 && next != 0xFF && !IsRestart(next))
                break;
            at++;
        }
        if (at + 1 >= size)
            return WalkEnd::kInScan;
    }
}

// Which coefficients of the frame's components the scans have coded down to
// their last bit. A sequential scan codes its components whole; a
// progressive one codes the band Ss to Se down to bit Al, so a coefficient is
// whole once a scan with Al 0 has covered it.
class Coverage {
public:
    bool Frame(uint8_t code, const uint8_t* segment, size_t length)
    {
        if (count_ != 0 || length < 8)
            return false;
        const size_t count = segment[7];
        if (count == 0 || count > kMaxComponents || length < 8 + 3 * count)
            return false;
        for (size_t c = 0; c < count; c++)
            ids_[c] = segment[8 + 3 * c];
        count_ = count;
        progressive_ = (code & 0x03) == 0x02;
        return true;
    }

    bool Scan(const uint8_t* segment, size_t length)
    {
        if (length < 3)
            return false;
        const size_t count = segment[2];
        if (count_ == 0 || length < 6 + 2 * count)
            return false;
        const uint8_t* band = segment + 3 + 2 * count;
        const size_t first = progressive_ ? band[0] : 0;
        const size_t last = progressive_ ? band[1] : kCoefficients - 1;
        const bool lastBit = !progressive_ || (band[2] & 0x0F) == 0;
        for (size_t i = 0; i < count; i++) {
            const uint8_t* component = std::find(ids_, ids_ + count_, segment[3 + 2 * i]);
            if (component == ids_ + count_)
                return false;
            for (size_t k = first; k <= last && k < kCoefficients; k++)
                whole_[component - ids_][k] |= lastBit;
        }
        return true;
    }

    bool Whole() const
    {
        for (size_t c = 0; c < count_; c++)
            for (size_t k = 0; k < kCoefficients; k++)
                if (!whole_[c][k])
                    return false;
        return count_ != 0;
    }

private:
    static constexpr size_t kMaxComponents = 10;  // as libjpeg takes them
    static constexpr size_t kCoefficients = 64;
    uint8_t ids_[kMaxComponents] = {};
    bool whole_[kMaxComponents][kCoefficients] = {};
    size_t count_ = 0;
    bool progressive_ = false;
};

}  // namespace

bool JpegSegmentsFit(const uint8_t* data, size_t size)
{
    return WalkSegments(data, size, [](uint8_t code, const uint8_t* segment, size_t length) {
               return !IsFrame(code) || FrameFits(segment, length);
           }) != WalkEnd::kBroken;
}

bool JpegHasAdobeMarker(const uint8_t* data, size_t size)
{
    static const char kSignature[] = "Adobe";
    bool found = false;
    WalkSegments(data, size, [&found](uint8_t code, const uint8_t* segment, size_t length) {
        // libjpeg takes the marker only with its 12 bytes of data whole.
        found = code == kApp14 && length >= 2 + 12 && memcmp(segment + 2, kSignature, 5) == 0;
        return !found && code != kSos;
    });
    return found;
}

bool JpegEndsInFinalScan(const uint8_t* data, size_t size)
{
    Coverage coverage;
    const WalkEnd end = WalkSegments(data, size, [&coverage](uint8_t code, const uint8_t* segment, size_t length) {
        if (IsFrame(code))
            return coverage.Frame(code, segment, length);
        return code != kSos || coverage.Scan(segment, length);
    });
    return end == WalkEnd::kInScan && coverage.Whole();
}
