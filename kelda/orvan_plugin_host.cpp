#include "orvan_plugin_host.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "orvan_core.h"
#include "orvan_plugin.h"
#include "win_library.h"

namespace {

// Handles and addresses are printed whole, as signed decimals.
long long AsNumber(const void* p)
{
    return static_cast<long long>(reinterpret_cast<intptr_t>(p));
}

}  // namespace

Orvan_Plugin_Host::Orvan_Plugin_Host()
    : glSystem(nullptr), texturePool(nullptr)
{
    Orvan_Core_Print("Orvan_Plugin_Host::Orvan Plugin Host Created\n");
}

Orvan_Plugin_Host::~Orvan_Plugin_Host()
{
    // Plugins and their libraries live until the process ends; only the
    // list goes.
    plugins.clear();
    Orvan_Core_Print("Orvan_Plugin_Host::Orvan Plugin Host Destroyed\n");
}

void Orvan_Plugin_Host::PluginProbe()
{
    Orvan_Core_Print("Orvan_Plugin_Host::PluginProbe() -- Plugin probed host!\n");
}

void Orvan_Plugin_Host::DebugPrint(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    if (vsnprintf(text, sizeof text, format, args) < 0)
        text[0] = '\0';
    va_end(args);
    // The text goes in as an argument, so a percent sign in it stays as it is.
    Orvan_Core_Print("debug:[%s]\n", text);
}

int Orvan_Plugin_Host::LoadPlugin(const char* file)
{
    Orvan_Core_Print("Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin(\"%s\")\n", file);

    HMODULE module = LoadLibraryA(file);
    if (!module) {
        Orvan_Core_Print("Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - LoadLibrary Failed!\n");
        return 0;
    }
    Orvan_Core_Print("Orvan_Plugin_Host::modh=%lld\n", AsNumber(module));

    // Through void(*)(): the loader hands back a generic function pointer.
    NewPluginFunction create = reinterpret_cast<NewPluginFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "NewPlugin")));
    Orvan_Core_Print("Orvan_Plugin_Host::modfunc=%lld\n",
                     AsNumber(reinterpret_cast<const void*>(create)));
    if (!create) {
        Orvan_Core_Print("Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - no NewPlugin in library!\n");
        return 0;
    }

    Orvan_Plugin* plugin = create();
    Orvan_Core_Print("Orvan_Plugin_Host::newplug=%lld\n", AsNumber(plugin));
    if (!plugin) {
        Orvan_Core_Print("Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - NewPlugin returned no plugin!\n");
        return 0;
    }

    Orvan_Core_Print("Orvan_Plugin_Host:: assigning host to plugin...");
    plugin->SetHost(this);
    Orvan_Core_Print("ok\n");

    Orvan_Core_Print("Orvan_Plugin_Host:: Pushing plugin into plugin list...\n");
    plugins.push_back(plugin);
    return static_cast<int>(plugins.size()) - 1;
}

int Orvan_Plugin_Host::InitAll()
{
    Orvan_Core_Print("Orvan_Plugin_Host::Orvan Plugin Host - InitAll()\n");
    const int count = static_cast<int>(plugins.size());
    for (int i = 0; i < count; ++i)
        plugins[i]->Init();
    return 0;
}

int Orvan_Plugin_Host::FindPlugin(const char* name)
{
    // One buffer for all plugins; kept terminated whatever a plugin writes.
    char buffer[5000];
    buffer[0] = '\0';
    for (size_t i = 0; i < plugins.size(); ++i) {
        plugins[i]->GetName(buffer);
        buffer[sizeof buffer - 1] = '\0';
        if (strcmp(buffer, name) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int Orvan_Plugin_Host::RenderPlugin(int index, float time)
{
    plugins[index]->Render(time);
    return 0;
}

int Orvan_Plugin_Host::TriggerAll(float time, int id, int value, int reserved)
{
    const int count = static_cast<int>(plugins.size());
    int i = 0;
    for (; i < count; ++i)
        plugins[i]->Trigger(time, id, value, reserved);
    return i;
}

int Orvan_Plugin_Host::RenderAll(float time)
{
    const int count = static_cast<int>(plugins.size());
    for (int i = 0; i < count; ++i)
        plugins[i]->Render(time);
    return 0;
}

int Orvan_Plugin_Host::InitPlugin(int index)
{
    plugins[index]->Init();
    return 0;
}

Orvan_Plugin* Orvan_Plugin_Host::GetPlugin(int index)
{
    return plugins[index];
}

int Orvan_Plugin_Host::RenderPluginObject(Orvan_Plugin* plugin, float time)
{
    plugin->Render(time);
    return 0;
}

int Orvan_Plugin_Host::GetPluginName(int index, char* out)
{
    plugins[index]->GetName(out);
    return 1;
}

int Orvan_Plugin_Host::UnloadPlugin(int index)
{
    Orvan_Core_Print("Orvan_Plugin_Host::Orvan Plugin Host - UnloadPlugin(%d)\n", index);
    Orvan_Core_Print("Note - this function is not implemented\n");
    return 1;
}
