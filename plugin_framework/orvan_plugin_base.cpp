#include "orvan_plugin_base.h"

#include <cstring>

void Orvan_Plugin_Base::Render(float) {}

void Orvan_Plugin_Base::Init() {}

int Orvan_Plugin_Base::Trigger(float, int, int, int) { return 0; }

int Orvan_Plugin_Base::Reserved3() { return -1; }

int Orvan_Plugin_Base::SetHost(Orvan_Plugin_Host* newHost)
{
    host = newHost;
    hostAttached = true;
    return 1;
}

int Orvan_Plugin_Base::Reserved5(int, int) { return 0; }

int Orvan_Plugin_Base::Reserved6(int) { return 0; }

int Orvan_Plugin_Base::GetName(char* out)
{
    strcpy(out, "Orvan Plugin Base - Incomplete Plugin");
    return 0;
}

int Orvan_Plugin_Base::Reserved() { return 0; }
