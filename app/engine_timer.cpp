#include "app/engine_timer.h"

#include "app/messages.h"
#include "app/running.h"
#include "engine/engine_time.h"
#include "platform/clock.h"
#include "platform/timers.h"

void ScheduleEngine()
{
    uint32_t at = 0;
    if (EngineNextRun(running.engine, at)) {
        // Asked after every message of the main window: set only for a new time.
        if (running.engineTimerSet && at == running.engineTimerAt) return;
        running.engineTimerAt = at;
        // A time already past runs as soon as the timer can fire.
        const int32_t wait = int32_t(at - PlatformTickCount());
        PlatformSetTimer(ENGINE_TIMER_ID, wait > 0 ? uint32_t(wait) : 1);
        running.engineTimerSet = true;
    } else if (running.engineTimerSet) {
        PlatformKillTimer(ENGINE_TIMER_ID);
        running.engineTimerSet = false;
    }
}

void HandleEngineTimer()
{
    RunEngineDue(running.engine, running.config, PlatformTickCount());
    ScheduleEngine();
}
