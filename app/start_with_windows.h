// "Start with Windows": the current user's Run value that starts this very
// program with /wait, so that it runs on at logon while the pad is still off.
// The registry is read when the menu opens and written only when the item is
// chosen; never at start.
#pragma once

#include <cstdint>

constexpr const char* kRunValueName = "Quellpad";

// Whether a Run value starts the program at path: its first word, quoted or
// not, is that path, in any case of letters; what follows does not matter.
bool StartsProgram(const char* value, const char* path);

// The quoted path followed by /wait; false when it does not fit size bytes.
bool StartCommand(const char* path, char* command, uint32_t size);

// Whether the Run value starts this very executable now.
bool StartsWithWindows();

// The menu item: writes the value when it does not start this program,
// removes it when it does.
void ToggleStartWithWindows();
