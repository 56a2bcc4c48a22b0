#include "jpeg_segments.h"

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

}  // namespace

bool JpegSegmentsFit(const uint8_t* data, size_t size)
{
    if (size < 2 || data[0] != 0xFF || data[1] != kSoi)
        return false;
    size_t at = 2;
    for (;;) {
        at = FindMarker(data, size, at);
        if (at >= size)
            return true;  // cut short between segments: a read, not a skip
        const uint8_t code = data[at++];
        if (code == kEoi)
            return true;
        if (StandsAlone(code))
            continue;
        const size_t length = SegmentLength(data, size, at);
        if (length == 0)
            return false;
        if (IsFrame(code) && !FrameFits(data + at, length))
            return false;
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
            return true;  // the scan is cut short: libjpeg stops reading there
    }
}

bool JpegHasAdobeMarker(const uint8_t* data, size_t size)
{
    static const char kSignature[] = "Adobe";
    if (size < 2 || data[0] != 0xFF || data[1] != kSoi)
        return false;
    size_t at = 2;
    for (;;) {
        at = FindMarker(data, size, at);
        if (at >= size)
            return false;
        const uint8_t code = data[at++];
        if (code == kEoi || code == kSos)
            return false;
        if (StandsAlone(code))
            continue;
        const size_t length = SegmentLength(data, size, at);
        if (length == 0)
            return false;
        // libjpeg takes the marker only with its 12 bytes of data whole.
        if (code == kApp14 && length >= 2 + 12 && memcmp(data + at + 2, kSignature, 5) == 0)
            return true;
        at += length;
    }
}
