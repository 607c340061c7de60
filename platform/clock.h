// The system's millisecond clock, for the few decisions that depend on how
// long something has been quiet.
#pragma once

#include <cstdint>

// GetTickCount: milliseconds since the system started. It wraps after about
// 49 days, so only differences of two readings mean anything.
uint32_t PlatformTickCount();
