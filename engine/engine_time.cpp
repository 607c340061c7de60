#include "engine/engine_time.h"

#include "engine/layers.h"
#include "platform/clock.h"

bool EngineNextRun(const EngineState& engine, uint32_t& at)
{
    at = engine.wake.at;
    return engine.wake.pending;
}

void RunEngineDue(EngineState& engine, const Configuration& config, uint32_t now)
{
    if (!engine.wake.pending || !TickDue(engine.wake.at, now)) return;
    RunSlotTimers(engine, config.settings, now);
}
