#include "tools/quellpad-cfg/config_image.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "config/config_file.h"
#include "config/config_path.h"
#include "engine/joystick_report.h"
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

// Every byte of the file after the 6724, and its length.
std::string BytesAfterSettings(const std::string& path, uint64_t& length)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    length = in ? uint64_t(in.tellg()) : 0;
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
    if (!AnyHatBinding(hats)) return {};
    return std::string(reinterpret_cast<const char*>(kHatsChunkHeader), kChunkHeaderSize) +
           std::string(reinterpret_cast<const char*>(hats), kHatsChunkSize);
}

LoadResult LoadImage(const std::string& path, ConfigImage& image)
{
    LoadResult result;
    std::memset(MappingTable, 0, sizeof MappingTable);
    std::memset(HatTable, 0, sizeof HatTable);
    settings = Settings{};
    image = ConfigImage{};
    const ConfigPathSetting setting(path);
    if (!setting) {
        result.messages.push_back("config file could not be opened\nplease configure first");
    } else {
        // As the program does after a load: limits follow the settings.
        if (LoadConfig() != LOAD_ABANDONED) ComputeAxisLimits();
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
        uint64_t length = 0;
        const std::string after = BytesAfterSettings(path, length), written = WrittenChunks(image.hats);
        image.hatsInFileTail = after.compare(0, written.size(), written) != 0;
        image.fileTail = image.hatsInFileTail ? after : after.substr(written.size());
        // Shorter than the table, the program would have said so.
        if (length < kConfigFileSize) image.fileEnd = uint32_t(length);
    }
    return result;
}

std::vector<std::string> SaveImage(const ConfigImage& image, const std::string& path)
{
    const ConfigPathSetting setting(path);
    if (!setting) return {"file could not be created"};
    std::memcpy(MappingTable, image.table, sizeof MappingTable);
    if (image.hatsInFileTail) {
        std::memset(HatTable, 0, sizeof HatTable);
    } else {
        std::memcpy(HatTable, image.hats, sizeof HatTable);
    }
    settings = image.settings;
    // The chunks the program does not know go into the same file, which
    // takes the target's place only once it is complete.
    SaveConfigWithTail(image.fileTail.data(), uint32_t(image.fileTail.size()),
                       image.fileEnd != 0 ? image.fileEnd : kConfigFileSize);
    return TakeMessages();
}
