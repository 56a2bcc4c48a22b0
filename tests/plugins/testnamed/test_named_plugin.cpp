#include "test_named_plugin.h"

#include <cstring>

#include "orvan_plugin_host.h"

void TestNamedPlugin::Render(float time)
{
    host->DebugPrint("named Render %.2f", time);
}

void TestNamedPlugin::Init()
{
    Orvan_Plugin_Base::Init();
    host->DebugPrint("named Init");
}

int TestNamedPlugin::Trigger(float time, int id, int value, int reserved)
{
    host->DebugPrint("named Trigger %.1f %d %d %d", time, id, value, reserved);
    return 5;  // the host ignores it
}

int TestNamedPlugin::GetName(char* out)
{
    strcpy(out, "Test Named Plugin");
    return 0;
}
