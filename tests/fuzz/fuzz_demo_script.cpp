// The demo script loader on any bytes as "kelda.kvd": every record it keeps
// must be safe for the dispatcher (a NUL inside its name, a layer of 0 to 9,
// a resolved target), and nothing it reads may run past the file.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "demo_script.h"
#include "fuzz_support.h"
#include "orvan_plugin.h"
#include "orvan_plugin_host.h"
#include "player_globals.h"
#include "script_event.h"

namespace {

// A plugin in the host's list so names can resolve to a plugin number too.
class NamedPlugin : public Orvan_Plugin {
public:
    explicit NamedPlugin(const char* name) : name_(name) {}
    void Render(float) override {}
    void Init() override {}
    int Trigger(float, int, int, int) override { return 0; }
    int Reserved3() override { return 0; }
    int SetHost(Orvan_Plugin_Host*) override { return 0; }
    int Reserved5(int, int) override { return 0; }
    int Reserved6(int) override { return 0; }
    int GetName(char* out) override
    {
        strcpy(out, name_);
        return 1;
    }

private:
    const char* name_;
};

void CheckEvents()
{
    const int plugins = static_cast<int>(g_host->plugins.size());
    for (const ScriptEvent* event : g_scriptEvents) {
        if (!memchr(event->name, '\0', sizeof event->name))
            abort();
        if (event->layer < 0 || event->layer > 9)
            abort();
        if (event->target >= plugins || event->target < CmdUnresolved)
            abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    EnterFuzzFolder();
    static Orvan_Plugin_Host host;
    static NamedPlugin first("Interference Plugin");
    static NamedPlugin second("clear buffer");
    host.plugins.push_back(&first);
    host.plugins.push_back(&second);
    g_host = &host;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!WriteInput("kelda.kvd", data, size))
        abort();
    LoadDemoScript();
    CheckEvents();
    // The player holds its records to the end; here every input starts afresh.
    for (ScriptEvent* event : g_scriptEvents)
        delete event;
    g_scriptEvents.clear();
    return 0;
}
