// The script tool: text timeline to kelda.kvd, checked against the player's
// own record layout and through the kvd_make binary.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sys/wait.h>

#include "file_contents.h"
#include "kvd_timeline.h"
#include "script_event.h"
#include "script_folder.h"

namespace {

TEST(KvdTimeline, RecordsMatchThePlayersLayout)
{
    const char* timeline =
        "# comment lines and blank lines are ignored\n"
        "\n"
        "   # an indented comment\n"
        "0      90000  0  0 0 cd  clear buffer\n"
        "1000   5000   1  0 0 -   Interference Plugin  \n"
        "-20 2147483647 9 -2147483648 -7 c\tTRIGGER\r\n"
        "5 6 2 1 3 d name # with a hash";
    std::vector<KvdEvent> events;
    std::string error;
    ASSERT_TRUE(ParseKvdTimeline(timeline, events, error)) << error;

    std::string bytes = EncodeKvdFile(events);
    ASSERT_EQ(bytes.size(), 4 + 4 * sizeof(ScriptEvent));
    int32_t count;
    memcpy(&count, bytes.data(), 4);
    EXPECT_EQ(count, 4);

    struct Expected {
        const char* name;
        int32_t start, end, layer, id, value;
        uint8_t clearDepth, clearColor;
    } expected[] = {
        {"clear buffer", 0, 90000, 0, 0, 0, 1, 1},
        {"Interference Plugin", 1000, 5000, 1, 0, 0, 0, 0},
        {"TRIGGER", -20, 2147483647, 9, INT32_MIN, -7, 0, 1},
        {"name # with a hash", 5, 6, 2, 1, 3, 1, 0},
    };
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        const char* raw = bytes.data() + 4 + i * sizeof(ScriptEvent);
        ScriptEvent event;
        memcpy(&event, raw, sizeof event);
        EXPECT_STREQ(event.name, expected[i].name);
        EXPECT_EQ(event.start, expected[i].start);
        EXPECT_EQ(event.end, expected[i].end);
        EXPECT_EQ(event.layer, expected[i].layer);
        EXPECT_EQ(event.id, expected[i].id);
        EXPECT_EQ(event.value, expected[i].value);
        EXPECT_EQ(event.clearDepth, expected[i].clearDepth);
        EXPECT_EQ(event.clearColor, expected[i].clearColor);
        // Reserved bytes, target and the name's tail are all zero.
        EXPECT_EQ(event.reserved0, 0);
        EXPECT_EQ(event.reserved1, 0);
        EXPECT_EQ(event.target, 0);
        EXPECT_EQ(event.reserved2[0] | event.reserved2[1], 0);
        size_t length = strlen(expected[i].name);
        EXPECT_EQ(std::string(event.name + length, sizeof event.name - length),
                  std::string(sizeof event.name - length, '\0'));
    }
}

TEST(KvdTimeline, LongestNameFitsWithItsNul)
{
    std::string name(kKvdMaxNameLength, 'n');
    std::vector<KvdEvent> events;
    std::string error;
    ASSERT_TRUE(ParseKvdTimeline("0 1 0 0 0 - " + name + "\n", events, error)) << error;
    std::string record = EncodeKvdRecord(events.at(0));
    EXPECT_EQ(record.substr(1, kKvdMaxNameLength), name);
    EXPECT_EQ(record[1 + kKvdMaxNameLength], '\0');
}

TEST(KvdTimeline, MalformedLinesNameTheirLine)
{
    struct Case {
        std::string line;
        const char* reason;  // part of the message
    } cases[] = {
        {"0 1 0 0", "missing field 'value'"},
        {"0 1 0 0 0", "missing field 'clear'"},
        {"0 1 0 0 0 -", "missing event name"},
        {"0 1 0 0 0 -    \t", "missing event name"},
        {"0 1 0 0 0 x name", "field 'clear' must be -, c, d or cd, not 'x'"},
        {"0 1 0 0 0 dc name", "field 'clear' must be -, c, d or cd, not 'dc'"},
        {"zero 1 0 0 0 - name", "field 'start' is not a 32-bit integer: 'zero'"},
        {"0 1.5 0 0 0 - name", "field 'end' is not a 32-bit integer"},
        {"0 1 0x2 0 0 - name", "field 'layer' is not a 32-bit integer"},
        {"0 1 0 2147483648 0 - name", "field 'id' is not a 32-bit integer"},
        {"0 1 0 0 -2147483649 - name", "field 'value' is not a 32-bit integer"},
        {"0 1 0 0 - - name", "field 'value' is not a 32-bit integer: '-'"},
        {"0 1 0 0 0 - " + std::string(kKvdMaxNameLength + 1, 'n'), "515 bytes long; at most 514 fit"},
        {std::string("0 1 0 0 0 - na\0me", 17), "NUL byte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<KvdEvent> events;
        std::string error;
        // One good line and a comment before, so the number is the file's.
        EXPECT_FALSE(ParseKvdTimeline("0 1 0 0 0 - fine\n# note\n" + c.line + "\n0 1 0 0 0 - after\n",
                                      events, error));
        EXPECT_EQ(error.rfind("3: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

struct ToolRun {
    int status;
    std::string output;  // stdout and stderr
};

ToolRun RunTool(const std::string& arguments)
{
    std::string command = std::string(KVD_MAKE) + " " + arguments + " 2>&1";
    ToolRun run{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[512];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, got);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(KvdMake, WritesTheFileOfItsTimeline)
{
    ScriptFolder folder;
    const std::string timeline = "# start end layer id value clear name\n"
                                 "0      90000  0  0 0 cd  clear buffer\n"
                                 "2000   2100   2  1 3 -   TRIGGER\n";
    std::ofstream(folder.path() + "/timeline.txt") << timeline;

    ToolRun run = RunTool("timeline.txt out.kvd");
    EXPECT_EQ(run.status, 0) << run.output;

    std::vector<KvdEvent> events;
    std::string error;
    ASSERT_TRUE(ParseKvdTimeline(timeline, events, error));
    EXPECT_EQ(FileContents(folder.path() + "/out.kvd"), EncodeKvdFile(events));
}

TEST(KvdMake, RefusesBadInputWithoutWriting)
{
    ScriptFolder folder;
    std::ofstream(folder.path() + "/bad.txt") << "0 1 0 0 0 - good\n\n0 1 0 0 0 q bad\n";

    struct Case {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"bad.txt out.kvd", "kvd_make: bad.txt:3: field 'clear' must be"},
        {"missing.txt out.kvd", "kvd_make: cannot open missing.txt"},
        {"bad.txt", "usage: kvd_make <timeline.txt> <out.kvd>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ToolRun run = RunTool(c.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        EXPECT_FALSE(std::ifstream(folder.path() + "/out.kvd").good());
    }
}

}  // namespace
