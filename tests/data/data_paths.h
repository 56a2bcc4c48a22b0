// Where the committed demo data and the timeline compiler stand.
#pragma once

#include <string>

std::string DataPath(const std::string& name);
std::string KvdMakePath();
// The whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
