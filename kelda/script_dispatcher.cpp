#include "script_dispatcher.h"

#include <GL/gl.h>

#include "orvan_core.h"
#include "orvan_gl.h"
#include "orvan_plugin_host.h"
#include "player_globals.h"
#include "script_event.h"

namespace {

constexpr int kLayerCount = 10;
constexpr int kHostTargetCount = 5;

void ClearBuffers(const ScriptEvent& event)
{
    GLbitfield mask = 0;
    if (event.clearColor)
        mask |= GL_COLOR_BUFFER_BIT;
    if (event.clearDepth)
        mask |= GL_DEPTH_BUFFER_BIT;
    if (mask)
        glClear(mask);
}

void RunEvent(const ScriptEvent& event, int timeMs)
{
    switch (event.target) {
    case CmdRttStart: {
        int k = (event.id >= 0 && event.id < kHostTargetCount) ? event.id : 0;
        g_gl->StartRtt(g_gl->rttTargets[k]);
        break;
    }
    case CmdRttEnd:
        g_gl->EndRtt();
        ClearBuffers(event);
        break;
    case CmdClearBuffer:
        ClearBuffers(event);
        break;
    case CmdTrigger:
        // Tenths of a second.
        g_host->TriggerAll(static_cast<float>(timeMs) / 100.0f, event.id, event.value, 0);
        break;
    case CmdSendParam:
        Orvan_Core_Print("parameter support undefined\n");
        break;
    default:
        // Hundredths of a second, worked in double and rounded to float once.
        if (event.target >= 0)
            g_host->RenderPlugin(event.target,
                                 static_cast<float>(static_cast<double>(static_cast<float>(timeMs)) /
                                                    1000.0 * 100.0));
        // Anything else (CmdUnresolved) names nothing and does nothing.
        break;
    }
}

}  // namespace

void ProcessScriptFrame(int timeMs)
{
    int32_t slots[kLayerCount];
    for (int32_t& slot : slots)
        slot = -1;

    // On each layer the last active event in list order wins.
    for (size_t i = 0; i < g_scriptEvents.size(); i++) {
        const ScriptEvent* event = g_scriptEvents[i];
        // The loader drops events outside the ten layers; the test keeps the
        // slots safe whatever else fills the list.
        if (event->start <= timeMs && event->end >= timeMs &&
            static_cast<uint32_t>(event->layer) < kLayerCount)
            slots[event->layer] = static_cast<int32_t>(i);
    }

    for (int layer = 0; layer < kLayerCount; layer++) {
        if (slots[layer] >= 0)
            RunEvent(*g_scriptEvents[slots[layer]], timeMs);
    }
}
