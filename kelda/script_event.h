// The demo script record: 548 bytes, little-endian, the file record byte for
// byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#pragma pack(push, 1)
struct ScriptEvent {
    uint8_t reserved0;
    char name[515];   // NUL-terminated within the field
    int32_t start;    // first active stream time, ms (inclusive)
    int32_t end;      // last active stream time, ms (inclusive)
    int32_t layer;    // 0 to 9
    int32_t reserved1;
    int32_t target;   // plugin number or ScriptCommand, set at load
    int32_t id;       // "rtt start" target, "TRIGGER" id
    int32_t value;    // "TRIGGER" value
    uint8_t clearDepth;
    uint8_t clearColor;
    uint8_t reserved2[2];
};
#pragma pack(pop)

static_assert(sizeof(ScriptEvent) == 548, "ScriptEvent is the file record");
static_assert(offsetof(ScriptEvent, name) == 1, "name at 1");
static_assert(offsetof(ScriptEvent, start) == 516, "start at 516");
static_assert(offsetof(ScriptEvent, end) == 520, "end at 520");
static_assert(offsetof(ScriptEvent, layer) == 524, "layer at 524");
static_assert(offsetof(ScriptEvent, target) == 532, "target at 532");
static_assert(offsetof(ScriptEvent, id) == 536, "id at 536");
static_assert(offsetof(ScriptEvent, value) == 540, "value at 540");
static_assert(offsetof(ScriptEvent, clearDepth) == 544, "clearDepth at 544");
static_assert(offsetof(ScriptEvent, clearColor) == 545, "clearColor at 545");

// Values of ScriptEvent::target that are not plugin numbers.
enum ScriptCommand {
    CmdRttStart = -1,
    CmdRttEnd = -2,
    CmdClearBuffer = -3,
    CmdTrigger = -4,
    CmdSendParam = -5,
    CmdUnresolved = -6,  // the name matched no plugin and no command: does nothing
};

extern std::vector<ScriptEvent*> g_scriptEvents;
