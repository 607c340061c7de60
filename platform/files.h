// The seam to files: the program's own path and configuration files.
#pragma once

#include <cstdint>

// Handle of an open file; PLATFORM_BAD_FILE when an open or create failed.
using PlatformFile = intptr_t;
constexpr PlatformFile PLATFORM_BAD_FILE = -1;

// Paths are zero-terminated UTF-8 in the program, so a folder may have any
// name; on Windows they reach the system's wide calls behind the seam.
// (quellpad-cfg on Windows keeps the ANSI code page of its command line.)

// The longest path in bytes, with its terminator, that the file calls below
// take: Windows' 260 characters at up to three bytes each (UTF-8, or
// quellpad-cfg's ANSI code page), or Linux's PATH_MAX for quellpad-cfg there.
#ifdef _WIN32
constexpr int kPlatformPathSize = 260 * 3;
#else
constexpr int kPlatformPathSize = 4096;
#endif

// The program's own executable path; returns its length, or size when it was
// cut short (as GetModuleFileNameA does).
uint32_t PlatformGetModuleFileName(char* buffer, uint32_t size);

// Files, as _lopen(path, 0) / _lread / _lwrite / _lclose.
PlatformFile PlatformFileOpen(const char* path);
// Creates a file of a name that does not exist yet, for writing. Any existing
// name fails, a link included (whose target is never touched).
PlatformFile PlatformFileCreateNew(const char* path);
int32_t PlatformFileRead(PlatformFile file, void* buffer, uint32_t count);
int32_t PlatformFileWrite(PlatformFile file, const void* buffer, uint32_t count);
void PlatformFileClose(PlatformFile file);
// Puts a completely written file in place of target in one step, so a reader
// sees either the old or the new configuration; false when it could not, and
// when target is read-only: the user's way of saying keep it.
bool PlatformFileReplace(const char* source, const char* target);
void PlatformFileDelete(const char* path);
// Whether a file or folder of that name is there, readable or not.
bool PlatformFileExists(const char* path);
