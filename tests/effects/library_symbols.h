// Reaches the functions and variables of a loaded plugin library that it does
// not export. A plugin library exports NewPlugin alone and keeps everything
// else hidden, but its file still carries the full ELF symbol table: reading
// that table and adding the load address of the mapped library gives the
// address of the code that was loaded, without a second copy of it and
// without widening the library's interface.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class LibrarySymbols {
public:
    // Reads the symbol table of file, the library as built, for the copy of
    // it mapped at the address inLibrary points into. A copy of the file
    // loaded under another name maps the same layout.
    LibrarySymbols(const std::string& file, const void* inLibrary);

    // Empty when the table was read; otherwise what went wrong.
    const std::string& Error() const { return error_; }

    // The loaded address of the function or variable of that demangled name
    // ("DrawBandFigure()", "Vector3::Normalise()", "g_voxelGrid"); null when
    // there is none, or more than one at different addresses.
    void* Address(const std::string& name) const;

    // A variable as a pointer to T.
    template <typename T>
    T* Variable(const std::string& name) const
    {
        return static_cast<T*>(Address(name));
    }

    // A function as a pointer of type F. A non-static member function is
    // called as a plain function with the object's address as its first
    // argument, as the platform's C++ calling convention passes it.
    template <typename F>
    F Function(const std::string& name) const
    {
        return reinterpret_cast<F>(Address(name));
    }

private:
    std::string error_;
    std::uintptr_t base_ = 0;
    std::multimap<std::string, std::uintptr_t> symbols_;  // demangled name, link value
};
