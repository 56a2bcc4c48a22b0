#include "file_contents.h"

#include <fstream>
#include <sstream>

std::string FileContents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
