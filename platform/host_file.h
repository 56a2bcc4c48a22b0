// Whole files in memory, for loaders that check a file's bytes before a
// library decodes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads the file at path into contents; false when it cannot be opened or
// read, or holds more than maxSize bytes. Throws bad_alloc when memory runs
// out.
bool ReadWholeFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& contents);
