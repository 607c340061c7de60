// The configuration file: the MappingTable, then nine settings (6724 bytes),
// then the chunks of config/file_chunks.h that have something to say. Loads
// and saves work on values and say what happened; they show nothing, so a file can be read
// without a box popping up over a game and without touching what runs.
#pragma once

#include <cstdint>

#include "config/configuration.h"
#include "config/file_chunks.h"
#include "config/file_layout.h"

struct LoadOutcome {
    enum Kind : uint8_t {
        NOT_OPENED,   // no file: nothing changed
        TABLE_SHORT,  // abandoned: the table, hats, layers and behaviours are cleared, the settings kept
        READ,         // the table, and settingsRead of the settings
    } kind;
    uint8_t settingsRead;  // 0..9, in file order; the rest keep their values
    bool chunkDamaged;     // a chunk cut short, a known tag's first chunk of another length or with a value it cannot use
    bool chunkUnknown;     // a chunk of a tag this version does not know
};

struct SaveOutcome {
    enum Kind : uint8_t {
        WRITTEN,       // the file holds the configuration
        NOT_CREATED,   // no temporary file could be made beside the target
        NOT_WRITTEN,   // failedParts parts did not go in; the old file stays
        NOT_REPLACED,  // complete, but it could not take the target's place
    } kind;
    uint8_t failedParts;  // each part is attempted, so a full disk may fail several
};

// The words the user is told of an outcome, or nullptr for one worth no
// message. The shell shows them; a save that failed several parts shows its
// text once for each.
const char* OutcomeText(const LoadOutcome& outcome);
const char* OutcomeText(const SaveOutcome& outcome);

// Reads the file at path into config. What the file lacks keeps config's
// values, so a reload starts from what runs; an abandoned load clears the
// bindings and keeps the settings.
LoadOutcome LoadConfig(const char* path, Configuration& config);

// Writes config to path: the 6724 bytes, the chunks that have something to
// say in the table's order, then tailSize bytes of tail (chunks quellpad-cfg
// keeps byte for byte). The old file is replaced only once every byte of the
// new one was written, and never when it is read-only; the new one is written
// under a name nothing had before. An end from 6688 to 6723 instead ends the
// file there, inside the settings, as an older or damaged file may: the
// setting cut short gives its low bytes, and no hats or tail follow.
SaveOutcome SaveConfig(const char* path, const Configuration& config, const void* tail = nullptr,
                       uint32_t tailSize = 0, uint32_t end = kConfigFileSize);
