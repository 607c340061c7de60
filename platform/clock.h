// The seam to the system's clock.
#pragma once

#include <cstdint>

// Milliseconds since the system started, as GetTickCount: it wraps after
// about 49 days, so only differences of two readings mean anything.
uint32_t PlatformTickCount();

// Whether the tick at has come by now: their difference tells which comes
// first, across the wrap.
inline bool TickDue(uint32_t at, uint32_t now)
{
    return int32_t(now - at) >= 0;
}
