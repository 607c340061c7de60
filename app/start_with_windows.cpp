#include "app/start_with_windows.h"

#include <cstring>

#include "config/config_path.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace {

constexpr const char kWaitSwitch[] = " /wait";
constexpr uint32_t kCommandSize = kPathSize + sizeof kWaitSwitch + 2;  // the quotes

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Windows compares file names without regard to case; letters beyond ASCII
// are compared as they are.
bool SamePath(const char* a, size_t length, const char* path)
{
    if (std::strlen(path) != length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (Lower(a[i]) != Lower(path[i])) return false;
    }
    return true;
}

// The program's own path; false when it did not fit.
bool OwnPath(char (&path)[kPathSize])
{
    const uint32_t length = PlatformGetModuleFileName(path, kPathSize);
    return length != 0 && length < kPathSize;
}

}  // namespace

bool StartsProgram(const char* value, const char* path)
{
    while (*value == ' ' || *value == '\t') ++value;
    if (*value == '"') {
        const char* end = std::strchr(value + 1, '"');
        return end != nullptr && SamePath(value + 1, size_t(end - value - 1), path);
    }
    // Unquoted, the path may hold blanks itself: it is ours when it is
    // followed by nothing or by a blank.
    const size_t length = std::strlen(path);
    return std::strlen(value) >= length && SamePath(value, length, path) &&
           (value[length] == '\0' || value[length] == ' ' || value[length] == '\t');
}

bool StartCommand(const char* path, char* command, uint32_t size)
{
    const size_t length = std::strlen(path);
    if (length + sizeof kWaitSwitch + 2 > size) return false;
    command[0] = '"';
    std::memcpy(command + 1, path, length);
    command[length + 1] = '"';
    std::memcpy(command + length + 2, kWaitSwitch, sizeof kWaitSwitch);
    return true;
}

bool StartsWithWindows()
{
    char path[kPathSize];
    char value[kCommandSize];
    return OwnPath(path) && PlatformReadRunValue(kRunValueName, value, sizeof value) &&
           StartsProgram(value, path);
}

void ToggleStartWithWindows()
{
    char path[kPathSize];
    char command[kCommandSize];
    if (!OwnPath(path)) return;
    if (StartsWithWindows()) {
        PlatformDeleteRunValue(kRunValueName);
    } else if (StartCommand(path, command, sizeof command)) {
        PlatformWriteRunValue(kRunValueName, command);
    }
}
