#include "config/config_file.h"

#include <cstring>

#include "config/config_path.h"
#include "config/mapping_table.h"
#include "config/settings.h"
#include "platform/platform.h"

namespace {

constexpr const char* kCaption = "error";

bool AnyHatBinding()
{
    static const ActionRecord kNone[kPortCount][kHatSlotCount] = {};
    return std::memcmp(HatTable, kNone, sizeof HatTable) != 0;
}

// Reads past count bytes; false when the file ends first.
bool Skip(PlatformFile file, uint32_t count)
{
    uint8_t scrap[512];
    while (count > 0) {
        const uint32_t part = count < sizeof scrap ? count : uint32_t(sizeof scrap);
        if (PlatformFileRead(file, scrap, part) != int32_t(part)) return false;
        count -= part;
    }
    return true;
}

// The chunks after the settings. The hat bindings come from the first whole
// HATS chunk of 608 bytes and are off without one; other chunks, and a HATS
// of another length, are passed over by their length. A chunk cut short by
// the end of the file is no chunk. Nothing here is worth a message: the
// bindings of the 6724 bytes stand either way.
void ReadChunks(PlatformFile file)
{
    std::memset(HatTable, 0, sizeof HatTable);
    uint8_t header[kChunkHeaderSize];
    while (PlatformFileRead(file, header, sizeof header) == int32_t(sizeof header)) {
        if (std::memcmp(header, kHatsChunkHeader, sizeof header) == 0) {
            if (PlatformFileRead(file, HatTable, sizeof HatTable) != int32_t(sizeof HatTable)) {
                std::memset(HatTable, 0, sizeof HatTable);
            }
            return;
        }
        const uint32_t length = uint32_t(header[4]) | uint32_t(header[5]) << 8 | uint32_t(header[6]) << 16 |
                                uint32_t(header[7]) << 24;
        if (!Skip(file, length)) return;
    }
}

}  // namespace

bool LoadConfig()
{
    const PlatformFile file = PlatformFileOpen(configPath);
    if (file == PLATFORM_BAD_FILE) {
        PlatformMessageBox("config file could not be opened\nplease configure first", kCaption);
        return true;
    }
    if (PlatformFileRead(file, MappingTable, sizeof MappingTable) != int32_t(sizeof MappingTable)) {
        PlatformMessageBox("error reading file\nplease configure first", kCaption);
        std::memset(MappingTable, 0, sizeof MappingTable);
        std::memset(HatTable, 0, sizeof HatTable);
        PlatformFileClose(file);
        return false;
    }
    // A short tail is allowed: a setting keeps whatever bytes the file lacks.
    for (const SettingLayout& setting : kSettingLayout) {
        PlatformFileRead(file, &(settings.*setting.member), sizeof(int32_t));
    }
    ReadChunks(file);
    PlatformFileClose(file);
    return true;
}

void SaveConfig()
{
    // Write beside the target and swap it in at the end, so a full disk or a
    // pulled stick never leaves a half-written configuration behind.
    char temporary[kPathSize + 8];
    if (configPath[0] == '\0') {
        PlatformMessageBox("file could not be created", kCaption);
        return;
    }
    std::strcpy(temporary, configPath);
    std::strcat(temporary, ".new");

    const PlatformFile file = PlatformFileCreate(temporary);
    if (file == PLATFORM_BAD_FILE) {
        PlatformMessageBox("file could not be created", kCaption);
        return;
    }
    bool complete = true;
    if (PlatformFileWrite(file, MappingTable, sizeof MappingTable) != int32_t(sizeof MappingTable)) {
        PlatformMessageBox("error writing file", kCaption);
        complete = false;
    }
    for (const SettingLayout& setting : kSettingLayout) {
        if (PlatformFileWrite(file, &(settings.*setting.member), sizeof(int32_t)) != int32_t(sizeof(int32_t))) {
            PlatformMessageBox("error writing file", kCaption);
            complete = false;
        }
    }
    // Without hat bindings the file stays byte for byte what it always was.
    if (AnyHatBinding()) {
        if (PlatformFileWrite(file, kHatsChunkHeader, kChunkHeaderSize) != int32_t(kChunkHeaderSize)) {
            PlatformMessageBox("error writing file", kCaption);
            complete = false;
        }
        if (PlatformFileWrite(file, HatTable, sizeof HatTable) != int32_t(sizeof HatTable)) {
            PlatformMessageBox("error writing file", kCaption);
            complete = false;
        }
    }
    PlatformFileClose(file);
    if (!complete) {
        PlatformFileDelete(temporary);
        return;
    }
    if (!PlatformFileReplace(temporary, configPath)) {
        PlatformMessageBox("file could not be created", kCaption);
        PlatformFileDelete(temporary);
    }
}

void SaveConfigToDefault()
{
    SetDefaultConfigPath();
    SaveConfig();
}
