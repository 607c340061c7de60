// The current user's Run key (HKCU\Software\Microsoft\Windows\CurrentVersion\Run),
// whose values Windows starts at logon. Names and values are UTF-8 here and
// UTF-16 strings in the registry.
#pragma once

#include <cstdint>

// The value's text in value (size bytes with the terminator); false when it
// does not exist, is no string or does not fit.
bool PlatformReadRunValue(const char* name, char* value, uint32_t size);
// Creates or replaces the value as a string; false when that failed.
bool PlatformWriteRunValue(const char* name, const char* value);
// Removes the value; false when it could not (also when there was none).
bool PlatformDeleteRunValue(const char* name);
