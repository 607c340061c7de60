// Where the current configuration file lives.
#pragma once

#include <cstddef>

constexpr int kPathSize = 260;

// Zero-terminated, at most 259 characters; empty until the main window exists.
extern char configPath[kPathSize];

// The program's own path with its extension replaced by "CFG". A path that
// would not fit leaves configPath empty, so the load reports it cannot open it.
void SetDefaultConfigPath();

// Where a path's file name starts: after its last folder or drive.
size_t NameStart(const char* path);
