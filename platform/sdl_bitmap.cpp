// Bitmap files as DIB sections, on SDL's BMP parser. The header is checked
// here first against the bytes the file really holds, so SDL only ever sees
// a file whose sizes, offsets and depths are consistent; its surface (top row
// first) is then turned into the bottom-up, 4-byte-padded rows of a DIB.
#include "win_gdi.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "host_file.h"
#include "host_path.h"

namespace {

struct DibSection {
    BITMAP info;
    std::vector<uint8_t> bits;
};

std::mutex g_lock;
std::set<DibSection*> g_sections;

const size_t kFileHeaderSize = 14;
const size_t kMaxFileSize = 512u << 20;
const uint64_t kMaxPixelBytes = 256u << 20;
const LONG kMaxSide = 32768;

enum Compression { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

uint16_t Word(const std::vector<uint8_t>& data, size_t at)
{
    return static_cast<uint16_t>(data[at] | (data[at + 1] << 8));
}

uint32_t Dword(const std::vector<uint8_t>& data, size_t at)
{
    return static_cast<uint32_t>(data[at]) | (static_cast<uint32_t>(data[at + 1]) << 8) |
           (static_cast<uint32_t>(data[at + 2]) << 16) | (static_cast<uint32_t>(data[at + 3]) << 24);
}

size_t Stride(LONG width, int bits)
{
    return ((static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32) * 4;
}

struct Header {
    LONG width;
    LONG height;  // as drawn: always positive
    int bits;
};

// Null when the header describes the file; otherwise why it does not.
const char* CheckHeader(const std::vector<uint8_t>& data, Header& header)
{
    if (data.size() < kFileHeaderSize + 12)
        return "file too short for a bitmap header";
    if (data[0] != 'B' || data[1] != 'M')
        return "not a bitmap file";

    uint32_t fileSize = Dword(data, 2);
    uint32_t offBits = Dword(data, 10);
    uint32_t infoSize = Dword(data, 14);
    if (fileSize != 0 && fileSize > data.size())
        return "file shorter than its header says";

    bool core = infoSize == 12;
    if (!core && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return "unknown bitmap header size";
    if (kFileHeaderSize + infoSize > data.size())
        return "bitmap header runs past the end of the file";

    int64_t width, height;
    int planes, bits;
    uint32_t compression = kRgb, colorsUsed = 0, imageSize = 0;
    if (core) {
        width = Word(data, 18);
        height = static_cast<int16_t>(Word(data, 20));
        planes = Word(data, 22);
        bits = Word(data, 24);
    } else {
        width = static_cast<int32_t>(Dword(data, 18));
        height = static_cast<int32_t>(Dword(data, 22));
        planes = Word(data, 26);
        bits = Word(data, 28);
        compression = Dword(data, 30);
        imageSize = Dword(data, 34);
        colorsUsed = Dword(data, 46);
    }

    bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return "bad picture size";
    if (planes != 1)
        return "bad plane count";
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return "unsupported bit count";

    bool rle = compression == kRle8 || compression == kRle4;
    if (compression == kRle8 && bits != 8)
        return "RLE8 needs 8 bits per pixel";
    if (compression == kRle4 && bits != 4)
        return "RLE4 needs 4 bits per pixel";
    if (compression == kBitfields && bits != 16 && bits != 32)
        return "bit fields need 16 or 32 bits per pixel";
    if (compression > kBitfields)
        return "unsupported compression";
    if (rle && topDown)
        return "compressed bitmaps cannot be top-down";

    // What lies between the headers and the pixels: masks, then the palette.
    uint64_t tables = 0;
    if (compression == kBitfields && infoSize == 40)
        tables += 12;
    if (bits <= 8) {
        uint64_t colors = colorsUsed ? colorsUsed : (1u << bits);
        if (colors > (1u << bits))
            return "palette larger than the bit count allows";
        tables += colors * (core ? 3 : 4);
    }
    if (offBits < kFileHeaderSize + infoSize + tables)
        return "pixel offset points into the headers";
    if (offBits >= data.size())
        return "pixel offset past the end of the file";

    uint64_t available = data.size() - offBits;
    if (rle) {
        if (imageSize > available)
            return "compressed pixels run past the end of the file";
    } else {
        uint64_t needed = static_cast<uint64_t>(Stride(static_cast<LONG>(width), bits)) *
                          static_cast<uint64_t>(height);
        if (needed > available)
            return "pixel rows run past the end of the file";
    }
    if (static_cast<uint64_t>(Stride(static_cast<LONG>(width), bits)) * static_cast<uint64_t>(height) >
        kMaxPixelBytes)
        return "picture too large";

    header.width = static_cast<LONG>(width);
    header.height = static_cast<LONG>(height);
    header.bits = bits;
    return nullptr;
}

// One row of the DIB from one row of the surface, at the file's depth.
void PackRow(const uint8_t* source, uint8_t* target, LONG width, int bits)
{
    switch (bits) {
    case 1:
        for (LONG x = 0; x < width; x++)
            if (source[x] & 1)
                target[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        break;
    case 4:
        for (LONG x = 0; x < width; x++)
            target[x / 2] |= static_cast<uint8_t>((source[x] & 0x0F) << (x % 2 ? 0 : 4));
        break;
    default:
        memcpy(target, source, static_cast<size_t>(width) * static_cast<size_t>(bits / 8));
        break;
    }
}

void Refuse(const char* name, const char* reason)
{
    fprintf(stderr, "LoadImageA: \"%s\" refused: %s\n", name, reason);
}

// The surface in the layout the DIB's rows take their bytes from: palette
// indices up to 8 bits, the file's own 16-bit values, blue-green-red bytes
// for 24 bits and blue-green-red-x for 32.
SDL_Surface* SurfaceForDepth(SDL_Surface* surface, int bits)
{
    Uint32 format;
    switch (bits) {
    case 24:
        format = SDL_PIXELFORMAT_BGR24;
        break;
    case 32:
        format = SDL_PIXELFORMAT_ARGB8888;
        break;
    default:
        if (surface->format->BytesPerPixel != (bits <= 8 ? 1 : 2))
            return nullptr;
        return surface;
    }
    if (surface->format->format == format)
        return surface;
    return SDL_ConvertSurfaceFormat(surface, format, 0);
}

// The file's DIB section, or null; reason says why not. Throws bad_alloc
// when memory runs out, with nothing held.
DibSection* LoadDibSection(LPCSTR name, const char*& reason)
{
    std::vector<uint8_t> data;
    if (!ReadWholeFile(PosixPath(name), kMaxFileSize, data)) {
        reason = "cannot read the file";
        return nullptr;
    }
    Header header;
    if ((reason = CheckHeader(data, header)))
        return nullptr;

    // Taken before SDL's surfaces, so that running out of memory here leaves
    // none of them behind.
    std::unique_ptr<DibSection> section(new DibSection());
    size_t stride = Stride(header.width, header.bits);
    section->bits.assign(stride * static_cast<size_t>(header.height), 0);

    SDL_RWops* stream = SDL_RWFromConstMem(data.data(), static_cast<int>(data.size()));
    SDL_Surface* surface = stream ? SDL_LoadBMP_RW(stream, 1) : nullptr;
    if (!surface) {
        reason = SDL_GetError();
        return nullptr;
    }
    SDL_Surface* source = SurfaceForDepth(surface, header.bits);
    if (!source || source->w != header.width || source->h != header.height) {
        reason = "the decoded picture does not match its header";
        if (source && source != surface)
            SDL_FreeSurface(source);
        SDL_FreeSurface(surface);
        return nullptr;
    }

    SDL_LockSurface(source);
    for (LONG row = 0; row < header.height; row++) {
        // The DIB's first row is the picture's bottom row.
        const uint8_t* from = static_cast<const uint8_t*>(source->pixels) +
                              static_cast<size_t>(header.height - 1 - row) * static_cast<size_t>(source->pitch);
        PackRow(from, section->bits.data() + static_cast<size_t>(row) * stride, header.width, header.bits);
    }
    SDL_UnlockSurface(source);
    if (source != surface)
        SDL_FreeSurface(source);
    SDL_FreeSurface(surface);

    section->info.bmType = 0;
    section->info.bmWidth = header.width;
    section->info.bmHeight = header.height;
    section->info.bmWidthBytes = static_cast<LONG>(stride);
    section->info.bmPlanes = 1;
    section->info.bmBitsPixel = static_cast<WORD>(header.bits);
    section->info.bmBits = section->bits.data();

    std::lock_guard<std::mutex> hold(g_lock);
    g_sections.insert(section.get());
    return section.release();
}

}  // namespace

HANDLE LoadImageA(HINSTANCE /*instance*/, LPCSTR name, UINT type, int width, int height, UINT flags)
{
    if (!name || type != IMAGE_BITMAP || width != 0 || height != 0 ||
        (flags & (LR_LOADFROMFILE | LR_CREATEDIBSECTION)) != (LR_LOADFROMFILE | LR_CREATEDIBSECTION))
        return nullptr;

    // A file that needs more memory than there is fails like any other.
    const char* reason = nullptr;
    DibSection* section = nullptr;
    try {
        section = LoadDibSection(name, reason);
    } catch (const std::bad_alloc&) {
        reason = "out of memory";
    }
    if (!section)
        Refuse(name, reason);
    return section;
}

int GetObjectA(HANDLE object, int size, LPVOID buffer)
{
    std::lock_guard<std::mutex> hold(g_lock);
    auto found = g_sections.find(static_cast<DibSection*>(object));
    if (found == g_sections.end())
        return 0;
    if (!buffer)
        return static_cast<int>(sizeof(BITMAP));
    if (size < static_cast<int>(sizeof(BITMAP)))
        return 0;
    memcpy(buffer, &(*found)->info, sizeof(BITMAP));
    return static_cast<int>(sizeof(BITMAP));
}

BOOL DeleteObject(HGDIOBJ object)
{
    std::lock_guard<std::mutex> hold(g_lock);
    auto found = g_sections.find(static_cast<DibSection*>(object));
    if (found == g_sections.end())
        return FALSE;
    delete *found;
    g_sections.erase(found);
    return TRUE;
}
