// A file's bytes as a string, for tests that compare or parse what a tool
// or the player wrote.
#pragma once

#include <string>

// The whole file; empty when it cannot be read.
std::string FileContents(const std::string& path);
