// Windows-style relative file names ("data\\mellot.mp3", "data//kimbel.jpg")
// as POSIX paths: backslashes become slashes. Used wherever such a name
// reaches fopen, a decoder or the loader.
#pragma once

#include <string>

std::string PosixPath(const char* windowsName);
