#include "host_file.h"

#include <cstdio>

bool ReadWholeFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& contents)
{
    FILE* in = fopen(path.c_str(), "rb");
    if (!in)
        return false;
    bool ok = fseek(in, 0, SEEK_END) == 0;
    long size = ok ? ftell(in) : -1;
    ok = ok && size >= 0 && static_cast<size_t>(size) <= maxSize && fseek(in, 0, SEEK_SET) == 0;
    try {
        if (ok) {
            contents.resize(static_cast<size_t>(size));
            ok = contents.empty() || fread(contents.data(), contents.size(), 1, in) == 1;
        }
    } catch (...) {
        fclose(in);
        throw;
    }
    fclose(in);
    return ok;
}
