// The chunks after the 6724 bytes, one row per tag: the loader, the writer
// and quellpad-cfg all walk this table. A new kind of chunk is a new row and
// its functions; nothing else needs to learn its tag.
#pragma once

#include <cstdint>

#include "config/configuration.h"
#include "config/file_layout.h"

struct FileChunk {
    char tag[kChunkTagSize];
    uint32_t length;  // of the payload: a chunk of another length is damaged
    // What the program takes when the file has no usable chunk of this tag.
    void (*clear)(Configuration& config);
    // The payload of length bytes into config; false when it held a value the
    // program cannot use, which is then taken as without the chunk.
    bool (*read)(const uint8_t* payload, Configuration& config);
    // The payload the writer writes, length bytes.
    const void* (*bytes)(const Configuration& config);
    // Written when: without anything to say, the file stays what it was.
    bool (*written)(const Configuration& config);
    // For quellpad-cfg: what the chunk holds, what the program does without
    // it, and what check says of a chunk the writer would not write.
    const char* holds;
    const char* without;
    const char* empty;  // nullptr: nothing to say
};

// In the order the writer writes them: PADS, then HATS.
constexpr int kFileChunkCount = 2;
extern const FileChunk kFileChunks[kFileChunkCount];
// The longest payload of a known tag, which the loader reads whole before it
// takes any of it: a chunk cut short changes nothing.
constexpr uint32_t kMaxChunkLength = kHatsChunkSize;

// The row of a tag (its first kChunkTagSize bytes), or nullptr when unknown.
const FileChunk* FindFileChunk(const void* tag);
// The header the writer puts before the chunk's payload.
void ChunkHeader(const FileChunk& chunk, uint8_t (&header)[kChunkHeaderSize]);

// Whether a hat record binds anything: on, or a modifier, key, text or
// mouse action ticked. Only then does a file carry the hats' chunk.
bool HatBound(const ActionRecord& record);
bool AnyHatBinding(const ActionRecord (&hats)[kPortCount][kHatSlotCount]);
// Whether some port reads another source than the driver: only then does a
// file carry the PADS chunk.
bool AnyPadSource(const Configuration& config);
