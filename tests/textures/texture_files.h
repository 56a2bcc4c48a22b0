// Small picture files written byte by byte (BMP, RAW) or through DevIL
// (JPEG) into a temporary folder, for the importers to read, and what other
// tools make of JPEG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

typedef std::vector<uint8_t> Bytes;

// A folder under /tmp removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& leaf) const { return path_ + "/" + leaf; }
    // Writes bytes to leaf and returns its full path.
    std::string Write(const std::string& leaf, const Bytes& bytes) const;

private:
    std::string path_;
};

// A Windows-style name for a POSIX path: slashes become backslashes.
std::string WindowsName(const std::string& path);

// A BMP file with a BITMAPINFOHEADER. rows are the pixel rows as the file
// stores them (bottom row first unless topDown), each exactly
// ceil(width * bits / 8) bytes; padding to 4 bytes is added here. A palette
// of 2^bits grey entries is written for bits <= 8.
struct BmpLayout {
    int32_t width;
    int32_t height;  // positive; topDown writes it negated
    uint16_t bits;
    bool topDown = false;
    std::vector<Bytes> rows;
};
Bytes MakeBmp(const BmpLayout& layout);
size_t BmpStride(int32_t width, int bits);

// Offsets of the header fields that the lying-header tests overwrite.
enum BmpField : size_t {
    kBfSize = 2,
    kBfOffBits = 10,
    kBiSize = 14,
    kBiWidth = 18,
    kBiHeight = 22,
    kBiPlanes = 26,
    kBiBitCount = 28,
    kBiCompression = 30,
    kBiSizeImage = 34,
    kBiClrUsed = 46,
};
void PutWord(Bytes& bytes, size_t at, uint16_t value);
void PutDword(Bytes& bytes, size_t at, uint32_t value);

// A JPEG of width x height pixels from rows given top row first: 3 bytes per
// pixel for channels 3, 1 for channels 1 (grey). Quality 99.
bool WriteJpeg(const std::string& path, int width, int height, int channels,
               const Bytes& topRowFirst);
// A PNG of width x height pixels of four bytes (red, green, blue, alpha).
bool WritePng(const std::string& path, int width, int height, const Bytes& rgba);
Bytes ReadWhole(const std::string& path);

// The picture that djpeg, libjpeg's own decoder, makes of a JPEG file: rows
// of width x 3 bytes, top row first. False when djpeg fails or is missing.
bool Djpeg(const std::string& path, int& width, int& height, Bytes& topRowFirst);

// Where the coded data of a JPEG's scan number `scan` (from 0) begins, right
// after its header, and where it ends, at the first marker after it other
// than a restart; the size of the bytes when there is no such scan.
size_t JpegScanData(const Bytes& jpeg, int scan);
size_t JpegScanDataEnd(const Bytes& jpeg, int scan);
// The number of scans in a JPEG.
int JpegScanCount(const Bytes& jpeg);
// Where the first marker at or after `from` stands, restarts included; the
// size of the bytes when there is none.
size_t JpegNextMarker(const Bytes& jpeg, size_t from);
