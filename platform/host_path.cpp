#include "host_path.h"

#include <algorithm>

std::string PosixPath(const char* windowsName)
{
    std::string path = windowsName ? windowsName : "";
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
