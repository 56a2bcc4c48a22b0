// The creation function, compiled once into each plugin library with that
// library's effect class (ORVAN_PLUGIN_CLASS, declared in ORVAN_PLUGIN_HEADER).
#include ORVAN_PLUGIN_HEADER

extern "C" __attribute__((visibility("default"))) Orvan_Plugin* NewPlugin()
{
    return new ORVAN_PLUGIN_CLASS;
}
