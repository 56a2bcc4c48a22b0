// The plugin host: loads the effect libraries, keeps their plugins in load
// order, and is at the same time the host-services object every plugin holds.
//
// Shared with the plugin libraries: they call slots 0 and 1 through the table
// and read glSystem and texturePool straight from the object, so the slot
// order and the field order are fixed.
#pragma once

#include <vector>

class Orvan_Plugin;
class OrvanGL;
class TexturePool;

class Orvan_Plugin_Host {
public:
    Orvan_Plugin_Host();
    ~Orvan_Plugin_Host();

    // Host services, in slot order.
    virtual void PluginProbe();                           // slot 0
    virtual void DebugPrint(const char* format, ...)      // slot 1
        __attribute__((format(printf, 2, 3)));

    int LoadPlugin(const char* file);
    int InitAll();
    int FindPlugin(const char* name);
    int RenderPlugin(int index, float time);
    int TriggerAll(float time, int id, int value, int reserved);

    // Not used by the player.
    int RenderAll(float time);
    int InitPlugin(int index);
    Orvan_Plugin* GetPlugin(int index);
    int RenderPluginObject(Orvan_Plugin* plugin, float time);
    int GetPluginName(int index, char* out);
    int UnloadPlugin(int index);

    std::vector<Orvan_Plugin*> plugins;  // index = plugin number
    OrvanGL* glSystem;
    TexturePool* texturePool;
};
