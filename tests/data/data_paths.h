// Where the committed demo data and the timeline compiler stand.
#pragma once

#include <string>

std::string DataPath(const std::string& name);
std::string KvdMakePath();
