// The script a test double replays, named by an environment variable: read
// whole, then handed over line by line.
#pragma once

#include <windows.h>

#include <cstring>

#include "test_log.h"

// False when the variable names no script. A script that cannot be opened is
// logged as "WHO script-missing path=...", a line parse refuses as
// "WHO script-error line=N"; parse gets each line and its number from 1.
template <class Parse>
bool ReadScript(const char* variable, const char* who, char* text, DWORD size, Parse parse)
{
    char path[MAX_PATH];
    const DWORD pathLength = GetEnvironmentVariableA(variable, path, sizeof path);
    if (pathLength == 0 || pathLength >= sizeof path) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        TestLog("%s script-missing path=%s", who, path);
        return true;
    }
    DWORD read = 0;
    ReadFile(file, text, size - 1, &read, nullptr);
    CloseHandle(file);
    text[read] = '\0';
    int number = 0;
    for (char* line = text; line != nullptr && *line != '\0';) {
        char* end = strchr(line, '\n');
        if (end != nullptr) *end = '\0';
        ++number;
        if (!parse(line, number)) TestLog("%s script-error line=%d", who, number);
        line = end ? end + 1 : nullptr;
    }
    return true;
}
