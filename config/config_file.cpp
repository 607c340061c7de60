#include "config/config_file.h"

#include <cstring>

#include "config/config_path.h"
#include "config/mapping_table.h"
#include "config/settings.h"
#include "platform/platform.h"

namespace {

constexpr const char* kCaption = "error";

}  // namespace

LoadOutcome LoadConfig()
{
    const PlatformFile file = PlatformFileOpen(configPath);
    if (file == PLATFORM_BAD_FILE) {
        PlatformMessageBox("config file could not be opened\nplease configure first", kCaption);
        return LOAD_NOT_OPENED;
    }
    if (PlatformFileRead(file, MappingTable, sizeof MappingTable) != int32_t(sizeof MappingTable)) {
        PlatformMessageBox("error reading file\nplease configure first", kCaption);
        std::memset(MappingTable, 0, sizeof MappingTable);
        PlatformFileClose(file);
        return LOAD_ABANDONED;
    }
    // A short tail is allowed: a setting keeps whatever bytes the file lacks.
    for (const SettingLayout& setting : kSettingLayout) {
        PlatformFileRead(file, &(settings.*setting.member), sizeof(int32_t));
    }
    PlatformFileClose(file);
    return LOAD_READ;
}

bool SaveConfig()
{
    // Write beside the target and swap it in at the end, so a full disk or a
    // pulled stick never leaves a half-written configuration behind.
    char temporary[kPathSize + 8];
    if (configPath[0] == '\0') {
        PlatformMessageBox("file could not be created", kCaption);
        return false;
    }
    std::strcpy(temporary, configPath);
    std::strcat(temporary, ".new");

    const PlatformFile file = PlatformFileCreate(temporary);
    if (file == PLATFORM_BAD_FILE) {
        PlatformMessageBox("file could not be created", kCaption);
        return false;
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
    PlatformFileClose(file);
    if (!complete) {
        PlatformFileDelete(temporary);
        return false;
    }
    if (!PlatformFileReplace(temporary, configPath)) {
        PlatformMessageBox("file could not be created", kCaption);
        PlatformFileDelete(temporary);
        return false;
    }
    return true;
}

bool SaveConfigToDefault()
{
    SetDefaultConfigPath();
    return SaveConfig();
}
