// Test plugin: a display name of its own; Init, Render and Trigger each log
// one line through the host, so a test sees which calls arrived, in order.
#pragma once

#include "orvan_plugin_base.h"

class TestNamedPlugin : public Orvan_Plugin_Base {
public:
    void Render(float time) override;
    void Init() override;
    int Trigger(float time, int id, int value, int reserved) override;
    int GetName(char* out) override;
};
