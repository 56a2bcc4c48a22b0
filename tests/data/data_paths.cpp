#include "data_paths.h"

std::string DataPath(const std::string& name) { return std::string(KELDA_DATA_DIR) + "/" + name; }

std::string KvdMakePath() { return KELDA_KVD_MAKE; }
