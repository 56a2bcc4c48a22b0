// Reading what a terminal receives: UTF-8 decoded into code points, and the
// codes a terminal acts on rather than shows.
#pragma once

#include <string>
#include <vector>

// The code points of well-formed UTF-8 (one to three bytes a character, as
// the console writes); false, with what was decoded so far, at the first
// malformed sequence.
bool DecodeUtf8(const std::string& text, std::vector<char32_t>& codes);

// A C0 control, DEL or a C1 control (U+0080 to U+009F), except tab, line
// feed and carriage return.
bool IsTerminalControl(char32_t code);
