#include "kvd_timeline.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Field offsets of the record.
constexpr size_t kNameOffset = 1;
constexpr size_t kStartOffset = 516;
constexpr size_t kEndOffset = 520;
constexpr size_t kLayerOffset = 524;
constexpr size_t kIdOffset = 536;
constexpr size_t kValueOffset = 540;
constexpr size_t kClearDepthOffset = 544;
constexpr size_t kClearColorOffset = 545;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string Trim(const std::string& s)
{
    size_t begin = 0;
    size_t end = s.size();
    while (begin < end && IsBlank(s[begin]))
        begin++;
    while (end > begin && IsBlank(s[end - 1]))
        end--;
    return s.substr(begin, end - begin);
}

// Splits off the next blank-separated word of line from pos on.
bool NextWord(const std::string& line, size_t& pos, std::string& word)
{
    while (pos < line.size() && IsBlank(line[pos]))
        pos++;
    size_t begin = pos;
    while (pos < line.size() && !IsBlank(line[pos]))
        pos++;
    word = line.substr(begin, pos - begin);
    return !word.empty();
}

bool ParseInt32(const std::string& word, int32_t& out)
{
    size_t i = 0;
    if (i < word.size() && (word[i] == '-' || word[i] == '+'))
        i++;
    if (i == word.size())
        return false;
    for (size_t k = i; k < word.size(); k++) {
        if (word[k] < '0' || word[k] > '9')
            return false;
    }
    errno = 0;
    long long parsed = strtoll(word.c_str(), nullptr, 10);
    if (errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    out = static_cast<int32_t>(parsed);
    return true;
}

void PutInt32(std::string& record, size_t offset, int32_t value)
{
    uint32_t bits = static_cast<uint32_t>(value);
    for (int b = 0; b < 4; b++)
        record[offset + b] = static_cast<char>((bits >> (8 * b)) & 0xFF);
}

}  // namespace

bool ParseKvdTimeline(const std::string& text, std::vector<KvdEvent>& events, std::string& error)
{
    static const char* const kFieldNames[] = {"start", "end", "layer", "id", "value"};

    size_t lineStart = 0;
    int lineNumber = 0;
    while (lineStart < text.size()) {
        size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        lineNumber++;

        auto fail = [&](const std::string& reason) {
            error = std::to_string(lineNumber) + ": " + reason;
            return false;
        };

        std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        if (line.find('\0') != std::string::npos)
            return fail("NUL byte in line");

        KvdEvent event;
        int32_t* numbers[] = {&event.start, &event.end, &event.layer, &event.id, &event.value};
        size_t pos = 0;
        std::string word;
        for (int f = 0; f < 5; f++) {
            if (!NextWord(line, pos, word))
                return fail(std::string("missing field '") + kFieldNames[f] +
                            "' (expected: start end layer id value clear name)");
            if (!ParseInt32(word, *numbers[f]))
                return fail(std::string("field '") + kFieldNames[f] + "' is not a 32-bit integer: '" +
                            word + "'");
        }
        if (!NextWord(line, pos, word))
            return fail("missing field 'clear' (expected: start end layer id value clear name)");
        if (word == "c" || word == "cd")
            event.clearColor = true;
        if (word == "d" || word == "cd")
            event.clearDepth = true;
        if (word != "-" && word != "c" && word != "d" && word != "cd")
            return fail("field 'clear' must be -, c, d or cd, not '" + word + "'");

        event.name = Trim(line.substr(pos));
        if (event.name.empty())
            return fail("missing event name");
        if (event.name.size() > kKvdMaxNameLength)
            return fail("event name is " + std::to_string(event.name.size()) +
                        " bytes long; at most " + std::to_string(kKvdMaxNameLength) + " fit");
        events.push_back(event);
    }
    return true;
}

std::string EncodeKvdRecord(const KvdEvent& event)
{
    std::string record(kKvdRecordSize, '\0');
    size_t length = event.name.size() < kKvdMaxNameLength ? event.name.size() : kKvdMaxNameLength;
    memcpy(&record[kNameOffset], event.name.data(), length);
    PutInt32(record, kStartOffset, event.start);
    PutInt32(record, kEndOffset, event.end);
    PutInt32(record, kLayerOffset, event.layer);
    PutInt32(record, kIdOffset, event.id);
    PutInt32(record, kValueOffset, event.value);
    record[kClearDepthOffset] = event.clearDepth ? 1 : 0;
    record[kClearColorOffset] = event.clearColor ? 1 : 0;
    return record;
}

std::string EncodeKvdFile(const std::vector<KvdEvent>& events)
{
    std::string bytes(4, '\0');
    PutInt32(bytes, 0, static_cast<int32_t>(events.size()));
    for (const KvdEvent& event : events)
        bytes += EncodeKvdRecord(event);
    return bytes;
}

bool WriteKvdBytes(const std::string& path, const std::string& bytes, std::string& error)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot create " + path + ": " + strerror(errno);
        return false;
    }
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = (fclose(file) == 0) && ok;
    if (!ok)
        error = "cannot write " + path + ": " + strerror(errno);
    return ok;
}
