// The demo script loader, on script files written by the script tool and
// recorder plugins loaded through the plugin host.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "demo_script.h"
#include "kvd_timeline.h"
#include "player_globals.h"
#include "script_event.h"
#include "script_folder.h"
#include "stdout_capture.h"

namespace {

constexpr size_t kRecord = sizeof(ScriptEvent);

std::string Encode(const std::string& timeline)
{
    std::vector<KvdEvent> events;
    std::string error;
    EXPECT_TRUE(ParseKvdTimeline(timeline, events, error)) << error;
    return EncodeKvdFile(events);
}

void PutInt32(std::string& bytes, size_t offset, int32_t value)
{
    memcpy(&bytes[offset], &value, 4);
}

size_t RecordOffset(size_t index) { return 4 + index * kRecord; }

std::vector<std::string> LoadedNames()
{
    std::vector<std::string> names;
    for (const ScriptEvent* event : g_scriptEvents)
        names.push_back(event->name);
    return names;
}

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        count++;
    return count;
}

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearScriptEvents();
        g_host = &plugins_.host;
    }
    void TearDown() override
    {
        ClearScriptEvents();
        g_host = nullptr;
    }

    // Loads the script in the folder, returning the log it wrote.
    std::string Load()
    {
        StdoutCapture capture;
        LoadDemoScript();
        return capture.Finish();
    }

    RecorderHost plugins_;
    ScriptFolder folder_;
};

TEST_F(LoaderTest, ResolvesNamesToPluginsAndCommands)
{
    plugins_.Load("recorder_a.DLL");     // 0 "Recorder A"
    plugins_.Load("recorder_b.DLL");     // 1 "Recorder B"
    plugins_.Load("recorder_twin.DLL");  // 2 "Recorder A" again
    plugins_.Load("recorder_word.DLL");  // 3 "clear buffer"
    plugins_.Load("recorder_caps.DLL");  // 4 "Trigger"
    ASSERT_EQ(plugins_.host.plugins.size(), 5u);

    struct Expected {
        const char* name;
        int32_t target;
    } expected[] = {
        {"Recorder B", 1},
        {"Recorder A", 0},  // the first of two equal names
        {"clear buffer", CmdClearBuffer},  // the command beats plugin 3
        {"Trigger", 4},                    // other letter case: a plugin name
        {"rtt start", CmdRttStart},
        {"rtt end", CmdRttEnd},
        {"TRIGGER", CmdTrigger},
        {"send param", CmdSendParam},
        {"Rtt Start", CmdUnresolved},
        {"Nobody Here", CmdUnresolved},
        {"Clear Buffer", CmdUnresolved},
        {"Nobody Here", CmdUnresolved},
        {"recorder a", CmdUnresolved},
    };
    const size_t count = sizeof expected / sizeof expected[0];
    // Times and layers in no order, one event never active (start > end).
    std::string timeline;
    for (size_t i = 0; i < count; i++)
        timeline += std::to_string(9000 - 700 * static_cast<int>(i)) + " " +
                    std::to_string(i == 3 ? 100 : 20000) + " " + std::to_string((i * 7) % 10) +
                    " 0 0 - " + expected[i].name + "\n";
    std::string bytes = Encode(timeline);
    // Whatever target the file holds is replaced.
    for (size_t i = 0; i < count; i++)
        PutInt32(bytes, RecordOffset(i) + offsetof(ScriptEvent, target), 77 - static_cast<int32_t>(i));
    folder_.WriteBytes(bytes);

    std::string log = Load();

    ASSERT_EQ(g_scriptEvents.size(), count);
    for (size_t i = 0; i < count; i++) {
        SCOPED_TRACE(expected[i].name);
        const ScriptEvent* event = g_scriptEvents[i];
        EXPECT_STREQ(event->name, expected[i].name);  // file order kept
        EXPECT_EQ(event->start, 9000 - 700 * static_cast<int>(i));
        EXPECT_EQ(event->layer, static_cast<int32_t>((i * 7) % 10));
        EXPECT_EQ(event->target, expected[i].target);
    }
    EXPECT_EQ(g_scriptEvents[3]->end, 100);

    // Each name that resolves to nothing is reported once, after the
    // post-processing line.
    size_t post = log.find("Post Processing Script....\n");
    ASSERT_NE(post, std::string::npos) << log;
    for (const char* name : {"Rtt Start", "Nobody Here", "Clear Buffer", "recorder a"}) {
        std::string line = std::string("Demo script: no plugin or command is named \"") + name +
                           "\"; its events do nothing\n";
        EXPECT_EQ(CountOf(log, line), 1u) << log;
        EXPECT_GT(log.find(line), post);
    }
    EXPECT_EQ(CountOf(log, "Demo script:"), 4u) << log;
}

TEST_F(LoaderTest, WithoutPluginsEveryPluginNameIsUnresolved)
{
    folder_.WriteTimeline("0 10 0 0 0 - Recorder A\n0 10 1 0 0 - rtt start\n");
    Load();
    ASSERT_EQ(g_scriptEvents.size(), 2u);
    EXPECT_EQ(g_scriptEvents[0]->target, CmdUnresolved);
    EXPECT_EQ(g_scriptEvents[1]->target, CmdRttStart);
}

// Files the player must survive: it keeps what is whole and sound and says
// what it left out.
TEST_F(LoaderTest, DamagedFilesKeepTheirSoundRecords)
{
    const std::string good = Encode(
        "0 100 0 0 0 - first\n"
        "0 100 1 0 0 - second\n"
        "0 100 2 0 0 - third\n");
    const std::string records = good.substr(4);
    auto withCount = [&](int32_t count, const std::string& body) {
        std::string bytes(4, '\0');
        PutInt32(bytes, 0, count);
        return bytes + body;
    };
    auto patched = [&](size_t offset, const std::string& with) {
        std::string bytes = good;
        bytes.replace(offset, with.size(), with);
        return bytes;
    };
    auto layered = [&](int32_t layer) {
        std::string bytes = good;
        PutInt32(bytes, RecordOffset(1) + offsetof(ScriptEvent, layer), layer);
        return bytes;
    };
    const std::vector<std::string> all = {"first", "second", "third"};
    const std::vector<std::string> none;
    const std::vector<std::string> outer = {"first", "third"};

    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> loaded;
        const char* logged;  // nullptr: no line of the loader's own
    } cases[] = {
        {"sound file", good, all, nullptr},
        {"count of zero", withCount(0, records), none, nullptr},
        {"count below the records", withCount(2, records), {"first", "second"}, nullptr},
        {"count above the records", withCount(5, records), all,
         "Demo script: kelda.kvd ends after 3 of its 5 events; the rest is lost\n"},
        {"last record cut short", withCount(3, records.substr(0, 2 * kRecord + 100)),
         {"first", "second"}, "Demo script: kelda.kvd ends after 2 of its 3 events; the rest is lost\n"},
        {"absurd count", withCount(INT32_MAX, records), all,
         "Demo script: kelda.kvd ends after 3 of its 2147483647 events; the rest is lost\n"},
        {"negative count", withCount(-1, records), none,
         "Demo script: kelda.kvd gives a negative event count (-1); no events loaded\n"},
        {"most negative count", withCount(INT32_MIN, records), none,
         "Demo script: kelda.kvd gives a negative event count (-2147483648); no events loaded\n"},
        {"empty file", "", none, "Demo script: kelda.kvd holds no event count; no events loaded\n"},
        {"count cut short", std::string(3, '\1'), none,
         "Demo script: kelda.kvd holds no event count; no events loaded\n"},
        {"name without a NUL", patched(RecordOffset(1) + 1, std::string(kKvdNameSize, 'x')), outer,
         "Demo script: record 1 has no NUL within its 515-byte name; skipped\n"},
        {"layer 10", layered(10), outer,
         "Demo script: record 1 \"second\" is on layer 10, outside 0 to 9; skipped\n"},
        {"layer -1", layered(-1), outer,
         "Demo script: record 1 \"second\" is on layer -1, outside 0 to 9; skipped\n"},
        {"layer INT_MIN", layered(INT32_MIN), outer,
         "Demo script: record 1 \"second\" is on layer -2147483648, outside 0 to 9; skipped\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearScriptEvents();
        folder_.WriteBytes(c.bytes);
        std::string log = Load();
        EXPECT_EQ(LoadedNames(), c.loaded);
        // The names resolve to nothing here; only the loader's own lines count.
        std::string own = log.substr(0, log.find("Post Processing Script....\n"));
        EXPECT_NE(log.find("Post Processing Script....\n"), std::string::npos) << log;
        EXPECT_EQ(own, c.logged ? c.logged : "");
    }
}

TEST_F(LoaderTest, MissingScriptShowsItsBoxAndEndsWithStatusOne)
{
    EXPECT_EXIT(LoadDemoScript(), ::testing::ExitedWithCode(1),
                "ERROR: Missing File: Unable to find demoscript");
}

}  // namespace
