// One log shared by the processes of a Wine test case: the joystick double
// inside the program and the observer beside it. The lines must come out in
// the order the events happened, whole, across processes.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cstdio>

inline void TestLog(const char* format, ...)
{
    char path[MAX_PATH];
    const DWORD pathLength = GetEnvironmentVariableA("QP_LOG", path, sizeof path);
    if (pathLength == 0 || pathLength >= sizeof path) return;

    char line[600];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(line, sizeof line - 1, format, args);
    va_end(args);
    if (length < 0) return;
    if (length > int(sizeof line) - 2) length = int(sizeof line) - 2;
    line[length++] = '\n';

    // Opened and closed for every line, under a mutex that every process of
    // the case shares, so each line lands at the end and nothing interleaves.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "quellpad-test-log");
    if (mutex != nullptr) WaitForSingleObject(mutex, 10000);
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, line, DWORD(length), &written, nullptr);
        CloseHandle(file);
    }
    if (mutex != nullptr) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
}
