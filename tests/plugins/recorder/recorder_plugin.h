// A test plugin that records every Init, Render and Trigger it receives.
//
// Shared by the plugin libraries and the tests: a test takes the plugin from
// the host's list and reads the fields below through the object (the class's
// operations live in the library; a test calls none of them directly).
#pragma once

#include <vector>

#include "orvan_plugin_base.h"

class RecorderPlugin : public Orvan_Plugin_Base {
public:
    struct Call {
        enum Kind { kInit, kRender, kTrigger } kind;
        const void* plugin;  // the recording object, to tell plugins apart in a journal
        float time;
        int id;
        int value;
        int reserved;
    };

    RecorderPlugin() {}

    void Render(float time) override;
    void Init() override;
    int Trigger(float time, int id, int value, int reserved) override;
    int GetName(char* out) override;

    std::vector<Call> calls;                // this plugin's calls, in order
    std::vector<Call>* journal = nullptr;   // when set, every call is appended here too
    // When set, Render fills the whole viewport with paintColour, so a test
    // can see in the framebuffer which layers drew.
    bool paint = false;
    float paintColour[3] = {1.0f, 1.0f, 1.0f};
};
