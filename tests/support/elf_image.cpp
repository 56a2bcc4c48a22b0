#include "elf_image.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

ElfW(Ehdr) ElfHeader(const std::string& image)
{
    ElfW(Ehdr) header;
    if (!ReadAt(image, 0, header))
        memset(&header, 0, sizeof header);
    return header;
}

std::vector<ElfW(Phdr)> ProgramHeaders(const std::string& image)
{
    const ElfW(Ehdr) header = ElfHeader(image);
    std::vector<ElfW(Phdr)> segments(header.e_phnum);
    for (size_t i = 0; i < segments.size(); i++)
        if (!ReadAt(image, header.e_phoff + i * sizeof(ElfW(Phdr)), segments[i]))
            return {};
    return segments;
}

std::string WithoutSectionHeaders(const std::string& image)
{
    ElfW(Ehdr) header = ElfHeader(image);
    uint64_t end = header.e_phoff + uint64_t(header.e_phnum) * sizeof(ElfW(Phdr));
    for (const ElfW(Phdr)& segment : ProgramHeaders(image))
        end = std::max<uint64_t>(end, segment.p_offset + segment.p_filesz);
    header.e_shoff = 0;
    header.e_shnum = 0;
    header.e_shstrndx = SHN_UNDEF;
    std::string stripped = image.substr(0, std::min<uint64_t>(end, image.size()));
    if (stripped.size() >= sizeof header)
        memcpy(&stripped[0], &header, sizeof header);
    return stripped;
}
