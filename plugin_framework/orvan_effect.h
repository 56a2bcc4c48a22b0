// The skeleton every effect class is built on: the three state flags, the
// constructor and destructor, the answers of the reserved slots, the display
// name, the readiness test and the common opening of Init.
//
// An effect class must derive from Orvan_Plugin_Base directly and from
// nothing else, adding exactly the three flags in a fixed order, so the
// skeleton cannot be a base class or a template in between: that would put
// another class into the hierarchy. A macro declares the class with the
// skeleton's members instead; the shared behaviour lives in the inline
// helpers below, so no effect library carries its own copy of it.
//
// An effect library writes, in its header:
//     ORVAN_EFFECT_CLASS(Pravik_Plugin, "Interference Plugin");
// and in its source:
//     void Pravik_Plugin::Init()
//     {
//         OrvanEffectInitPreamble(this, initialised, "pravik plugin initalziation called");
//         ... the effect's own preparation ...
//     }
//     void Pravik_Plugin::Render(float time) { ... }
//     ORVAN_EFFECT_IGNORES_TRIGGERS(Pravik_Plugin)
// An effect that reacts to a trigger id defines Trigger itself instead, acts
// only on its id and returns 0 whatever the id. Its drawing state lives at
// file scope of its library, never in the object.
#pragma once

#include <cstring>

#include "orvan_plugin_base.h"
#include "orvan_plugin_host.h"

// Copies the display name and its NUL; the caller's buffer is large enough
// (display names have at most 25 characters).
inline int OrvanEffectCopyName(char* out, const char* displayName)
{
    strcpy(out, displayName);
    return 0;
}

// The opening of every effect's Init. It has no early return: a second Init
// warns, logs the start-up message again and the effect repeats its whole
// preparation. The messages are the log formats themselves, as the host's
// DebugPrint expects; none of them holds a conversion. The host attaches
// itself before any Init; without a host nothing is logged rather than
// calling through a null pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
inline void OrvanEffectInitPreamble(Orvan_Plugin_Base* effect, bool& initialised,
                                    const char* startupMessage)
{
    effect->Orvan_Plugin_Base::Init();
    if (initialised && effect->host != nullptr)
        effect->host->DebugPrint("Warning - plugin already initalized\n");
    if (effect->host != nullptr)
        effect->host->DebugPrint(startupMessage);
    initialised = true;
}
#pragma GCC diagnostic pop

#define ORVAN_EFFECT_CLASS(ClassName, displayName)                                 \
    class ClassName : public Orvan_Plugin_Base {                                   \
    public:                                                                        \
        ClassName() : constructed(true), enabled(false), initialised(false) {}     \
        ~ClassName() override {}                                                   \
                                                                                   \
        void Render(float time) override;                                          \
        void Init() override;                                                      \
        int Trigger(float time, int id, int value, int reserved) override;         \
        int Reserved3() override { return 0; }                                     \
        int Reserved5(int, int) override { return 0; }                             \
        int Reserved6(int) override { return 0; }                                  \
        int GetName(char* out) override { return OrvanEffectCopyName(out, displayName); } \
                                                                                   \
        /* Never 1 in the system: nothing sets enabled, nothing calls it. */           \
        int IsReady() { return constructed && enabled && initialised ? 1 : 0; }    \
                                                                                   \
        bool constructed;                                                          \
        bool enabled;                                                              \
        bool initialised;                                                          \
    }

// Trigger of an effect that reacts to no id: reads no argument.
#define ORVAN_EFFECT_IGNORES_TRIGGERS(ClassName) \
    int ClassName::Trigger(float, int, int, int) { return 0; }
