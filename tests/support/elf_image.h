// A shared library's bytes, read and reshaped as the tests of the loader and
// of the libraries' symbols need: the headers are read as this machine's own.
#pragma once

#include <link.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Copies a T from offset in the image; false when it would reach past the
// image's end.
template <typename T>
bool ReadAt(const std::string& image, std::uint64_t offset, T& out)
{
    if (offset > image.size() || image.size() - offset < sizeof(T))
        return false;
    memcpy(&out, image.data() + offset, sizeof(T));
    return true;
}

// The ELF header and the program headers; zeros and none when the image is
// too short to hold them.
ElfW(Ehdr) ElfHeader(const std::string& image);
std::vector<ElfW(Phdr)> ProgramHeaders(const std::string& image);

// The image as sstrip leaves it: no section header table, and nothing after
// the end of the last segment's file contents.
std::string WithoutSectionHeaders(const std::string& image);
