// Loading and saving the configuration file: its 6724 bytes and the hats' chunk.
#include "config/config_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/config_messages.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "config/config_path.h"
#include "engine/joystick_report.h"
#include "tests/fake_platform.h"

namespace {

const std::string kPath = "C:\\Tools\\quellpad.CFG";
const std::string kTemporary = "C:\\Tools\\~qp0.tmp";  // the first name a save tries
constexpr uint32_t kTableSize = sizeof running.config.MappingTable;
constexpr const char* kCannotOpen = "config file could not be opened\nplease configure first";
constexpr const char* kCannotRead = "error reading file\nplease configure first";
constexpr const char* kCannotCreate = "file could not be created";
constexpr const char* kCannotWrite = "error writing file";

// A load of the current file straight into what runs, without the shell.
LoadOutcome::Kind LoadRunning()
{
    return LoadConfig(running.configPath, running.config).kind;
}

// A load as the main window makes it, followed by the limits unless abandoned.
bool Reload()
{
    return HandleMainWindowMessage(WM_RELOADCONFIG, 0, 0) == RUN_DEFAULT;
}

// The settings as they stand in the file, which is not their declaration order.
struct SettingInFile {
    const char* name;
    uint32_t offset;
    int32_t Settings::*field;
};
// clang-format off
constexpr SettingInFile kFileOrder[] = {
    {"continuous", 6688, &Settings::continuous}, {"sensitivity", 6692, &Settings::sensitivity},
    {"xStep", 6696, &Settings::xStep},           {"yStep", 6700, &Settings::yStep},
    {"delay", 6704, &Settings::delay},           {"dynamic", 6708, &Settings::dynamic},
    {"toggleLock", 6712, &Settings::toggleLock}, {"digital", 6716, &Settings::digital},
    {"dosMode", 6720, &Settings::dosMode},
};
// clang-format on
using FileSettings = std::array<int32_t, 9>;

FileSettings CurrentSettings()
{
    FileSettings values{};
    for (size_t i = 0; i < values.size(); ++i) values[i] = running.config.settings.*kFileOrder[i].field;
    return values;
}

void SetSettings(const FileSettings& values)
{
    for (size_t i = 0; i < values.size(); ++i) running.config.settings.*kFileOrder[i].field = values[i];
}

int32_t LittleEndianAt(const std::vector<uint8_t>& bytes, uint32_t offset)
{
    uint32_t value = 0;
    for (uint32_t i = 0; i < 4; ++i) value |= uint32_t(bytes.at(offset + i)) << (8 * i);
    return int32_t(value);
}

void PutLittleEndian(std::vector<uint8_t>& bytes, uint32_t offset, int32_t value)
{
    for (uint32_t i = 0; i < 4; ++i) bytes.at(offset + i) = uint8_t(uint32_t(value) >> (8 * i));
}

std::vector<uint8_t> TableBytes()
{
    std::vector<uint8_t> bytes(kTableSize);
    std::memcpy(bytes.data(), running.config.MappingTable, kTableSize);
    return bytes;
}

// Names the first byte out of place instead of dumping thousands of them.
::testing::AssertionResult SameBytes(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected)
{
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << "size " << actual.size() << ", expected " << expected.size();
    for (size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i])
            return ::testing::AssertionFailure()
                   << "byte " << i << " is " << int(actual[i]) << ", expected " << int(expected[i]);
    }
    return ::testing::AssertionSuccess();
}

// Limits left from an earlier load, which a recomputation must replace.
constexpr uint32_t kOldThreshold = 4321;
constexpr uint32_t kOldCentre = 1234;

// A clean process whose current file is the default one, with a first stick
// whose X axis spans 0..65535 so a recomputation of the limits shows.
void Fresh()
{
    ResetProgramState();
    std::strcpy(running.configPath, kPath.c_str());
    fake.caps[0].wXmax = 65535;
    running.engine.axisLimits.threshold[0][0] = kOldThreshold;
    running.engine.axisLimits.centre[0][0] = kOldCentre;
}

// A table and settings unlike the defaults: every byte random, each text
// "abc" followed by leftovers of an older, longer one; the hat bindings too
// when asked for.
void FillDistinctState(uint32_t seed, bool hats = false)
{
    std::mt19937 random(seed);
    auto* bytes = reinterpret_cast<uint8_t*>(running.config.MappingTable);
    for (uint32_t i = 0; i < kTableSize; ++i) bytes[i] = uint8_t(random());
    auto* hatBytes = reinterpret_cast<uint8_t*>(running.config.HatTable);
    for (uint32_t i = 0; hats && i < sizeof running.config.HatTable; ++i) hatBytes[i] = uint8_t(random());
    for (auto& port : running.config.MappingTable) {
        for (ActionRecord& record : port) std::memcpy(record.text, "abc", 4);
    }
    SetSettings({0x01020304, -2, INT32_MAX, INT32_MIN, 1000, 0x0A0B0C0D, 3, -1, 0x00FF00FF});
}

// A chunk after the settings: tag, little-endian length, payload.
std::vector<uint8_t> Chunk(const char* tag, uint32_t length, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> bytes(tag, tag + 4);
    for (uint32_t i = 0; i < 4; ++i) bytes.push_back(uint8_t(length >> (8 * i)));
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

std::vector<uint8_t> HatBytes()
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(running.config.HatTable);
    return std::vector<uint8_t>(bytes, bytes + sizeof running.config.HatTable);
}

std::vector<uint8_t> ExpectedFile()
{
    std::vector<uint8_t> bytes = TableBytes();
    bytes.resize(kConfigFileSize);
    for (const SettingInFile& s : kFileOrder) PutLittleEndian(bytes, s.offset, running.config.settings.*s.field);
    return bytes;
}

// --- loading ------------------------------------------------------------------

// What the user had before the load: neither the defaults nor the file's values.
constexpr FileSettings kBefore = {5, 33, 0x71000002, 7, 150, 6, 7, 8, 9};
constexpr uint8_t kBeforeByte = 0xEE;
// What the test file holds; sensitivity and delay lie beyond the editor's ranges.
constexpr FileSettings kInFile = {1, 90, 0x00020017, 12, 1000, 1, 0, 1, 0};

std::vector<uint8_t> FileOfSize(size_t size)
{
    std::vector<uint8_t> bytes(size > kConfigFileSize ? size : kConfigFileSize, 0x5A);
    for (uint32_t i = 0; i < kTableSize; ++i) bytes[i] = uint8_t(i * 37 + (i >> 8) + 1);
    for (size_t i = 0; i < kInFile.size(); ++i) PutLittleEndian(bytes, kFileOrder[i].offset, kInFile[i]);
    bytes.resize(size);
    return bytes;
}

// A file that ends two bytes into xStep: that value keeps its high half and
// takes the file's two low bytes.
constexpr FileSettings kCutInXStep = {1, 90, 0x71000017, 7, 150, 6, 7, 8, 9};

enum class TableAfter { Kept, Cleared, FromFile };

struct LoadCase {
    const char* name;
    int fileSize;  // -1: there is no file
    const char* message;
    TableAfter table;
    FileSettings settingsAfter;
    uint32_t xThreshold;  // 65535 * sensitivity / 100 when recomputed
    bool recomputed;
    bool result;
    LoadOutcome::Kind kind;
    int settingsRead;
};

// clang-format off
const LoadCase kLoadCases[] = {
    {"Missing",             -1,   kCannotOpen, TableAfter::Kept,     kBefore, 21626, true,  true, LoadOutcome::NOT_OPENED, 0},
    {"Empty",               0,    kCannotRead, TableAfter::Cleared,  kBefore, kOldThreshold, false, false, LoadOutcome::TABLE_SHORT, 0},
    {"OneByteShortOfTable", 6687, kCannotRead, TableAfter::Cleared,  kBefore, kOldThreshold, false, false, LoadOutcome::TABLE_SHORT, 0},
    {"FirstStickOnly",      3344, kCannotRead, TableAfter::Cleared,  kBefore, kOldThreshold, false, false, LoadOutcome::TABLE_SHORT, 0},
    {"TableOnly",           6688, nullptr,     TableAfter::FromFile, kBefore, 21626, true,  true, LoadOutcome::READ, 0},
    {"EndsInsideXStep",     6698, nullptr,     TableAfter::FromFile, kCutInXStep, 58981, true,  true, LoadOutcome::READ, 2},
    {"Complete",            6724, nullptr,     TableAfter::FromFile, kInFile, 58981, true,  true, LoadOutcome::READ, 9},
    {"TailIgnored",         7000, nullptr,     TableAfter::FromFile, kInFile, 58981, true,  true, LoadOutcome::READ, 9},
};
// clang-format on

void PrintTo(const LoadCase& c, std::ostream* out)
{
    *out << c.name;
}

class LoadBySize : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadBySize, MessageTableSettingsAndLimits)
{
    const LoadCase& c = GetParam();
    Fresh();
    std::memset(running.config.MappingTable, kBeforeByte, kTableSize);
    std::memset(running.config.layers, kBeforeByte, sizeof running.config.layers);
    SetSettings(kBefore);
    const std::vector<uint8_t> file = FileOfSize(c.fileSize < 0 ? 0 : size_t(c.fileSize));
    if (c.fileSize >= 0) PutFakeFile(kPath.c_str(), file);
    Configuration value = running.config;
    const LoadOutcome outcome = LoadConfig(running.configPath, value);
    EXPECT_EQ(outcome.kind, c.kind);
    EXPECT_EQ(outcome.settingsRead, c.settingsRead);
    EXPECT_TRUE(Events().empty()) << "a load itself shows nothing";

    const bool result = Reload();

    std::vector<Event> expected;
    if (c.message != nullptr) expected.push_back(Message("error", c.message));
    EXPECT_EQ(Events(), expected);
    switch (c.table) {
    case TableAfter::Kept:
        EXPECT_TRUE(SameBytes(TableBytes(), std::vector<uint8_t>(kTableSize, kBeforeByte)));
        break;
    case TableAfter::Cleared:
        EXPECT_TRUE(SameBytes(TableBytes(), std::vector<uint8_t>(kTableSize, 0)));
        break;
    case TableAfter::FromFile:
        EXPECT_TRUE(SameBytes(TableBytes(), std::vector<uint8_t>(file.begin(), file.begin() + kTableSize)));
        break;
    }
    EXPECT_EQ(CurrentSettings(), c.settingsAfter);
    // The layers go with the table: an abandoned load turns them off too, as any file without their chunks does.
    const auto* layers = reinterpret_cast<const uint8_t*>(running.config.layers);
    EXPECT_EQ(std::count(layers, layers + sizeof running.config.layers, c.table == TableAfter::Kept ? kBeforeByte : 0),
              long(sizeof running.config.layers));
    EXPECT_EQ(running.engine.axisLimits.threshold[0][0], c.xThreshold);
    EXPECT_EQ(running.engine.axisLimits.centre[0][0], c.recomputed ? 32767u : kOldCentre);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(fake.openHandles, 0);
    if (c.fileSize >= 0) {
        EXPECT_TRUE(SameBytes(FakeFileBytes(kPath.c_str()), file));
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, LoadBySize, ::testing::ValuesIn(kLoadCases),
                         [](const auto& param) { return std::string(param.param.name); });

// A file that ends anywhere among the settings: each value the end cuts takes
// the bytes the file still has as its low-order bytes and keeps the rest.
// Every byte differs between file and memory, so a byte out of place shows.
TEST(ConfigLoad, FileEndingAtEveryByteOfTheSettings)
{
    constexpr FileSettings kOld = {int32_t(0xA1A2A3A4), int32_t(0xB1B2B3B4), int32_t(0xC1C2C3C4),
                                   int32_t(0xD1D2D3D4), int32_t(0xE1E2E3E4), int32_t(0xF1F2F3F4),
                                   int32_t(0x91929394), int32_t(0x81828384), int32_t(0x71727374)};
    constexpr FileSettings kNew = {0x01020304, 0x11121314, 0x21222324, 0x31323334, 0x41424344,
                                   0x51525354, 0x61626364, 0x05060708, 0x15161718};
    std::vector<uint8_t> whole = FileOfSize(kConfigFileSize);
    for (size_t i = 0; i < kNew.size(); ++i) PutLittleEndian(whole, kFileOrder[i].offset, kNew[i]);

    for (uint32_t size = kTableSize; size <= kConfigFileSize; ++size) {
        SCOPED_TRACE(testing::Message() << "file of " << size << " bytes");
        Fresh();
        SetSettings(kOld);
        PutFakeFile(kPath.c_str(), std::vector<uint8_t>(whole.begin(), whole.begin() + size));

        EXPECT_EQ(LoadRunning(), LoadOutcome::READ);

        FileSettings expected = kOld;
        for (size_t i = 0; i < expected.size(); ++i) {
            const uint32_t offset = kFileOrder[i].offset;
            const uint32_t present = size <= offset ? 0 : size - offset >= 4 ? 4 : size - offset;
            const uint32_t fromFile = present == 4 ? 0xFFFFFFFFu : (1u << (8 * present)) - 1;
            expected[i] = int32_t((uint32_t(kOld[i]) & ~fromFile) | (uint32_t(kNew[i]) & fromFile));
        }
        EXPECT_EQ(CurrentSettings(), expected);
        EXPECT_TRUE(Events().empty());
        EXPECT_TRUE(SameBytes(TableBytes(), std::vector<uint8_t>(whole.begin(), whole.begin() + kTableSize)));
        EXPECT_EQ(fake.openHandles, 0);
    }
}

// The chunks after the 6724 bytes: each read from its tag's first whole
// chunk only, as without it otherwise, and written back only when it has
// something to say, in the writer's order.
TEST(ConfigLoad, HatChunkReadAndWrittenBack)
{
    std::vector<uint8_t> hats(608);
    for (size_t i = 0; i < hats.size(); ++i) hats[i] = uint8_t(i * 7 + 3);
    std::vector<uint8_t> cut = Chunk("HATS", 608, hats);
    cut.pop_back();
    std::vector<uint8_t> unknownFirst = Chunk("XTRA", 5, {1, 2, 3, 4, 5});
    const std::vector<uint8_t> whole = Chunk("HATS", 608, hats);
    unknownFirst.insert(unknownFirst.end(), whole.begin(), whole.end());
    std::vector<uint8_t> wrongLengthFirst = Chunk("HATS", 4, {1, 2, 3, 4});
    wrongLengthFirst.insert(wrongLengthFirst.end(), whole.begin(), whole.end());
    // What the editor stores for a hat page left unbound: no key, no mouse action.
    std::vector<uint8_t> unbound(608, 0);
    for (size_t record = 0; record < 8; ++record) {
        std::fill_n(unbound.begin() + long(record * 76 + 20), 4, 0xFF);
        std::fill_n(unbound.begin() + long(record * 76 + 72), 4, 0xFF);
    }
    const std::vector<uint8_t> xbox2 = Chunk("PADS", 2, {0, 2});
    std::vector<uint8_t> padsThenHats = xbox2, hatsThenPads = whole;
    padsThenHats.insert(padsThenHats.end(), whole.begin(), whole.end());
    hatsThenPads.insert(hatsThenPads.end(), xbox2.begin(), xbox2.end());
    std::vector<uint8_t> unknownBetween = whole, twoPads = xbox2;
    const std::vector<uint8_t> unknown = Chunk("LYR9", 3, {7, 7, 7}), xbox1 = Chunk("PADS", 2, {1, 0});
    unknownBetween.insert(unknownBetween.end(), unknown.begin(), unknown.end());
    unknownBetween.insert(unknownBetween.end(), xbox2.begin(), xbox2.end());
    twoPads.insert(twoPads.end(), xbox1.begin(), xbox1.end());
    twoPads.insert(twoPads.end(), whole.begin(), whole.end());
    // A layer's 96 records, and behaviours: port 1's button 5 holds layer 2,
    // layer 2's port 2 hat left repeats every second.
    std::vector<uint8_t> layerBytes(7296);
    for (size_t i = 0; i < layerBytes.size(); ++i) layerBytes[i] = uint8_t(i * 5 + 1);
    auto layer = [&layerBytes](int n, uint32_t length = 7296) {
        const char tag[] = {'L', 'Y', 'R', char('0' + n), 0};
        return Chunk(tag, length, std::vector<uint8_t>(layerBytes.begin(), layerBytes.begin() + std::min(length, 7296u)));
    };
    const std::vector<uint8_t> holdLayer2 = {0, 0, 4, 1, 2, 0, 0, 0}, turboSecond = {2, 1, 47, 0, 0, 0, 0xE8, 0x03};
    auto join = [](std::initializer_list<std::vector<uint8_t>> parts) {
        std::vector<uint8_t> all;
        for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const std::vector<uint8_t> behaviours = join({holdLayer2, turboSecond});
    const std::vector<uint8_t> outOfRange = join({{8, 0, 0, 0, 0, 0, 0, 0}, {0, 2, 0, 0, 0, 0, 0, 0}, {0, 0, 48, 0, 0, 0, 0, 0},
                                                  {0, 0, 0, 3, 1, 0, 0, 0}, {0, 0, 0, 1, 0, 0, 0, 0}, {0, 0, 0, 2, 8, 0, 0, 0},
                                                  {0, 0, 0, 0, 1, 0, 0, 0}, {0, 0, 0, 1, 1, 1, 0, 0}, {0, 0, 0, 0, 0, 0, 19, 0},
                                                  {0, 0, 0, 0, 0, 0, 0xE9, 0x03}, holdLayer2});
    const struct {
        const char* name;
        std::vector<uint8_t> after;  // the bytes after the settings
        std::vector<uint8_t> hatsRead;  // empty: hats off
        bool written;  // a save writes the chunk back
        bool damaged, unknown;
        std::array<uint8_t, 2> sources;  // what the ports read; a save writes PADS when not both 0
        int layer = 0;                   // the layer that holds layerBytes; the others hold nothing
        std::vector<uint8_t> entries;    // the BHVR entries a save writes back
    } cases[] = {
        {"no chunk: the file of before, hats off", {}, {}, false, false, false},
        {"a chunk", whole, hats, true, false, false},
        {"an unknown chunk before it is passed over", unknownFirst, hats, true, false, true},
        {"a cut chunk is no chunk", cut, {}, false, true, false},
        {"a wrong length is no HATS", Chunk("HATS", 607, std::vector<uint8_t>(hats.begin(), hats.end() - 1)), {}, false, true, false},
        {"the first HATS decides: a wrong length turns hats off before a whole one", wrongLengthFirst, {}, false, true, false},
        {"hat records that bind nothing are read, and saved as the 6724 bytes alone", Chunk("HATS", 608, unbound), unbound, false, false, false},
        {"PADS, then HATS: port 2 reads Xbox controller 2", padsThenHats, hats, true, false, false, {0, 2}},
        {"PADS alone", xbox2, {}, false, false, false, {0, 2}},
        {"PADS after HATS is read, and saved before it", hatsThenPads, hats, true, false, false, {0, 2}},
        {"HATS, an unknown chunk, PADS", unknownBetween, hats, true, false, true, {0, 2}},
        {"two PADS: the first decides", twoPads, hats, true, false, false, {0, 2}},
        {"a PADS byte past 4 reads the driver", Chunk("PADS", 2, {3, 5}), {}, false, true, false, {3, 0}},
        {"a PADS of another length reads the driver", Chunk("PADS", 3, {1, 1, 1}), {}, false, true, false},
        {"LYR1", layer(1), {}, false, false, false, {}, 1},
        {"LYR2", layer(2), {}, false, false, false, {}, 2},
        {"LYR3", layer(3), {}, false, false, false, {}, 3},
        {"LYR4", layer(4), {}, false, false, false, {}, 4},
        {"LYR5", layer(5), {}, false, false, false, {}, 5},
        {"LYR6", layer(6), {}, false, false, false, {}, 6},
        {"LYR7", layer(7), {}, false, false, false, {}, 7},
        {"an LYR of zeros is read, and saved as nothing", Chunk("LYR4", 7296, std::vector<uint8_t>(7296, 0)), {}, false, false, false},
        {"an LYR of another length leaves the layer empty", join({layer(3, 7295), layer(3)}), {}, false, true, false},
        {"an LYR cut short is no chunk", Chunk("LYR6", 7296, std::vector<uint8_t>(7295, 1)), {}, false, true, false},
        {"BHVR", Chunk("BHVR", 16, behaviours), {}, false, false, false, {}, 0, behaviours},
        {"BHVR values out of range are ignored entry by entry", Chunk("BHVR", 88, outOfRange), {}, false, true, false, {}, 0, holdLayer2},
        {"the first BHVR entry of a slot decides", Chunk("BHVR", 16, join({holdLayer2, {0, 0, 4, 2, 3, 0, 0, 0}})), {}, false, true, false, {}, 0, holdLayer2},
        {"a first BHVR entry that sets nothing decides too", Chunk("BHVR", 16, join({{0, 0, 4, 0, 0, 0, 0, 0}, holdLayer2})), {}, false, true, false},
        {"a BHVR length not a multiple of 8 is no chunk", Chunk("BHVR", 12, join({holdLayer2, {0, 0, 0, 0}})), {}, false, true, false},
        {"a BHVR cut short is no chunk", Chunk("BHVR", 24, behaviours), {}, false, true, false},
        {"BHVR, LYR2, HATS: saved as HATS, LYR2, BHVR", join({Chunk("BHVR", 16, behaviours), layer(2), whole}), hats, true, false, false, {}, 2, behaviours},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        std::memset(running.config.HatTable, kBeforeByte, sizeof running.config.HatTable);  // from an earlier load
        std::memset(running.config.layers, kBeforeByte, sizeof running.config.layers);
        std::memset(running.config.behaviour, kBeforeByte, sizeof running.config.behaviour);
        std::vector<uint8_t> file = FileOfSize(kConfigFileSize);
        file.insert(file.end(), c.after.begin(), c.after.end());
        PutFakeFile(kPath.c_str(), file);

        const LoadOutcome outcome = LoadConfig(running.configPath, running.config);
        EXPECT_EQ(outcome.kind, LoadOutcome::READ);
        EXPECT_EQ(outcome.chunkDamaged, c.damaged);
        EXPECT_EQ(outcome.chunkUnknown, c.unknown);
        EXPECT_TRUE(Events().empty());
        EXPECT_EQ(CurrentSettings(), kInFile);
        EXPECT_TRUE(SameBytes(HatBytes(), c.hatsRead.empty() ? std::vector<uint8_t>(608, 0) : c.hatsRead));
        EXPECT_EQ(running.config.portSource[0], c.sources[0]);
        EXPECT_EQ(running.config.portSource[1], c.sources[1]);
        for (int n = 1; n <= kLayerCount; ++n) {
            const auto* bytes = reinterpret_cast<const uint8_t*>(running.config.layers[n - 1]);
            EXPECT_TRUE(SameBytes(std::vector<uint8_t>(bytes, bytes + 7296), n == c.layer ? layerBytes : std::vector<uint8_t>(7296, 0))) << n;
        }

        SaveRunningConfig();
        std::vector<uint8_t> saved = FileOfSize(kConfigFileSize);
        if (c.sources[0] != 0 || c.sources[1] != 0) {
            const std::vector<uint8_t> pads = Chunk("PADS", 2, {c.sources[0], c.sources[1]});
            saved.insert(saved.end(), pads.begin(), pads.end());
        }
        if (c.written) saved.insert(saved.end(), whole.begin(), whole.end());
        if (c.layer != 0) saved = join({saved, layer(c.layer)});
        if (!c.entries.empty()) saved = join({saved, Chunk("BHVR", uint32_t(c.entries.size()), c.entries)});
        EXPECT_TRUE(SameBytes(FakeFileBytes(kPath.c_str()), saved));
        EXPECT_EQ(fake.openHandles, 0);
    }
}

TEST(ConfigLoad, FirstStartWithoutFileKeepsDefaultsAndComputesLimits)
{
    ResetProgramState();
    fake.caps[0].wXmax = 65535;
    fake.caps[1].wYmin = 100;
    fake.caps[1].wYmax = 1100;
    DefaultConfigPath(running.configPath);

    EXPECT_TRUE(Reload());

    EXPECT_EQ(Events(), std::vector<Event>{Message("error", kCannotOpen)});
    EXPECT_TRUE(SameBytes(TableBytes(), std::vector<uint8_t>(kTableSize, 0)));
    const Settings& s = running.config.settings;
    EXPECT_EQ((FileSettings{s.xStep, s.yStep, s.continuous, s.dynamic, s.toggleLock, s.digital, s.dosMode,
                            s.sensitivity, s.delay}),
              (FileSettings{8, 8, 0, 0, 0, 0, 0, 20, 1}));
    EXPECT_EQ(running.engine.axisLimits.threshold[0][0], 13107u);
    EXPECT_EQ(running.engine.axisLimits.centre[0][0], 32767u);
    EXPECT_EQ(running.engine.axisLimits.threshold[1][1], 200u);  // Y of the second stick
    EXPECT_EQ(running.engine.axisLimits.centre[1][1], 500u);
}

TEST(ConfigLoad, ReadFaults)
{
    struct Fault {
        int call;  // 0: the table, 1..9: the settings in file order
        int32_t result;
    };
    std::vector<Fault> faults = {{0, -1}, {0, 0}, {0, 6687}};
    for (int call = 1; call <= 9; ++call) faults.push_back({call, -1});

    for (const Fault& f : faults) {
        SCOPED_TRACE(testing::Message() << "read " << f.call << " answers " << f.result);
        Fresh();
        std::memset(running.config.MappingTable, kBeforeByte, kTableSize);
        SetSettings(kBefore);
        const std::vector<uint8_t> file = FileOfSize(kConfigFileSize);
        PutFakeFile(kPath.c_str(), file);
        fake.failReadCall = f.call;
        fake.failReadResult = f.result;

        const bool result = Reload();

        EXPECT_EQ(fake.openHandles, 0);
        if (f.call == 0) {
            EXPECT_FALSE(result);
            EXPECT_EQ(Events(), std::vector<Event>{Message("error", kCannotRead)});
            EXPECT_TRUE(SameBytes(TableBytes(), std::vector<uint8_t>(kTableSize, 0)));
            EXPECT_EQ(CurrentSettings(), kBefore);
            EXPECT_EQ(running.engine.axisLimits.threshold[0][0], kOldThreshold);
            EXPECT_EQ(running.engine.axisLimits.centre[0][0], kOldCentre);
        } else {
            // A bad read among the settings is silent and keeps that value.
            EXPECT_TRUE(result);
            EXPECT_TRUE(Events().empty());
            EXPECT_TRUE(
                SameBytes(TableBytes(), std::vector<uint8_t>(file.begin(), file.begin() + kTableSize)));
            EXPECT_EQ(CurrentSettings()[size_t(f.call - 1)], kBefore[size_t(f.call - 1)]);
            EXPECT_EQ(running.engine.axisLimits.centre[0][0], 32767u);
        }
    }
}

// --- saving -------------------------------------------------------------------

TEST(ConfigSave, RoundTripGivesBackEveryByte)
{
    Fresh();
    FillDistinctState(7);
    const std::vector<uint8_t> table = TableBytes();
    const FileSettings values = CurrentSettings();

    EXPECT_TRUE(SaveRunningConfig());
    EXPECT_TRUE(Events().empty());
    EXPECT_TRUE(SameBytes(FakeFileBytes(kPath.c_str()), ExpectedFile()));
    EXPECT_EQ(fake.lastCreated, kTemporary);  // beside the target, so the swap stays on one volume
    EXPECT_EQ(FindFakeFile(kTemporary.c_str()), nullptr);

    std::memset(running.config.MappingTable, 0, kTableSize);
    running.config.settings = Settings{};
    EXPECT_EQ(LoadRunning(), LoadOutcome::READ);
    EXPECT_TRUE(Events().empty());
    EXPECT_TRUE(SameBytes(TableBytes(), table));
    EXPECT_EQ(CurrentSettings(), values);
    EXPECT_EQ(fake.openHandles, 0);
}

TEST(ConfigSave, FileIsExactly6724BytesWhateverWasThere)
{
    for (const int oldSize : {-1, 0, 100, 6724, 7000, 16000}) {
        SCOPED_TRACE(testing::Message() << "old file of " << oldSize << " bytes");
        Fresh();
        if (oldSize >= 0) PutFakeFile(kPath.c_str(), std::vector<uint8_t>(size_t(oldSize), 0xA5));
        FillDistinctState(uint32_t(oldSize + 2));

        SaveRunningConfig();

        EXPECT_TRUE(Events().empty());
        EXPECT_TRUE(SameBytes(FakeFileBytes(kPath.c_str()), ExpectedFile()));
        EXPECT_EQ(fake.openHandles, 0);
    }
}

TEST(ConfigSave, RecordFieldsAtTheirOffsets)
{
    struct Field {
        const char* name;
        uint32_t offset;
        int32_t ActionRecord::*member;
    };
    // clang-format off
    constexpr Field kFields[] = {
        {"on", 0, &ActionRecord::on},              {"shift", 4, &ActionRecord::shift},
        {"control", 8, &ActionRecord::control},    {"alt", 12, &ActionRecord::alt},
        {"sendKey", 16, &ActionRecord::sendKey},   {"keyCode", 20, &ActionRecord::keyCode},
        {"sendText", 24, &ActionRecord::sendText}, {"sendMouse", 68, &ActionRecord::sendMouse},
        {"mouseAction", 72, &ActionRecord::mouseAction},
    };
    // clang-format on
    constexpr int kPlaces[][2] = {{0, 0}, {0, 1}, {0, 31}, {0, 43}, {1, 0}, {1, 32}, {1, 43}};

    Fresh();
    for (const auto& place : kPlaces) {
        ActionRecord& record = running.config.MappingTable[place[0]][place[1]];
        int32_t value = (place[0] * 100 + place[1]) << 8;
        for (const Field& f : kFields) record.*f.member = ++value;
        std::snprintf(record.text, sizeof record.text, "port %d slot %d", place[0], place[1]);
    }
    SaveRunningConfig();
    const std::vector<uint8_t> file = FakeFileBytes(kPath.c_str());
    ASSERT_EQ(file.size(), kConfigFileSize);

    for (const auto& place : kPlaces) {
        const uint32_t base = uint32_t(place[0]) * 3344 + uint32_t(place[1]) * 76;
        int32_t value = (place[0] * 100 + place[1]) << 8;
        for (const Field& f : kFields) {
            EXPECT_EQ(LittleEndianAt(file, base + f.offset), ++value)
                << f.name << " of port " << place[0] << " slot " << place[1];
        }
        char text[kTextSize] = {};
        std::snprintf(text, sizeof text, "port %d slot %d", place[0], place[1]);
        EXPECT_EQ(0, std::memcmp(file.data() + base + 28, text, kTextSize))
            << "text of port " << place[0] << " slot " << place[1];
    }
}

TEST(ConfigSave, SettingsInFileOrder)
{
    Fresh();
    int32_t value = 0x51000000;
    for (const SettingInFile& s : kFileOrder) running.config.settings.*s.field = ++value;
    SaveRunningConfig();
    const std::vector<uint8_t> file = FakeFileBytes(kPath.c_str());
    ASSERT_EQ(file.size(), kConfigFileSize);
    value = 0x51000000;
    for (const SettingInFile& s : kFileOrder) EXPECT_EQ(LittleEndianAt(file, s.offset), ++value) << s.name;
}

// Every file there is, so a temporary file left behind shows.
std::vector<std::string> FilesOnDisk()
{
    std::vector<std::string> names;
    for (const FakeFile& file : fake.files) {
        if (file.exists) names.push_back(file.name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<uint8_t> kPlanted = {'m', 'i', 'n', 'e'};

// Files of someone else's at the first names a save tries beside kPath.
std::vector<std::string> PlantAtTemporaryNames(int count)
{
    std::vector<std::string> names;
    for (int n = 0; n < count; ++n) {
        names.push_back("C:\\Tools\\~qp" + std::string(1, "0123456789abcdef"[n]) + ".tmp");
        PutFakeFile(names.back().c_str(), kPlanted);
    }
    return names;
}

// Only target and the planted files are there, and these as they were.
void ExpectOnlyTargetAndPlanted(const std::string& target, const std::vector<std::string>& planted)
{
    std::vector<std::string> expected = planted;
    expected.push_back(target);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesOnDisk(), expected);
    for (const std::string& name : planted) EXPECT_TRUE(SameBytes(FakeFileBytes(name.c_str()), kPlanted)) << name;
    EXPECT_EQ(fake.openHandles, 0);
}

// A failed save must leave the user's good file exactly as it was.
void ExpectOldFileIntact(const std::vector<uint8_t>& old, const std::vector<std::string>& planted = {})
{
    EXPECT_TRUE(SameBytes(FakeFileBytes(kPath.c_str()), old));
    ExpectOnlyTargetAndPlanted(kPath, planted);
}

class SaveWriteFault : public ::testing::TestWithParam<int> {};

TEST_P(SaveWriteFault, OneMessageEveryWriteAttemptedOldFileKept)
{
    const int call = GetParam();  // 0: the table, 1..9: the settings, 10, 11: the hats' chunk
    const int32_t count = call == 0 ? int32_t(kTableSize) : call == 10 ? 8 : call == 11 ? 608 : 4;
    for (const int32_t result : {-1, 0, 1, count - 1}) {
        SCOPED_TRACE(testing::Message() << "write answers " << result);
        Fresh();
        const std::vector<uint8_t> old = FileOfSize(kConfigFileSize);
        PutFakeFile(kPath.c_str(), old);
        FillDistinctState(uint32_t(call), true);
        const std::vector<uint8_t> table = TableBytes();
        const FileSettings values = CurrentSettings();
        fake.failWriteCall = call;
        fake.failWriteResult = result;

        const SaveOutcome outcome = SaveConfig(running.configPath, running.config);
        TellSaveOutcome(outcome);

        EXPECT_EQ(outcome.kind, SaveOutcome::NOT_WRITTEN);
        EXPECT_EQ(outcome.failedParts, 1);
        EXPECT_EQ(Events(), std::vector<Event>{Message("error", kCannotWrite)});
        EXPECT_EQ(fake.writeCalls, 12);
        ExpectOldFileIntact(old);
        EXPECT_TRUE(SameBytes(TableBytes(), table));
        EXPECT_EQ(CurrentSettings(), values);
    }
}

INSTANTIATE_TEST_SUITE_P(EachWrite, SaveWriteFault, ::testing::Range(0, 12));

// Without an old file a failed save must not leave a partial one behind: the
// next start would load it as a short file and clear every binding.
TEST(ConfigSave, FailedSaveWithoutOldFileLeavesNoFile)
{
    struct Fault {
        int writeCall;  // -1: no write fails
        int32_t result;
        bool failCreate;
        bool failReplace;
    };
    std::vector<Fault> faults = {{-1, 0, true, false}, {-1, 0, false, true}};
    for (int call = 0; call < 10; ++call) {
        for (const int32_t result : {-1, 0, call == 0 ? int32_t(kTableSize) - 1 : 3}) {
            faults.push_back({call, result, false, false});
        }
    }
    for (const Fault& f : faults) {
        SCOPED_TRACE(testing::Message() << "write " << f.writeCall << " answers " << f.result << ", create "
                                        << (f.failCreate ? "fails" : "works") << ", replace "
                                        << (f.failReplace ? "fails" : "works"));
        Fresh();
        FillDistinctState(uint32_t(f.writeCall + 20));
        fake.failWriteCall = f.writeCall;
        fake.failWriteResult = f.result;
        fake.failCreate = f.failCreate;
        fake.failReplace = f.failReplace;

        EXPECT_FALSE(SaveRunningConfig());

        EXPECT_EQ(FilesOnDisk(), std::vector<std::string>{});
        EXPECT_EQ(fake.openHandles, 0);
        const Event expected =
            f.writeCall >= 0 ? Message("error", kCannotWrite) : Message("error", kCannotCreate);
        EXPECT_EQ(Events(), std::vector<Event>{expected});
        // The next start finds no file, so it keeps what it has instead of clearing the table.
        ClearEvents();
        EXPECT_TRUE(Reload());
        EXPECT_EQ(Events(), std::vector<Event>{Message("error", kCannotOpen)});
    }
}

TEST(ConfigSave, EveryWriteFailingGivesTenMessages)
{
    Fresh();
    const std::vector<uint8_t> old = FileOfSize(kConfigFileSize);
    PutFakeFile(kPath.c_str(), old);
    fake.failEveryWrite = true;
    fake.failWriteResult = -1;

    SaveRunningConfig();

    EXPECT_EQ(Events(), std::vector<Event>(10, Message("error", kCannotWrite)));
    ExpectOldFileIntact(old);
}

TEST(ConfigSave, CreateOrReplaceFailing)
{
    struct Case {
        const char* name;
        bool failCreate;
        bool failReplace;
        bool emptyPath;
        int writes;
        bool readOnly;
        int planted;  // temporary names taken before the save
        SaveOutcome::Kind kind;
    };
    constexpr Case kCases[] = {
        {"create fails", true, false, false, 0, false, 0, SaveOutcome::NOT_CREATED},
        {"replace fails", false, true, false, 10, false, 0, SaveOutcome::NOT_REPLACED},
        {"no path", false, false, true, 0, false, 0, SaveOutcome::NOT_CREATED},
        {"read-only target", false, false, false, 10, true, 0, SaveOutcome::NOT_REPLACED},
        {"every temporary name taken", false, false, false, 0, false, 16, SaveOutcome::NOT_CREATED},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Fresh();
        const std::vector<uint8_t> old = FileOfSize(kConfigFileSize);
        PutFakeFile(kPath.c_str(), old);
        FindFakeFile(kPath.c_str())->readOnly = c.readOnly;
        const std::vector<std::string> planted = PlantAtTemporaryNames(c.planted);
        FillDistinctState(3);
        fake.failCreate = c.failCreate;
        fake.failReplace = c.failReplace;
        if (c.emptyPath) running.configPath[0] = '\0';

        const SaveOutcome outcome = SaveConfig(running.configPath, running.config);
        TellSaveOutcome(outcome);

        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(Events(), std::vector<Event>{Message("error", kCannotCreate)});
        EXPECT_EQ(fake.writeCalls, c.writes);
        ExpectOldFileIntact(old, planted);
        if (!c.emptyPath) {
            // The reload after OK brings the old file back; the edits are lost.
            ClearEvents();
            EXPECT_EQ(LoadRunning(), LoadOutcome::READ);
            EXPECT_TRUE(Events().empty());
            EXPECT_TRUE(SameBytes(TableBytes(), std::vector<uint8_t>(old.begin(), old.begin() + kTableSize)));
        }
    }
}

TEST(ConfigSave, NameWithoutExtensionIsTakenAsTyped)
{
    Fresh();
    std::strcpy(running.configPath, "D:\\Games\\mine");
    FillDistinctState(5);

    SaveRunningConfig();

    EXPECT_TRUE(Events().empty());
    EXPECT_TRUE(SameBytes(FakeFileBytes("D:\\Games\\mine"), ExpectedFile()));
    ExpectOnlyTargetAndPlanted("D:\\Games\\mine", {});
}

// The temporary file takes a name nothing had, in the target's folder, and
// fits wherever the target fits: 259 characters at most.
TEST(ConfigSave, TemporaryFileBesideTheTarget)
{
    const auto folder = [](size_t length) { return "C:\\" + std::string(length - 4, 'd') + "\\"; };
    struct Case {
        const char* name;
        std::string target;
        int planted;
        std::string temporary;
    };
    const Case kCases[] = {
        {"first name taken", kPath, 1, "C:\\Tools\\~qp1.tmp"},
        {"first three names taken", kPath, 3, "C:\\Tools\\~qp3.tmp"},
        {"259 characters", folder(247) + "quellpad.CFG", 0, folder(247) + "~qp0.tmp"},
        {"259 characters, name of 3", folder(256) + "q.c", 0, folder(256) + "~0"},
        {"259 characters, name of 1", folder(258) + "q", 0, folder(258) + "0"},
        {"name of 1 that is the first name", folder(258) + "0", 0, folder(258) + "1"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Fresh();
        ASSERT_LE(c.target.size(), 259u);
        std::strcpy(running.configPath, c.target.c_str());
        const std::vector<std::string> planted = PlantAtTemporaryNames(c.planted);
        FillDistinctState(13);

        SaveRunningConfig();

        EXPECT_TRUE(Events().empty());
        EXPECT_EQ(fake.lastCreated, c.temporary);
        EXPECT_TRUE(SameBytes(FakeFileBytes(c.target.c_str()), ExpectedFile()));
        ExpectOnlyTargetAndPlanted(c.target, planted);
    }
}

TEST(ConfigSave, ToDefaultWritesTheDefaultFileAndMakesItCurrent)
{
    Fresh();
    const char* other = "D:\\Games\\mine.CFG";
    const std::vector<uint8_t> otherBytes = FileOfSize(kConfigFileSize);
    PutFakeFile(other, otherBytes);
    std::strcpy(running.configPath, other);
    FillDistinctState(11);

    DefaultConfigPath(running.configPath);
    SaveRunningConfig();

    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(running.configPath, kPath);
    EXPECT_TRUE(SameBytes(FakeFileBytes(kPath.c_str()), ExpectedFile()));
    EXPECT_TRUE(SameBytes(FakeFileBytes(other), otherBytes));
    EXPECT_EQ(fake.openHandles, 0);
}

TEST(ConfigSave, ToDefaultWhenTheDefaultPathDoesNotFit)
{
    Fresh();
    const char* other = "D:\\Games\\mine.CFG";
    const std::vector<uint8_t> otherBytes = FileOfSize(kConfigFileSize);
    PutFakeFile(other, otherBytes);
    std::strcpy(running.configPath, other);
    std::strcpy(fake.modulePath, ("C:\\" + std::string(256, 'q')).c_str());

    DefaultConfigPath(running.configPath);
    SaveRunningConfig();

    EXPECT_EQ(Events(), std::vector<Event>{Message("error", kCannotCreate)});
    EXPECT_STREQ(running.configPath, "");
    EXPECT_TRUE(SameBytes(FakeFileBytes(other), otherBytes));
    EXPECT_EQ(fake.openHandles, 0);
}

}  // namespace
