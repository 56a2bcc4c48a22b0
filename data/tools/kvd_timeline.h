// The text form of a demo script and its conversion to a kelda.kvd file.
//
// One event a line: start_ms end_ms layer id value clear name
// where clear is "-", "c" (colour), "d" (depth) or "cd" (both) and the name
// is the rest of the line, trimmed. Blank lines and lines whose first
// non-blank character is '#' are ignored.
//
// The file is written field by field in little-endian order at the record's
// offsets, so it does not depend on the player's in-memory record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct KvdEvent {
    int32_t start = 0;
    int32_t end = 0;
    int32_t layer = 0;
    int32_t id = 0;
    int32_t value = 0;
    bool clearColor = false;
    bool clearDepth = false;
    std::string name;
};

constexpr size_t kKvdRecordSize = 548;
constexpr size_t kKvdNameSize = 515;      // field size, NUL included
constexpr size_t kKvdMaxNameLength = 514;

// Parses a whole timeline. On the first malformed line returns false and sets
// error to "<line>: <reason>"; events then holds the lines before it.
bool ParseKvdTimeline(const std::string& text, std::vector<KvdEvent>& events, std::string& error);

// One 548-byte record; reserved bytes and target are 0. The name must be at
// most kKvdMaxNameLength bytes (longer names are cut there).
std::string EncodeKvdRecord(const KvdEvent& event);

// The whole file: the count, then the records.
std::string EncodeKvdFile(const std::vector<KvdEvent>& events);

// Writes bytes to path; false with error set when the file cannot be written.
bool WriteKvdBytes(const std::string& path, const std::string& bytes, std::string& error);
