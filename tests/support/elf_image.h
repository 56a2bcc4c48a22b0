// A shared library's bytes read and reshaped as the loader tests need: the
// headers are read as this machine's own.
#pragma once

#include <link.h>

#include <string>
#include <vector>

// The ELF header and the program headers; zeros and none when the image is
// too short to hold them.
ElfW(Ehdr) ElfHeader(const std::string& image);
std::vector<ElfW(Phdr)> ProgramHeaders(const std::string& image);

// The image as sstrip leaves it: no section header table, and nothing after
// the end of the last segment's file contents.
std::string WithoutSectionHeaders(const std::string& image);
