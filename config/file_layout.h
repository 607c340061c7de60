// Where everything lies in the configuration file, and the range the editor
// keeps for each setting: the one table that the loader, the writer, the
// editor and quellpad-cfg all read.
#pragma once

#include <cstdint>

#include "config/configuration.h"

constexpr uint32_t kTableBytes = sizeof(ActionRecord) * kPortCount * kSlotCount;  // 6688
constexpr int kSettingCount = 9;
constexpr uint32_t kConfigFileSize = kTableBytes + kSettingCount * 4;  // 6724

struct SettingLayout {
    const char* name;  // as quellpad-cfg writes it
    int32_t Settings::*member;
    uint32_t offset;   // in the file, little-endian 32 bits
    bool isSwitch;     // a check box in the editor
    int32_t low, high;  // the range the editor keeps
};

// The settings follow the table in this order, not in declaration order.
inline constexpr SettingLayout kSettingLayout[kSettingCount] = {
    {"continuous", &Settings::continuous, kTableBytes + 0, true, 0, 1},
    {"sensitivity", &Settings::sensitivity, kTableBytes + 4, false, 1, 60},
    {"xStep", &Settings::xStep, kTableBytes + 8, false, 1, 40},
    {"yStep", &Settings::yStep, kTableBytes + 12, false, 1, 40},
    {"delay", &Settings::delay, kTableBytes + 16, false, 0, 200},
    {"dynamic", &Settings::dynamic, kTableBytes + 20, true, 0, 1},
    {"toggleLock", &Settings::toggleLock, kTableBytes + 24, true, 0, 1},
    {"digital", &Settings::digital, kTableBytes + 28, true, 0, 1},
    {"dosMode", &Settings::dosMode, kTableBytes + 32, true, 0, 1},
};
static_assert(sizeof(Configuration::MappingTable) == kTableBytes);
static_assert(kSettingLayout[kSettingCount - 1].offset + 4 == kConfigFileSize);

// After the 6724 bytes a file may carry chunks: a 4-byte ASCII tag, the
// payload's length (32 bits, little-endian), the payload. Readers that know
// only the 6724 bytes never look further, so they load any newer file. Each
// tag's chunk is found wherever it sits, the first of a tag decides, and
// unknown tags are passed over (config/file_chunks.h).
constexpr uint32_t kChunkHeaderSize = 8;
constexpr uint32_t kChunkTagSize = 4;
// HATS: the hat slots, ports 1 and 2, each up, right, down, left: 608 bytes.
// Written only when some hat binding is not all zero.
constexpr uint32_t kHatsChunkSize = sizeof(ActionRecord) * kPortCount * kHatSlotCount;
inline constexpr uint8_t kHatsChunkHeader[kChunkHeaderSize] = {
    'H', 'A', 'T', 'S', uint8_t(kHatsChunkSize), uint8_t(kHatsChunkSize >> 8), 0, 0};
static_assert(sizeof(Configuration::HatTable) == kHatsChunkSize && kHatsChunkSize == 608);

// PADS: what each port reads, one byte a port (0 the driver, 1 to 4 the
// Xbox controller of that XInput user index). Written only when a port does
// not read the driver, and before HATS, as older versions read it only there.
constexpr uint32_t kPadsChunkSize = kPortCount;
constexpr uint8_t kMaxPadSource = 4;

// LYR1 .. LYR7 (the tag's fourth byte is the digit): that layer's bindings,
// port 1's 48 slots then port 2's, records of 76 bytes as in the table.
// Written only when one of its records holds a byte other than zero.
constexpr uint32_t kLayerChunkSize = sizeof(ActionRecord) * kPortCount * kAllSlotCount;
static_assert(sizeof(Configuration::layers[0]) == kLayerChunkSize && kLayerChunkSize == 7296);

// BHVR: 8 bytes for each (layer, port, slot) whose behaviour is not all zero,
// sorted by layer, port, slot: u8 layer (0 the base), u8 port, u8 slot, u8
// layerAction, u8 layerTarget, u8 0, u16 turbo. Written only when there is one.
constexpr uint32_t kBehaviourEntrySize = 8;
constexpr uint32_t kBehaviourKeys = (kLayerCount + 1) * kPortCount * kAllSlotCount;

// The layout entry of one setting.
constexpr const SettingLayout& SettingLayoutOf(int32_t Settings::*member)
{
    for (const SettingLayout& setting : kSettingLayout) {
        if (setting.member == member) return setting;
    }
    return kSettingLayout[0];  // unreachable for a member of Settings
}
