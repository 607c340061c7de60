#include "config/file_chunks.h"

#include <cstring>

#include "config/binding_fields.h"

namespace {

// --- PADS: what each port reads, one byte a port ---------------------------

void ClearPads(Configuration& config) { std::memset(config.portSource, 0, sizeof config.portSource); }

// A byte past 4 names no source; that port reads the driver.
bool ReadPads(const uint8_t* payload, Configuration& config, EntryMarks&)
{
    bool usable = true;
    for (int port = 0; port < kPortCount; ++port) {
        const bool known = payload[port] <= kMaxPadSource;
        config.portSource[port] = known ? payload[port] : 0;
        usable = usable && known;
    }
    return usable;
}

uint32_t PadsPayload(const Configuration& config, uint8_t* out)
{
    std::memcpy(out, config.portSource, kPadsChunkSize);
    return kPadsChunkSize;
}

// --- HATS: the hat bindings of both ports ------------------------------------

void ClearHats(Configuration& config) { std::memset(config.HatTable, 0, sizeof config.HatTable); }

bool ReadHats(const uint8_t* payload, Configuration& config, EntryMarks&)
{
    std::memcpy(config.HatTable, payload, sizeof config.HatTable);
    return true;
}

uint32_t HatsPayload(const Configuration& config, uint8_t* out)
{
    std::memcpy(out, config.HatTable, kHatsChunkSize);
    return kHatsChunkSize;
}

bool HatsWritten(const Configuration& config) { return AnyHatBinding(config.HatTable); }

// --- LYR1 .. LYR7: the bindings of one layer ---------------------------------

template <int kLayer>
void ClearLayer(Configuration& config)
{
    std::memset(config.layers[kLayer - 1], 0, kLayerChunkSize);
}

template <int kLayer>
bool ReadLayer(const uint8_t* payload, Configuration& config, EntryMarks&)
{
    std::memcpy(config.layers[kLayer - 1], payload, kLayerChunkSize);
    return true;
}

template <int kLayer>
uint32_t LayerPayload(const Configuration& config, uint8_t* out)
{
    std::memcpy(out, config.layers[kLayer - 1], kLayerChunkSize);
    return kLayerChunkSize;
}

// Any byte other than zero, even in a binding that is off: a layer the
// editor touched keeps what it holds, as the base's records do.
template <int kLayer>
bool LayerWritten(const Configuration& config)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(config.layers[kLayer - 1]);
    for (uint32_t i = 0; i < kLayerChunkSize; ++i) {
        if (bytes[i] != 0) return true;
    }
    return false;
}

// --- BHVR: layer keys and turbo, one entry per slot that has any -------------

constexpr uint32_t BehaviourKey(uint32_t layer, uint32_t port, uint32_t slot)
{
    return (layer * kPortCount + port) * kAllSlotCount + slot;
}

void ClearBehaviours(Configuration& config) { std::memset(config.behaviour, 0, sizeof config.behaviour); }

bool ReadBehaviour(const uint8_t* entry, Configuration& config, EntryMarks& marks)
{
    if (BehaviourEntryFault(entry) != nullptr) return false;
    bool& taken = marks.taken[BehaviourKey(entry[0], entry[1], entry[2])];
    if (taken) return false;
    taken = true;
    SlotBehaviour& behaviour = config.behaviour[entry[0]][entry[1]][entry[2]];
    behaviour.layerAction = entry[3];
    behaviour.layerTarget = entry[4];
    behaviour.turbo = uint16_t(entry[6] | entry[7] << 8);
    return true;
}

uint32_t BehavioursPayload(const Configuration& config, uint8_t* out)
{
    uint32_t length = 0;
    for (int layer = 0; layer <= kLayerCount; ++layer) {
        for (int port = 0; port < kPortCount; ++port) {
            for (int slot = 0; slot < kAllSlotCount; ++slot) {
                const SlotBehaviour& behaviour = config.behaviour[layer][port][slot];
                if (!BehaviourSet(behaviour)) continue;
                const uint8_t entry[kBehaviourEntrySize] = {
                    uint8_t(layer), uint8_t(port), uint8_t(slot), behaviour.layerAction, behaviour.layerTarget, 0,
                    uint8_t(behaviour.turbo), uint8_t(behaviour.turbo >> 8)};
                std::memcpy(out + length, entry, kBehaviourEntrySize);
                length += kBehaviourEntrySize;
            }
        }
    }
    return length;
}

bool BehavioursWritten(const Configuration& config)
{
    for (const auto& layer : config.behaviour) {
        for (const auto& port : layer) {
            for (const SlotBehaviour& behaviour : port) {
                if (BehaviourSet(behaviour)) return true;
            }
        }
    }
    return false;
}

}  // namespace

#define QUELLPAD_LAYER_CHUNK(n)                                                                                     \
    {{'L', 'Y', 'R', char('0' + (n))}, kLayerChunkSize, false, ClearLayer<n>, ReadLayer<n>, LayerPayload<n>,        \
     LayerWritten<n>, "layer " #n " bindings", "leaves layer " #n " without bindings", "holds only zeros"}

constexpr FileChunk kFileChunks[kFileChunkCount] = {
    {{'P', 'A', 'D', 'S'}, kPadsChunkSize, false, ClearPads, ReadPads, PadsPayload, AnyPadSource, "port sources",
     "reads the driver on both ports", nullptr},
    {{'H', 'A', 'T', 'S'}, kHatsChunkSize, false, ClearHats, ReadHats, HatsPayload, HatsWritten, "hat bindings",
     "turns the hat bindings off", "holds no hat binding"},
    QUELLPAD_LAYER_CHUNK(1),
    QUELLPAD_LAYER_CHUNK(2),
    QUELLPAD_LAYER_CHUNK(3),
    QUELLPAD_LAYER_CHUNK(4),
    QUELLPAD_LAYER_CHUNK(5),
    QUELLPAD_LAYER_CHUNK(6),
    QUELLPAD_LAYER_CHUNK(7),
    {{'B', 'H', 'V', 'R'}, kBehaviourEntrySize, true, ClearBehaviours, ReadBehaviour, BehavioursPayload,
     BehavioursWritten, "layer keys and turbo", "has no layer keys and no turbo", "holds no layer key and no turbo"},
};
#undef QUELLPAD_LAYER_CHUNK
static_assert(kLayerCount == 7, "a row for each layer");

constexpr bool FitsTheLoader()
{
    for (const FileChunk& chunk : kFileChunks) {
        if (chunk.length > kMaxChunkLength) return false;
    }
    // Every entry the writer may write, and whole entries in the loader's block.
    return kBehaviourKeys * kBehaviourEntrySize <= kMaxChunkLength && kMaxChunkLength % kBehaviourEntrySize == 0;
}
static_assert(FitsTheLoader(), "kMaxChunkLength holds any payload the writer writes");

const FileChunk* FindFileChunk(const void* tag)
{
    for (const FileChunk& chunk : kFileChunks) {
        if (std::memcmp(chunk.tag, tag, kChunkTagSize) == 0) return &chunk;
    }
    return nullptr;
}

void ChunkHeader(const FileChunk& chunk, uint32_t length, uint8_t (&header)[kChunkHeaderSize])
{
    std::memcpy(header, chunk.tag, kChunkTagSize);
    for (uint32_t i = 0; i < 4; ++i) header[kChunkTagSize + i] = uint8_t(length >> (8 * i));
}

const char* BehaviourEntryFault(const uint8_t* entry)
{
    const uint8_t action = entry[3], target = entry[4];
    const uint32_t turbo = uint32_t(entry[6] | entry[7] << 8);
    if (entry[0] > kLayerCount) return "its layer is past 7";
    if (entry[1] >= kPortCount) return "its port is past 1";
    if (entry[2] >= kAllSlotCount) return "its slot is past 47";
    if (action > LAYER_TOGGLE) return "its layerAction is past 2";
    if (action != LAYER_ACTION_NONE && (target == 0 || target > kLayerCount)) {
        return "its layerTarget is not 1 to 7 with a layerAction";
    }
    if (action == LAYER_ACTION_NONE && target != 0) return "its layerTarget is not 0 without a layerAction";
    if (entry[5] != 0) return "its sixth byte is not 0";
    if (turbo != 0 && (turbo < kTurboMin || turbo > kTurboMax)) return "its turbo is not 0 or 20 to 1000";
    return nullptr;
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
