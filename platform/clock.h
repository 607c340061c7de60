// The seam to the system's clock.
#pragma once

#include <cstdint>

// Milliseconds since the system started, as GetTickCount: it wraps after
// about 49 days, so only differences of two readings mean anything.
uint32_t PlatformTickCount();
