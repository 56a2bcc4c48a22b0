#include "data_paths.h"

#include <fstream>
#include <sstream>

std::string DataPath(const std::string& name) { return std::string(KELDA_DATA_DIR) + "/" + name; }

std::string KvdMakePath() { return KELDA_KVD_MAKE; }

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
