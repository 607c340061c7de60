// Where configuration files live.
#pragma once

#include <cstddef>

constexpr int kPathSize = 260;  // a path of at most 259 characters and its terminator

// The program's own path with its extension replaced by "CFG". A path that
// would not fit leaves path empty, so a load reports it cannot open it.
void DefaultConfigPath(char (&path)[kPathSize]);

// Where a path's file name starts: after its last folder or drive.
size_t NameStart(const char* path);

// Whether two names or paths are the same to Windows, which does not tell
// the case of a name apart (ASCII letters here).
bool SameName(const char* a, const char* b);
