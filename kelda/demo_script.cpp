#include "demo_script.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "host_path.h"
#include "orvan_core.h"
#include "orvan_plugin_host.h"
#include "player_globals.h"
#include "run_status.h"
#include "script_event.h"
#include "win_window.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "script records are read straight into memory");

namespace {

constexpr int kLayerCount = 10;

struct CommandWord {
    const char* name;
    ScriptCommand code;
};

// Compared after the plugin search, so a command word wins over a plugin of
// the same display name.
const CommandWord kCommandWords[] = {
    {"rtt start", CmdRttStart},
    {"rtt end", CmdRttEnd},
    {"clear buffer", CmdClearBuffer},
    {"TRIGGER", CmdTrigger},
    {"send param", CmdSendParam},
};

// A record the dispatcher cannot run safely is left out: a name without its
// NUL would be read past its field, a layer outside 0 to 9 has no slot.
bool RecordIsSound(const ScriptEvent& event, int index)
{
    if (!memchr(event.name, '\0', sizeof event.name)) {
        Orvan_Core_Print("Demo script: record %d has no NUL within its 515-byte name; skipped\n", index);
        return false;
    }
    if (event.layer < 0 || event.layer >= kLayerCount) {
        Orvan_Core_Print("Demo script: record %d \"%s\" is on layer %d, outside 0 to 9; skipped\n",
                         index, event.name, event.layer);
        return false;
    }
    return true;
}

void ReadEvents(FILE* file)
{
    int32_t count = 0;
    if (fread(&count, sizeof count, 1, file) != 1) {
        Orvan_Core_Print("Demo script: kelda.kvd holds no event count; no events loaded\n");
        return;
    }
    if (count < 0) {
        Orvan_Core_Print("Demo script: kelda.kvd gives a negative event count (%d); no events loaded\n",
                         count);
        return;
    }

    // The count is not trusted for allocation: records are taken one by one
    // until the count is reached or the file ends.
    for (int32_t i = 0; i < count; i++) {
        ScriptEvent* event = new ScriptEvent;
        if (fread(event, sizeof *event, 1, file) != 1) {
            delete event;
            Orvan_Core_Print("Demo script: kelda.kvd ends after %d of its %d events; the rest is lost\n",
                             i, count);
            return;
        }
        if (!RecordIsSound(*event, i)) {
            delete event;
            continue;
        }
        g_scriptEvents.push_back(event);
    }
}

// The plugin number or command code for name; CmdUnresolved when neither
// matches, since FindPlugin's -1 is also the capture start's code.
int Resolve(const char* name)
{
    int target = g_host ? g_host->FindPlugin(name) : -1;
    bool matched = target >= 0;
    for (const CommandWord& word : kCommandWords) {
        if (strcmp(name, word.name) == 0) {
            target = word.code;
            matched = true;
        }
    }
    return matched ? target : CmdUnresolved;
}

}  // namespace

void LoadDemoScript()
{
    FILE* file = fopen(PosixPath("kelda.kvd").c_str(), "rb");
    if (!file) {
        MessageBoxA(NULL, "Missing File: Unable to find demoscript", "ERROR", MB_OK);
        exit(kRunFailed);
    }
    ReadEvents(file);
    fclose(file);

    Orvan_Core_Print("Post Processing Script....\n");

    std::set<std::string> reported;
    const size_t count = g_scriptEvents.size();
    for (size_t i = 0; i < count; i++) {
        ScriptEvent* event = g_scriptEvents[i];
        event->target = Resolve(event->name);
        if (event->target == CmdUnresolved && reported.insert(event->name).second)
            Orvan_Core_Print("Demo script: no plugin or command is named \"%s\"; its events do nothing\n",
                             event->name);
    }
}
