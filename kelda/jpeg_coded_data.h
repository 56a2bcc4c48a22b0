// A decode of a JPEG's scans by libjpeg, the decoder under DevIL, only to learn
// whether their coded data is whole.
#pragma once

#include <cstddef>
#include <cstdint>

// Whether libjpeg reads the whole image from the bytes without running out
// of coded data before a scan is complete. DevIL does not tell: where the
// data stops at a marker, libjpeg fills the rest of the picture with grey,
// warns, and DevIL takes the picture as decoded. An arithmetic-coded image
// never passes: there libjpeg reads zeros on at a marker without a warning,
// as that coding allows, so a cut cannot be told from a whole image.
bool JpegCodedDataWhole(const uint8_t* data, size_t size);
