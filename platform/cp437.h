// Code page 437, the console's character set, as UTF-8. Internal to the
// platform layer.
#pragma once

#include <string>

// Appends the UTF-8 form of one code page 437 byte. Tab, line feed and
// carriage return stay as they are; every other control code, 0x7F included,
// becomes the glyph a code page 437 screen shows for it.
void AppendCp437AsUtf8(unsigned char byte, std::string& out);
