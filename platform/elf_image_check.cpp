#include "elf_image_check.h"

#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

// The ELF header of the program this code is linked into, as the linker
// names it: its class, data encoding and machine are this program's own.
extern "C" const ElfW(Ehdr) __ehdr_start;

namespace {

// Whether length bytes from offset lie within the first size bytes; no sum
// is formed, so a crafted offset cannot wrap round into range.
bool Within(uint64_t offset, uint64_t length, uint64_t size)
{
    return length <= size && offset <= size - length;
}

bool ReadAt(int fd, uint64_t offset, void* to, size_t length)
{
    char* at = static_cast<char*>(to);
    while (length > 0) {
        const ssize_t n = pread(fd, at, length, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        offset += static_cast<uint64_t>(n);
        length -= static_cast<size_t>(n);
    }
    return true;
}

bool ForThisMachine(const ElfW(Ehdr)& header)
{
    return memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
           header.e_ident[EI_CLASS] == __ehdr_start.e_ident[EI_CLASS] &&
           header.e_ident[EI_DATA] == __ehdr_start.e_ident[EI_DATA] &&
           header.e_machine == __ehdr_start.e_machine;
}

bool HoldsWhatItDeclares(int fd, uint64_t size)
{
    ElfW(Ehdr) header;
    if (!ReadAt(fd, 0, &header, sizeof header) || !ForThisMachine(header))
        return false;
    // Plugins are shared objects. A position-independent executable is one
    // too by its type; dlopen refuses it itself.
    if (header.e_type != ET_DYN)
        return false;
    if (header.e_shoff != 0 &&
        !Within(header.e_shoff, uint64_t(header.e_shnum) * header.e_shentsize, size))
        return false;
    if (header.e_phentsize != sizeof(ElfW(Phdr)) ||
        !Within(header.e_phoff, uint64_t(header.e_phnum) * sizeof(ElfW(Phdr)), size))
        return false;
    for (uint64_t i = 0; i < header.e_phnum; i++) {
        ElfW(Phdr) segment;
        if (!ReadAt(fd, header.e_phoff + i * sizeof segment, &segment, sizeof segment) ||
            !Within(segment.p_offset, segment.p_filesz, size))
            return false;
    }
    return true;
}

}  // namespace

bool IsWholeElfSharedObject(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status;
    const bool whole = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
                       HoldsWhatItDeclares(fd, static_cast<uint64_t>(status.st_size));
    close(fd);
    return whole;
}
