#include "tools/quellpad-cfg/config_image.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

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

// Every byte of the file after the 6724.
std::string BytesAfterSettings(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in.seekg(kConfigFileSize)) return {};
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

ActionRecord& Record(ConfigImage& image, int port, int slot)
{
    return slot < kSlotCount ? image.table[port][slot] : image.hats[port][slot - kSlotCount];
}

const ActionRecord& Record(const ConfigImage& image, int port, int slot)
{
    return slot < kSlotCount ? image.table[port][slot] : image.hats[port][slot - kSlotCount];
}

std::string WrittenChunks(const ActionRecord (&hats)[kPortCount][kHatSlotCount])
{
    static const ActionRecord kNone[kPortCount][kHatSlotCount] = {};
    if (std::memcmp(hats, kNone, sizeof kNone) == 0) return {};
    return std::string(reinterpret_cast<const char*>(kHatsChunkHeader), kChunkHeaderSize) +
           std::string(reinterpret_cast<const char*>(hats), sizeof kNone);
}

LoadResult LoadImage(const std::string& path, ConfigImage& image)
{
    LoadResult result;
    std::memset(MappingTable, 0, sizeof MappingTable);
    std::memset(HatTable, 0, sizeof HatTable);
    settings = Settings{};
    image = ConfigImage{};
    if (!SetPath(path)) {
        result.messages.push_back("config file could not be opened\nplease configure first");
    } else {
        // As the program does after a load: limits follow the settings.
        if (LoadConfig()) ComputeAxisLimits();
        result.messages = TakeMessages();
    }
    result.opened = result.messages.empty() || result.messages.front().rfind("config file could not be opened", 0) != 0;
    std::memcpy(image.table, MappingTable, sizeof MappingTable);
    std::memcpy(image.hats, HatTable, sizeof HatTable);
    image.settings = settings;
    if (result.opened && result.messages.empty()) {
        // When the file goes on with the chunk the writer writes for these
        // hats, that chunk is the hat bindings; every other byte after the
        // settings stays a byte of fileTail.
        const std::string after = BytesAfterSettings(path), written = WrittenChunks(image.hats);
        image.hatsInFileTail = after.compare(0, written.size(), written) != 0;
        image.fileTail = image.hatsInFileTail ? after : after.substr(written.size());
    }
    return result;
}

std::vector<std::string> SaveImage(const ConfigImage& image, const std::string& path)
{
    std::memcpy(MappingTable, image.table, sizeof MappingTable);
    if (image.hatsInFileTail) {
        std::memset(HatTable, 0, sizeof HatTable);
    } else {
        std::memcpy(HatTable, image.hats, sizeof HatTable);
    }
    settings = image.settings;
    if (image.fileTail.empty()) {
        if (!SetPath(path)) return {"file could not be created"};
        SaveConfig();
        return TakeMessages();
    }
    // The program's writer knows nothing of the tail: it writes the file
    // beside the target, the tail is added there, and only the whole file
    // takes the target's place.
    const std::string beside = path + ".new";
    if (path.empty() || !SetPath(beside)) return {"file could not be created"};
    SaveConfig();
    std::vector<std::string> messages = TakeMessages();
    if (!messages.empty()) return messages;
    std::FILE* out = std::fopen(beside.c_str(), "ab");
    bool written = out != nullptr && std::fwrite(image.fileTail.data(), 1, image.fileTail.size(), out) ==
                                         image.fileTail.size();
    if (out != nullptr && std::fclose(out) != 0) written = false;
    if (!written) messages.push_back("error writing file");
    if (written && !PlatformFileReplace(beside.c_str(), path.c_str())) messages.push_back("file could not be created");
    if (!messages.empty()) PlatformFileDelete(beside.c_str());
    return messages;
}
