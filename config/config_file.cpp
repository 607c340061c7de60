#include "config/config_file.h"

#include <cstdio>
#include <cstring>

#include "config/config_path.h"
#include "config/mapping_table.h"
#include "config/settings.h"
#include "platform/platform.h"

namespace {

constexpr const char* kCaption = "error";

// How many names a save tries for its temporary file before it gives up.
constexpr int kTemporaryNames = 16;

bool SameName(const char* a, const char* b)
{
    // Windows does not tell the case of a name apart.
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        const char lowerA = *a >= 'A' && *a <= 'Z' ? char(*a + 32) : *a;
        const char lowerB = *b >= 'A' && *b <= 'Z' ? char(*b + 32) : *b;
        if (lowerA != lowerB) return false;
    }
    return *a == *b;
}

// Name number n for the temporary file: in the target's own folder, so the
// swap at the end stays on one volume, and the longest of "~qp3.tmp", "~qp3",
// "~3" and "3" there is room for, so it fits wherever the target does.
// false when that name is the target's own.
bool TemporaryName(const char* target, int n, char (&name)[kPathSize])
{
    const size_t nameStart = NameStart(target);
    const size_t room = kPathSize - 1 - nameStart;
    const char digit = "0123456789abcdef"[n];
    char chosen[9];
    if (room >= 8) {
        std::snprintf(chosen, sizeof chosen, "~qp%c.tmp", digit);
    } else if (room >= 4) {
        std::snprintf(chosen, sizeof chosen, "~qp%c", digit);
    } else if (room >= 2) {
        std::snprintf(chosen, sizeof chosen, "~%c", digit);
    } else {
        std::snprintf(chosen, sizeof chosen, "%c", digit);
    }
    if (SameName(chosen, target + nameStart)) return false;
    std::memcpy(name, target, nameStart);
    std::strcpy(name + nameStart, chosen);
    return true;
}

// Never an existing name: a file or link planted there stays as it is, and
// the next name is tried.
PlatformFile CreateTemporary(const char* target, char (&name)[kPathSize])
{
    for (int n = 0; n < kTemporaryNames; ++n) {
        if (!TemporaryName(target, n, name)) continue;
        const PlatformFile file = PlatformFileCreateNew(name);
        if (file != PLATFORM_BAD_FILE) return file;
    }
    return PLATFORM_BAD_FILE;
}

// Every part is attempted and each failure reported, as a full disk may
// fail some writes and not others; complete records whether all went in.
void WritePart(PlatformFile file, const void* data, uint32_t size, bool& complete)
{
    if (PlatformFileWrite(file, data, size) == int32_t(size)) return;
    PlatformMessageBox("error writing file", kCaption);
    complete = false;
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

bool AnyHatBinding(const ActionRecord (&hats)[kPortCount][kHatSlotCount])
{
    static const ActionRecord kNone[kPortCount][kHatSlotCount] = {};
    return std::memcmp(hats, kNone, sizeof kNone) != 0;
}

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
        std::memset(HatTable, 0, sizeof HatTable);
        PlatformFileClose(file);
        return LOAD_ABANDONED;
    }
    // A short tail is allowed: a setting keeps whatever bytes the file lacks.
    for (const SettingLayout& setting : kSettingLayout) {
        PlatformFileRead(file, &(settings.*setting.member), sizeof(int32_t));
    }
    ReadChunks(file);
    PlatformFileClose(file);
    return LOAD_READ;
}

bool SaveConfig()
{
    return SaveConfigWithTail(nullptr, 0);
}

bool SaveConfigWithTail(const void* tail, uint32_t size, uint32_t end)
{
    // Write beside the target and swap it in at the end, so a full disk or a
    // pulled stick never leaves a half-written configuration behind.
    char temporary[kPathSize];
    const bool named = configPath[NameStart(configPath)] != '\0';
    const PlatformFile file = named ? CreateTemporary(configPath, temporary) : PLATFORM_BAD_FILE;
    if (file == PLATFORM_BAD_FILE) {
        PlatformMessageBox("file could not be created", kCaption);
        return false;
    }
    bool complete = true;
    WritePart(file, MappingTable, sizeof MappingTable, complete);
    for (const SettingLayout& setting : kSettingLayout) {
        if (setting.offset >= end) break;
        const uint32_t bytes = end - setting.offset < sizeof(int32_t) ? end - setting.offset : sizeof(int32_t);
        WritePart(file, &(settings.*setting.member), bytes, complete);
    }
    // Without hat bindings the file stays byte for byte what it always was.
    if (AnyHatBinding(HatTable) && end >= kConfigFileSize) {
        WritePart(file, kHatsChunkHeader, kChunkHeaderSize, complete);
        WritePart(file, HatTable, sizeof HatTable, complete);
    }
    if (size > 0 && end >= kConfigFileSize) WritePart(file, tail, size, complete);
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
