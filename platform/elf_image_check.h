// Whether a shared library file holds what its headers declare, before it
// goes to dlopen: dlopen maps each segment at the length its program header
// gives, and touching a mapped page that lies past the end of a file cut
// short kills the process with SIGBUS.
#pragma once

#include <string>

// True when the file at path is an ELF shared object of this program's
// class, data encoding and machine whose program header table, section
// header table (when it has one; sstrip leaves none) and every segment's
// file contents lie within the file.
bool IsWholeElfSharedObject(const std::string& path);
