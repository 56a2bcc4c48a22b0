#include "orvan_plugin.h"

extern "C" Orvan_Plugin* NewPlugin()
{
    return nullptr;
}
