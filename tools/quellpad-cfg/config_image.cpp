#include "tools/quellpad-cfg/config_image.h"

#include <cstring>

#include "config/config_file.h"
#include "config/config_path.h"
#include "engine/joystick_report.h"
#include "tools/quellpad-cfg/tool_platform.h"

namespace {

// configPath holds 259 characters; a longer name would be cut and name
// another file.
bool SetPath(const std::string& path)
{
    if (path.empty() || path.size() >= sizeof configPath || path.find('\0') != std::string::npos) {
        return false;
    }
    std::memset(configPath, 0, sizeof configPath);
    std::memcpy(configPath, path.data(), path.size());
    return true;
}

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
    if (!SetPath(path)) {
        result.messages.push_back("config file could not be opened\nplease configure first");
    } else {
        // As the program does after a load: limits follow the settings.
        if (LoadConfig() != LOAD_ABANDONED) ComputeAxisLimits();
        result.messages = TakeMessages();
    }
    result.opened = result.messages.empty() || result.messages.front().rfind("config file could not be opened", 0) != 0;
    std::memcpy(image.table, MappingTable, sizeof MappingTable);
    image.settings = settings;
    return result;
}

std::vector<std::string> SaveImage(const ConfigImage& image, const std::string& path)
{
    if (!SetPath(path)) return {"file could not be created"};
    std::memcpy(MappingTable, image.table, sizeof MappingTable);
    settings = image.settings;
    SaveConfig();
    return TakeMessages();
}
