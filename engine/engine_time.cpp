#include "engine/engine_time.h"

#include "engine/layers.h"

bool EngineNextRun(const EngineState& engine, uint32_t& at)
{
    at = engine.wake.at;
    return engine.wake.pending;
}

void RunEngineDue(EngineState& engine, const Configuration& config, uint32_t now)
{
    // Ticks wrap after 49 days; their difference tells which comes first.
    if (!engine.wake.pending || int32_t(now - engine.wake.at) < 0) return;
    RunSlotTimers(engine, config.settings, now);
}
