#include "config/file_chunks.h"

#include <cstring>

#include "config/binding_fields.h"

namespace {

// --- PADS: what each port reads, one byte a port ---------------------------

void ClearPads(Configuration& config) { std::memset(config.portSource, 0, sizeof config.portSource); }

// A byte past 4 names no source; that port reads the driver.
bool ReadPads(const uint8_t* payload, Configuration& config)
{
    bool usable = true;
    for (int port = 0; port < kPortCount; ++port) {
        const bool known = payload[port] <= kMaxPadSource;
        config.portSource[port] = known ? payload[port] : 0;
        usable = usable && known;
    }
    return usable;
}

const void* PadsBytes(const Configuration& config) { return config.portSource; }

// --- HATS: the hat bindings of both ports ------------------------------------

void ClearHats(Configuration& config) { std::memset(config.HatTable, 0, sizeof config.HatTable); }

bool ReadHats(const uint8_t* payload, Configuration& config)
{
    std::memcpy(config.HatTable, payload, sizeof config.HatTable);
    return true;
}

const void* HatsBytes(const Configuration& config) { return config.HatTable; }

bool HatsWritten(const Configuration& config) { return AnyHatBinding(config.HatTable); }

}  // namespace

constexpr FileChunk kFileChunks[kFileChunkCount] = {
    {{'P', 'A', 'D', 'S'}, kPadsChunkSize, ClearPads, ReadPads, PadsBytes, AnyPadSource, "port sources",
     "reads the driver on both ports", nullptr},
    {{'H', 'A', 'T', 'S'}, kHatsChunkSize, ClearHats, ReadHats, HatsBytes, HatsWritten, "hat bindings",
     "turns the hat bindings off", "holds no hat binding"},
};

constexpr bool FitsTheLoader()
{
    for (const FileChunk& chunk : kFileChunks) {
        if (chunk.length > kMaxChunkLength) return false;
    }
    return true;
}
static_assert(FitsTheLoader(), "kMaxChunkLength is the longest payload");

const FileChunk* FindFileChunk(const void* tag)
{
    for (const FileChunk& chunk : kFileChunks) {
        if (std::memcmp(chunk.tag, tag, kChunkTagSize) == 0) return &chunk;
    }
    return nullptr;
}

void ChunkHeader(const FileChunk& chunk, uint8_t (&header)[kChunkHeaderSize])
{
    std::memcpy(header, chunk.tag, kChunkTagSize);
    for (uint32_t i = 0; i < 4; ++i) header[kChunkTagSize + i] = uint8_t(chunk.length >> (8 * i));
}

bool AnyPadSource(const Configuration& config)
{
    for (const uint8_t source : config.portSource) {
        if (source != 0) return true;
    }
    return false;
}

bool HatBound(const ActionRecord& record)
{
    for (const BindingField& field : kBindingFields) {
        if (field.kind == FieldKind::Flag && FlagCounts(field, record.*field.member)) return true;
    }
    return false;
}

bool AnyHatBinding(const ActionRecord (&hats)[kPortCount][kHatSlotCount])
{
    for (const auto& port : hats) {
        for (const ActionRecord& record : port) {
            if (HatBound(record)) return true;
        }
    }
    return false;
}
