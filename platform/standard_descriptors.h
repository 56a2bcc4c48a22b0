// The three standard descriptors, made safe to use before anything opens a
// file.
#pragma once

// Opens /dev/null on each of standard input, output and error that is
// closed. Otherwise the first file the program opens would take the closed
// number, and the log written to standard output would land in it.
void PlatformOpenStandardDescriptors();
