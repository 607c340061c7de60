// The seam's files on Windows, shared by the program and quellpad-cfg: paths
// arrive in the binary's own code page and go to the system as UTF-16.
#pragma once

#include <windows.h>

#include <cstdint>

// CP_UTF8 in the program, so a folder may have any name; CP_ACP in
// quellpad-cfg, whose paths come from its ANSI command line.
extern const UINT platformPathCodePage;

// false when path does not convert or does not fit.
bool WidePath(const char* path, wchar_t (&wide)[MAX_PATH]);
// false, with path emptied, when the name does not fit size bytes.
bool NarrowPath(const wchar_t* wide, char* path, uint32_t size);
