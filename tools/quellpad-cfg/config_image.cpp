#include "tools/quellpad-cfg/config_image.h"

#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "config/config_file.h"
#include "config/config_path.h"
#include "tools/quellpad-cfg/tool_platform.h"

namespace {

// configPath holds 259 characters, as the program's file dialogs do; a
// longer name would be cut and name another file. On Linux the tool reaches
// a file with a longer path through its folder, held open for the duration:
// /proc/self/fd/N/name names it, and every name the program makes beside it.
class ConfigPathSetting {
public:
    explicit ConfigPathSetting(const std::string& path) : ok_(Set(path)) {}
    ~ConfigPathSetting()
    {
#ifndef _WIN32
        if (folder_ >= 0) close(folder_);
#endif
    }
    ConfigPathSetting(const ConfigPathSetting&) = delete;
    ConfigPathSetting& operator=(const ConfigPathSetting&) = delete;
    explicit operator bool() const { return ok_; }

private:
    bool Set(const std::string& path)
    {
        if (path.empty() || path.find('\0') != std::string::npos) return false;
        if (path.size() < sizeof configPath) return Copy(path);
#ifdef _WIN32
        return false;
#else
        const size_t slash = path.rfind('/');
        if (slash == std::string::npos) return false;
        const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
        folder_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder_ < 0) return false;
        const std::string alias = "/proc/self/fd/" + std::to_string(folder_) + path.substr(slash);
        return alias.size() < sizeof configPath && Copy(alias);
#endif
    }

    static bool Copy(const std::string& path)
    {
        std::memset(configPath, 0, sizeof configPath);
        std::memcpy(configPath, path.data(), path.size());
        return true;
    }

    int folder_ = -1;  // before ok_, which Set() fills in
    bool ok_;
};

std::vector<std::string> TakeMessages()
{
    std::vector<std::string> messages;
    std::vector<ToolEvent> rest;
    for (ToolEvent& event : toolPlatform.events) {
        if (event.kind == ToolEvent::Message) {
            messages.push_back(std::move(event.text));
        } else {
            rest.push_back(std::move(event));
        }
    }
    toolPlatform.events = std::move(rest);
    return messages;
}

}  // namespace

LoadResult LoadImage(const std::string& path, ConfigImage& image)
{
    LoadResult result;
    std::memset(MappingTable, 0, sizeof MappingTable);
    settings = Settings{};
    const ConfigPathSetting setting(path);
    if (!setting) {
        result.messages.push_back("config file could not be opened\nplease configure first");
    } else {
        LoadConfig();
        result.messages = TakeMessages();
    }
    result.opened = result.messages.empty() || result.messages.front().rfind("config file could not be opened", 0) != 0;
    std::memcpy(image.table, MappingTable, sizeof MappingTable);
    image.settings = settings;
    return result;
}

std::vector<std::string> SaveImage(const ConfigImage& image, const std::string& path)
{
    const ConfigPathSetting setting(path);
    if (!setting) return {"file could not be created"};
    std::memcpy(MappingTable, image.table, sizeof MappingTable);
    settings = image.settings;
    SaveConfig();
    return TakeMessages();
}
