#include "config/config_path.h"

#include <cstring>

#include "platform/files.h"

bool SameName(const char* a, const char* b)
{
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (; fold(*a) == fold(*b); ++a, ++b) {
        if (*a == '\0') return true;
    }
    return false;
}

size_t NameStart(const char* path)
{
    size_t start = 0;
    for (size_t i = 0; path[i] != '\0'; ++i) {
        if (path[i] == '\\' || path[i] == '/' || path[i] == ':') start = i + 1;
    }
    return start;
}

void DefaultConfigPath(char (&path)[kPathSize])
{
    char exe[kPathSize] = {};
    const uint32_t length = PlatformGetModuleFileName(exe, kPathSize);
    path[0] = '\0';
    if (length == 0 || length >= kPathSize) return;  // failed or cut short

    // The extension starts at the last '.' of the last component only, so a
    // dotted folder such as C:\my.dir\ keeps its name.
    const size_t nameStart = NameStart(exe);
    uint32_t stemEnd = length;
    for (uint32_t i = length; i > nameStart; --i) {
        if (exe[i - 1] == '.') {
            stemEnd = i - 1;
            break;
        }
    }
    static const char kExtension[] = ".CFG";
    if (stemEnd + sizeof kExtension > kPathSize) return;
    std::memcpy(path, exe, stemEnd);
    std::memcpy(path + stemEnd, kExtension, sizeof kExtension);
}
