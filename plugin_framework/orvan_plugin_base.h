// The defaults behind every slot of the plugin interface.
#pragma once

#include "orvan_plugin.h"

class Orvan_Plugin_Base : public Orvan_Plugin {
public:
    // Sets neither field: both mean something only after SetHost, which the
    // host calls before anything else.
    Orvan_Plugin_Base() {}

    void Render(float time) override;
    void Init() override;
    int Trigger(float time, int id, int value, int reserved) override;
    int Reserved3() override;
    int SetHost(Orvan_Plugin_Host* host) override;
    int Reserved5(int a, int b) override;
    int Reserved6(int a) override;
    int GetName(char* out) override;
    ~Orvan_Plugin_Base() override {}

    // Unused by the system; always 0.
    int Reserved();

    bool hostAttached;
    Orvan_Plugin_Host* host;
};
