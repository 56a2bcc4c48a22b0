// The dispatcher's per-frame selection over a large script. No plugin draws:
// every event is a clear with no flags, which makes no GL call, so the time is
// the scan of the list and the ten-layer dispatch.
#include <benchmark/benchmark.h>

#include <cstring>

#include "player_globals.h"
#include "script_dispatcher.h"
#include "script_event.h"

namespace {

// count events of 2 s each, spread over ten minutes and the ten layers in a
// scrambled order, as a long demo's script might be.
void FillScript(int count)
{
    for (ScriptEvent* event : g_scriptEvents)
        delete event;
    g_scriptEvents.clear();
    uint32_t seed = 12345;
    for (int i = 0; i < count; i++) {
        seed = seed * 1664525u + 1013904223u;
        ScriptEvent* event = new ScriptEvent();
        strcpy(event->name, "clear buffer");
        event->start = static_cast<int32_t>((seed >> 8) % 600000);
        event->end = event->start + 2000;
        event->layer = static_cast<int32_t>((seed >> 4) % 10);
        event->target = CmdClearBuffer;
        g_scriptEvents.push_back(event);
    }
}

void BM_ProcessScriptFrame(benchmark::State& state)
{
    FillScript(static_cast<int>(state.range(0)));
    int timeMs = 0;
    for (auto _ : state) {
        ProcessScriptFrame(timeMs);
        timeMs = (timeMs + 16) % 600000;  // about one frame at 60 fps
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetLabel("items = events scanned");
}

BENCHMARK(BM_ProcessScriptFrame)->Arg(100)->Arg(1000)->Arg(10000)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
