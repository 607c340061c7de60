// The chunks after the 6724 bytes, one row per tag: the loader, the writer
// and quellpad-cfg all walk this table. A new kind of chunk is a new row and
// its functions; nothing else needs to learn its tag.
#pragma once

#include <cstdint>

#include "config/configuration.h"
#include "config/file_layout.h"

// Which (layer, port, slot) a chunk of entries has given a value so far:
// the first entry of each decides.
struct EntryMarks {
    bool taken[kBehaviourKeys];
};

struct FileChunk {
    char tag[kChunkTagSize];
    // Of the payload: a chunk of another length is damaged. For a chunk of
    // entries, of one entry, and the payload is any number of them.
    uint32_t length;
    bool entries;
    // What the program takes when the file has no usable chunk of this tag.
    void (*clear)(Configuration& config);
    // The payload of length bytes (one entry of a chunk of entries) into
    // config; false when it held a value the program cannot use, which is
    // then taken as without the chunk (without that entry).
    bool (*read)(const uint8_t* payload, Configuration& config, EntryMarks& marks);
    // The payload the writer writes, put into out (kMaxChunkLength bytes of
    // room); its length.
    uint32_t (*payload)(const Configuration& config, uint8_t* out);
    // Written when: without anything to say, the file stays what it was.
    bool (*written)(const Configuration& config);
    // For quellpad-cfg: what the chunk holds, what the program does without
    // it, and what check says of a chunk the writer would not write.
    const char* holds;
    const char* without;
    const char* empty;  // nullptr: nothing to say
};

// In the order the writer writes them: PADS, HATS, LYR1 .. LYR7, BHVR.
constexpr int kFileChunkCount = 3 + kLayerCount;
extern const FileChunk kFileChunks[kFileChunkCount];
// The longest payload the writer writes, and the most the loader reads at a
// time: a fixed chunk whole before it takes any of it, entries in blocks.
// A chunk cut short changes nothing.
constexpr uint32_t kMaxChunkLength = kLayerChunkSize;

// The row of a tag (its first kChunkTagSize bytes), or nullptr when unknown.
const FileChunk* FindFileChunk(const void* tag);
// The header the writer puts before a payload of length bytes.
void ChunkHeader(const FileChunk& chunk, uint32_t length, uint8_t (&header)[kChunkHeaderSize]);

// Why the program ignores a BHVR entry ("its layer is past 7"), or nullptr
// for an entry it can use. A later entry of the same (layer, port, slot) is
// ignored too, whatever it holds.
const char* BehaviourEntryFault(const uint8_t* entry);

// Whether a behaviour does anything: only then does it get a BHVR entry.
inline bool BehaviourSet(const SlotBehaviour& behaviour)
{
    return behaviour.layerAction != 0 || behaviour.layerTarget != 0 || behaviour.turbo != 0;
}

// Whether a hat record binds anything: on, or a modifier, key, text or
// mouse action ticked. Only then does a file carry the hats' chunk.
bool HatBound(const ActionRecord& record);
bool AnyHatBinding(const ActionRecord (&hats)[kPortCount][kHatSlotCount]);
// Whether some port reads another source than the driver: only then does a
// file carry the PADS chunk.
bool AnyPadSource(const Configuration& config);
