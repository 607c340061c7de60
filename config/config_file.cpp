#include "config/config_file.h"

#include <cstdio>
#include <cstring>

#include "config/config_path.h"
#include "platform/files.h"

namespace {

// How many names a save tries for its temporary file before it gives up.
constexpr int kTemporaryNames = 16;

// The longest temporary name, with its terminator. The program's own paths
// hold kPathSize bytes and the temporary file's name fits wherever its target
// does; quellpad-cfg may be given longer ones, as long as the system takes.
constexpr size_t kTemporarySize = kPlatformPathSize;
static_assert(kTemporarySize >= size_t(kPathSize));

// Name number n for the temporary file: in the target's own folder, so the
// swap at the end stays on one volume, and the longest of "~qp3.tmp", "~qp3",
// "~3" and "3" there is room for in a Windows path, so it fits wherever the
// target does. False when that name is the target's own, or too long.
bool TemporaryName(const char* target, int n, char (&name)[kTemporarySize])
{
    const size_t nameStart = NameStart(target);
    const size_t room = nameStart < size_t(kPathSize - 1) ? kPathSize - 1 - nameStart : 0;
    const char digit = "0123456789abcdef"[n];
    char chosen[9];
    if (room >= 8 || nameStart >= size_t(kPathSize - 1)) {
        // Beyond a Windows path only quellpad-cfg on Linux goes, with room to spare.
        std::snprintf(chosen, sizeof chosen, "~qp%c.tmp", digit);
    } else if (room >= 4) {
        std::snprintf(chosen, sizeof chosen, "~qp%c", digit);
    } else if (room >= 2) {
        std::snprintf(chosen, sizeof chosen, "~%c", digit);
    } else {
        std::snprintf(chosen, sizeof chosen, "%c", digit);
    }
    if (SameName(chosen, target + nameStart)) return false;
    const size_t length = std::strlen(chosen);
    if (nameStart + length >= kTemporarySize) return false;
    std::memcpy(name, target, nameStart);
    std::memcpy(name + nameStart, chosen, length + 1);
    return true;
}

// Never an existing name: a file or link planted there stays as it is, and
// the next name is tried.
PlatformFile CreateTemporary(const char* target, char (&name)[kTemporarySize])
{
    for (int n = 0; n < kTemporaryNames; ++n) {
        if (!TemporaryName(target, n, name)) continue;
        const PlatformFile file = PlatformFileCreateNew(name);
        if (file != PLATFORM_BAD_FILE) return file;
    }
    return PLATFORM_BAD_FILE;
}

// Every part is attempted, as a full disk may fail some writes and not
// others; each failure is counted.
void WritePart(PlatformFile file, const void* data, uint32_t size, SaveOutcome& outcome)
{
    if (PlatformFileWrite(file, data, size) == int32_t(size)) return;
    outcome.kind = SaveOutcome::NOT_WRITTEN;
    if (outcome.failedParts < 255) ++outcome.failedParts;
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

// The entries of a chunk of entries, length bytes of them, read in blocks
// and taken one by one; false when the file ends first, which leaves config
// as without the chunk.
bool ReadEntries(PlatformFile file, const FileChunk& chunk, uint32_t length, Configuration& config,
                 uint8_t (&block)[kMaxChunkLength], EntryMarks& marks, LoadOutcome& outcome)
{
    marks = {};
    while (length > 0) {
        const uint32_t part = length < kMaxChunkLength ? length : kMaxChunkLength;
        if (PlatformFileRead(file, block, part) != int32_t(part)) {
            chunk.clear(config);
            return false;
        }
        for (uint32_t at = 0; at < part; at += chunk.length) {
            if (!chunk.read(block + at, config, marks)) outcome.chunkDamaged = true;
        }
        length -= part;
    }
    return true;
}

// The chunks after the settings, each tag's first wherever it sits: a chunk
// of a known tag is read whole before any of it is taken (a chunk of
// entries, entry by entry, each ignored alone when it holds a value the
// program cannot use), one of another length is damaged, and a later chunk
// of the same tag or one of a tag this version does not know is passed over
// by its length. A chunk cut short by the end of the file is no chunk. What
// the file has no usable chunk for is as without one. Nothing here is worth a
// message: the bindings of the 6724 bytes stand either way.
void ReadChunks(PlatformFile file, Configuration& config, LoadOutcome& outcome)
{
    bool seen[kFileChunkCount] = {};
    for (const FileChunk& chunk : kFileChunks) chunk.clear(config);
    uint8_t header[kChunkHeaderSize];
    uint8_t payload[kMaxChunkLength];
    EntryMarks marks;
    while (PlatformFileRead(file, header, sizeof header) == int32_t(sizeof header)) {
        const uint32_t length = uint32_t(header[4]) | uint32_t(header[5]) << 8 | uint32_t(header[6]) << 16 |
                                uint32_t(header[7]) << 24;
        const FileChunk* chunk = FindFileChunk(header);
        if (chunk != nullptr && !seen[chunk - kFileChunks]) {
            seen[chunk - kFileChunks] = true;
            if (chunk->entries && length % chunk->length == 0) {
                if (!ReadEntries(file, *chunk, length, config, payload, marks, outcome)) {
                    outcome.chunkDamaged = true;
                    return;
                }
                continue;
            }
            if (!chunk->entries && length == chunk->length) {
                if (PlatformFileRead(file, payload, length) != int32_t(length)) {
                    outcome.chunkDamaged = true;
                    return;
                }
                if (!chunk->read(payload, config, marks)) outcome.chunkDamaged = true;
                continue;
            }
            outcome.chunkDamaged = true;  // another length: as without it
        } else if (chunk == nullptr) {
            outcome.chunkUnknown = true;
        }
        if (!Skip(file, length)) {
            outcome.chunkDamaged = true;
            return;
        }
    }
}

}  // namespace

const char* OutcomeText(const LoadOutcome& outcome)
{
    // A damaged or unknown chunk is worth no message: the 6724 bytes stand.
    switch (outcome.kind) {
    case LoadOutcome::NOT_OPENED: return "config file could not be opened\nplease configure first";
    case LoadOutcome::TABLE_SHORT: return "error reading file\nplease configure first";
    case LoadOutcome::READ:
    default: return nullptr;
    }
}

const char* OutcomeText(const SaveOutcome& outcome)
{
    switch (outcome.kind) {
    case SaveOutcome::NOT_WRITTEN: return "error writing file";
    case SaveOutcome::NOT_CREATED:
    case SaveOutcome::NOT_REPLACED: return "file could not be created";
    case SaveOutcome::WRITTEN:
    default: return nullptr;
    }
}

LoadOutcome LoadConfig(const char* path, Configuration& config)
{
    LoadOutcome outcome = {};
    const PlatformFile file = PlatformFileOpen(path);
    if (file == PLATFORM_BAD_FILE) {
        outcome.kind = LoadOutcome::NOT_OPENED;
        return outcome;
    }
    if (PlatformFileRead(file, config.MappingTable, sizeof config.MappingTable) != int32_t(sizeof config.MappingTable)) {
        std::memset(config.MappingTable, 0, sizeof config.MappingTable);
        std::memset(config.HatTable, 0, sizeof config.HatTable);
        // Every binding off: the layers' and the layer keys' too.
        std::memset(config.layers, 0, sizeof config.layers);
        std::memset(config.behaviour, 0, sizeof config.behaviour);
        PlatformFileClose(file);
        outcome.kind = LoadOutcome::TABLE_SHORT;
        return outcome;
    }
    // A short tail is allowed: a setting keeps whatever bytes the file lacks.
    outcome.kind = LoadOutcome::READ;
    for (const SettingLayout& setting : kSettingLayout) {
        if (PlatformFileRead(file, &(config.settings.*setting.member), sizeof(int32_t)) == int32_t(sizeof(int32_t))) {
            ++outcome.settingsRead;
        }
    }
    ReadChunks(file, config, outcome);
    PlatformFileClose(file);
    return outcome;
}

SaveOutcome SaveConfig(const char* path, const Configuration& config, const void* tail, uint32_t tailSize,
                       uint32_t end)
{
    // Write beside the target and swap it in at the end, so a full disk or a
    // pulled stick never leaves a half-written configuration behind.
    SaveOutcome outcome = {};
    char temporary[kTemporarySize];
    const bool named = path[NameStart(path)] != '\0';
    const PlatformFile file = named ? CreateTemporary(path, temporary) : PLATFORM_BAD_FILE;
    if (file == PLATFORM_BAD_FILE) {
        outcome.kind = SaveOutcome::NOT_CREATED;
        return outcome;
    }
    WritePart(file, config.MappingTable, sizeof config.MappingTable, outcome);
    for (const SettingLayout& setting : kSettingLayout) {
        if (setting.offset >= end) break;
        const uint32_t bytes = end - setting.offset < sizeof(int32_t) ? end - setting.offset : sizeof(int32_t);
        WritePart(file, &(config.settings.*setting.member), bytes, outcome);
    }
    // A configuration that needs no chunk is the file it always was; one cut
    // inside the settings has no room for any.
    uint8_t payload[kMaxChunkLength];
    for (const FileChunk& chunk : kFileChunks) {
        if (end < kConfigFileSize || !chunk.written(config)) continue;
        const uint32_t length = chunk.payload(config, payload);
        uint8_t header[kChunkHeaderSize];
        ChunkHeader(chunk, length, header);
        WritePart(file, header, kChunkHeaderSize, outcome);
        WritePart(file, payload, length, outcome);
    }
    if (tailSize > 0 && end >= kConfigFileSize) WritePart(file, tail, tailSize, outcome);
    PlatformFileClose(file);
    if (outcome.kind == SaveOutcome::NOT_WRITTEN) {
        PlatformFileDelete(temporary);
        return outcome;
    }
    if (!PlatformFileReplace(temporary, path)) {
        PlatformFileDelete(temporary);
        outcome.kind = SaveOutcome::NOT_REPLACED;
    }
    return outcome;
}
