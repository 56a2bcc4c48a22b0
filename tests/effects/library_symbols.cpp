#include "library_symbols.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <elf.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "elf_image.h"

namespace {

std::string Demangled(const char* name)
{
    int status = 0;
    char* readable = abi::__cxa_demangle(name, nullptr, nullptr, &status);
    if (status != 0 || readable == nullptr)
        return name;  // plain C names and variables are not mangled
    std::string out(readable);
    free(readable);
    return out;
}

}  // namespace

LibrarySymbols::LibrarySymbols(const std::string& file, const void* inLibrary)
{
    std::ifstream in(file, std::ios::binary);
    const std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Elf64_Ehdr header;
    if (!ReadAt(image, 0, header) || memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64) {
        error_ = file + " is no 64-bit ELF file";
        return;
    }

    // The mapping starts at the first loadable segment, page-aligned.
    std::uint64_t firstLoad = UINT64_MAX;
    for (unsigned n = 0; n < header.e_phnum; ++n) {
        Elf64_Phdr segment;
        if (!ReadAt(image, header.e_phoff + std::uint64_t(n) * header.e_phentsize, segment))
            break;
        if (segment.p_type == PT_LOAD && segment.p_vaddr < firstLoad)
            firstLoad = segment.p_vaddr & ~(std::uint64_t(segment.p_align) - 1);
    }
    Dl_info info;
    if (firstLoad == UINT64_MAX || dladdr(inLibrary, &info) == 0 || info.dli_fbase == nullptr) {
        error_ = "the address lies in no loaded library";
        return;
    }
    base_ = reinterpret_cast<std::uintptr_t>(info.dli_fbase) - firstLoad;

    for (unsigned n = 0; n < header.e_shnum; ++n) {
        Elf64_Shdr table, strings;
        if (!ReadAt(image, header.e_shoff + std::uint64_t(n) * header.e_shentsize, table) ||
            table.sh_type != SHT_SYMTAB || table.sh_entsize != sizeof(Elf64_Sym))
            continue;
        if (!ReadAt(image, header.e_shoff + std::uint64_t(table.sh_link) * header.e_shentsize,
                    strings) ||
            strings.sh_offset > image.size() || image.size() - strings.sh_offset < strings.sh_size)
            break;
        for (std::uint64_t at = 0; at + sizeof(Elf64_Sym) <= table.sh_size; at += sizeof(Elf64_Sym)) {
            Elf64_Sym symbol;
            if (!ReadAt(image, table.sh_offset + at, symbol))
                break;
            const int type = ELF64_ST_TYPE(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (type != STT_FUNC && type != STT_OBJECT) ||
                symbol.st_name >= strings.sh_size)
                continue;
            const char* name = image.c_str() + strings.sh_offset + symbol.st_name;
            symbols_.emplace(Demangled(name), symbol.st_value);
        }
    }
    if (symbols_.empty())
        error_ = file + " carries no symbol table (stripped?)";
}

void* LibrarySymbols::Address(const std::string& name) const
{
    const auto range = symbols_.equal_range(name);
    if (range.first == range.second)
        return nullptr;
    for (auto it = range.first; it != range.second; ++it)
        if (it->second != range.first->second)
            return nullptr;
    return reinterpret_cast<void*>(base_ + range.first->second);
}
