#include "texture_files.h"

#include <IL/il.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

TempDir::TempDir()
{
    char name[] = "/tmp/kelda_tex_XXXXXX";
    if (mkdtemp(name))
        path_ = name;
}

TempDir::~TempDir()
{
    if (!path_.empty()) {
        std::string command = "rm -rf '" + path_ + "'";
        int status = system(command.c_str());
        (void)status;
    }
}

std::string TempDir::Write(const std::string& leaf, const Bytes& bytes) const
{
    std::string path = Path(leaf);
    FILE* out = fopen(path.c_str(), "wb");
    if (out) {
        if (!bytes.empty())
            fwrite(bytes.data(), bytes.size(), 1, out);
        fclose(out);
    }
    return path;
}

std::string WindowsName(const std::string& path)
{
    std::string name = path;
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

void PutWord(Bytes& bytes, size_t at, uint16_t value)
{
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutDword(Bytes& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

size_t BmpStride(int32_t width, int bits)
{
    return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

Bytes MakeBmp(const BmpLayout& layout)
{
    size_t paletteEntries = layout.bits <= 8 ? (1u << layout.bits) : 0;
    size_t offBits = 14 + 40 + paletteEntries * 4;
    size_t stride = BmpStride(layout.width, layout.bits);
    size_t total = offBits + stride * layout.rows.size();

    Bytes bytes(total, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutDword(bytes, kBfSize, static_cast<uint32_t>(total));
    PutDword(bytes, kBfOffBits, static_cast<uint32_t>(offBits));
    PutDword(bytes, kBiSize, 40);
    PutDword(bytes, kBiWidth, static_cast<uint32_t>(layout.width));
    PutDword(bytes, kBiHeight, static_cast<uint32_t>(layout.topDown ? -layout.height : layout.height));
    PutWord(bytes, kBiPlanes, 1);
    PutWord(bytes, kBiBitCount, layout.bits);
    PutDword(bytes, kBiSizeImage, static_cast<uint32_t>(stride * layout.rows.size()));
    for (size_t i = 0; i < paletteEntries; i++) {
        uint8_t grey = static_cast<uint8_t>(i * 255 / (paletteEntries - 1));
        size_t at = 54 + i * 4;
        bytes[at] = bytes[at + 1] = bytes[at + 2] = grey;
    }
    for (size_t row = 0; row < layout.rows.size(); row++)
        std::copy(layout.rows[row].begin(), layout.rows[row].end(), bytes.begin() + offBits + row * stride);
    return bytes;
}

bool WriteJpeg(const std::string& path, int width, int height, int channels, const Bytes& topRowFirst)
{
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ILenum format = channels == 1 ? IL_LUMINANCE : IL_RGB;
    bool ok = ilTexImage(width, height, 1, static_cast<ILubyte>(channels), format, IL_UNSIGNED_BYTE,
                         const_cast<uint8_t*>(topRowFirst.data()));
    // Row 0 of the data is the picture's top row.
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    ilEnable(IL_FILE_OVERWRITE);
    ilSetInteger(IL_JPG_QUALITY, 99);
    ok = ok && ilSave(IL_JPG, const_cast<char*>(path.c_str()));
    ilDeleteImages(1, &image);
    return ok;
}

bool WritePng(const std::string& path, int width, int height, const Bytes& rgba)
{
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool ok = ilTexImage(width, height, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, const_cast<uint8_t*>(rgba.data()));
    ilEnable(IL_FILE_OVERWRITE);
    ok = ok && ilSave(IL_PNG, const_cast<char*>(path.c_str()));
    ilDeleteImages(1, &image);
    return ok;
}

Bytes ReadWhole(const std::string& path)
{
    Bytes bytes;
    FILE* in = fopen(path.c_str(), "rb");
    if (!in)
        return bytes;
    int c;
    while ((c = fgetc(in)) != EOF)
        bytes.push_back(static_cast<uint8_t>(c));
    fclose(in);
    return bytes;
}

bool Djpeg(const std::string& path, int& width, int& height, Bytes& topRowFirst)
{
    std::string command = "djpeg '" + path + "' 2>/dev/null";
    FILE* out = popen(command.c_str(), "r");
    if (!out)
        return false;
    int maximum = 0;
    bool ok = fscanf(out, "P6 %d %d %d", &width, &height, &maximum) == 3 && maximum == 255 && fgetc(out) == '\n';
    if (ok) {
        topRowFirst.resize(static_cast<size_t>(width) * height * 3);
        ok = fread(topRowFirst.data(), 1, topRowFirst.size(), out) == topRowFirst.size();
    }
    return pclose(out) == 0 && ok;
}

size_t JpegNextMarker(const Bytes& jpeg, size_t from)
{
    for (size_t at = from; at + 1 < jpeg.size(); at++)
        if (jpeg[at] == 0xFF && jpeg[at + 1] != 0x00 && jpeg[at + 1] != 0xFF)
            return at;
    return jpeg.size();
}

namespace {

// The first marker at or after from that is not a restart: the end of the
// coded data that from stands in.
size_t CodedDataEnd(const Bytes& jpeg, size_t from)
{
    size_t at = JpegNextMarker(jpeg, from);
    while (at + 1 < jpeg.size() && jpeg[at + 1] >= 0xD0 && jpeg[at + 1] <= 0xD7)
        at = JpegNextMarker(jpeg, at + 2);
    return at;
}

// Walks the segments of a JPEG without fill bytes, as encoders write them,
// handing the start of each scan's coded data in turn to stop(), until it
// says true; returns that start, or the size of the bytes.
template <typename Stop>
size_t FindScan(const Bytes& jpeg, Stop stop)
{
    size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xD9) {
        const bool scan = jpeg[at + 1] == 0xDA;
        at += 2 + (size_t(jpeg[at + 2]) << 8 | jpeg[at + 3]);
        if (!scan)
            continue;
        if (stop(at))
            return at;
        at = CodedDataEnd(jpeg, at);
    }
    return jpeg.size();
}

}  // namespace

size_t JpegScanData(const Bytes& jpeg, int scan)
{
    int n = 0;
    return FindScan(jpeg, [&](size_t) { return n++ == scan; });
}

size_t JpegScanDataEnd(const Bytes& jpeg, int scan)
{
    return CodedDataEnd(jpeg, JpegScanData(jpeg, scan));
}

int JpegScanCount(const Bytes& jpeg)
{
    int n = 0;
    FindScan(jpeg, [&](size_t) {
        n++;
        return false;
    });
    return n;
}
