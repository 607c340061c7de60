// The process-wide state as it is when the program starts.
#pragma once

// Puts every binding, setting, path, limit, report, speed, toggle and the
// editor's port back to its start value, for tools and tests that run the
// engine more than once in one process.
void RestoreStartState();
