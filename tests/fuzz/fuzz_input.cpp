#include "tests/fuzz/fuzz_input.h"

#include <climits>
#include <cstring>

#include "config/config_file.h"
#include "config/config_path.h"
#include "engine/axes.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"
#include "platform/input_codes.h"
#include "tests/fake_platform.h"
#include "tests/stick_caps.h"

namespace {

constexpr const char* kConfigName = "C:\\Tools\\quellpad.CFG";
constexpr const char* kCopyName = "C:\\Tools\\copy.CFG";
constexpr uint32_t kJoyErrUnplugged = 167;

// Reads the script; past its end every byte is zero.
struct Cursor {
    const uint8_t* data;
    size_t size;
    size_t at;

    bool Done() const { return at >= size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    uint32_t Word(int bytes)
    {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) value |= uint32_t(Byte()) << (8 * i);
        return value;
    }
};

// Sticks as drivers describe them, good and bad.
void SetCaps(JoyCaps& caps, uint8_t choice)
{
    SetStickRange(caps, kStickRanges[choice % 8]);
    caps.wNumButtons = choice & 8 ? 32 : 4;
    caps.wNumAxes = kStickRanges[choice % 8].allAxes ? 6 : 2;
    // A hat on every stick but none at all and the one with only X and Y.
    caps.wCaps = choice % 8 == 0 || choice % 8 == 2 ? 0 : kJoyCapsHasPov;
}

uint32_t PickPosition(Cursor& in, const JoyCaps& caps, int axis, uint32_t previous)
{
    const uint32_t min = caps.*kAxes[axis].min, max = caps.*kAxes[axis].max;
    const uint8_t pick = in.Byte();
    switch (pick & 7) {
    case AXIS_MIN:
        return min;
    case AXIS_MAX:
        return max;
    case AXIS_CENTRE:
        return min + (max - min) / 2;
    case AXIS_KEEP:
        return previous;
    case AXIS_NEAR_MIN:
        return min + (pick >> 3);
    case AXIS_NEAR_MAX:
        return max - (pick >> 3);
    case AXIS_16:
        return in.Word(2);
    default:
        return in.Word(4);
    }
}

void Report(int port)
{
    ProcessJoystickReport(running.engine, running.config, port, fake.tickCount);
    // One report can log thousands of events (32 buttons typing macros); the
    // fake keeps 8192, so start each report afresh.
    ClearEvents();
}

void ChangeSetting(Cursor& in)
{
    constexpr int32_t kValues[] = {0,   1,   2,   -1,   20, 50,      60,        90,
                                   100, 101, 200, 1000, 40, 1 << 30, INT32_MIN, INT32_MAX};
    const uint8_t which = in.Byte();
    const uint8_t value = in.Byte();
    int32_t* setting = &(running.config.settings.*kSettingLayout[which % kSettingCount].member);
    *setting = kValues[value % 16];
    // The editor recomputes the thresholds right after a new sensitivity.
    if (setting == &running.config.settings.sensitivity) ComputeAxisThresholds(running.engine, running.config.settings);
}

// What a load must leave, checked where the outcome is plain from the file alone.
const char* CheckLoad(const uint8_t* file, size_t size, bool exists)
{
    if (!exists) return nullptr;
    static const ActionRecord kNoHats[kPortCount][kHatSlotCount] = {};
    const bool hatBytes = std::memcmp(running.config.HatTable, kNoHats, sizeof running.config.HatTable) != 0;
    // Only hat records that bind something are written back.
    const bool hats = AnyHatBinding(running.config.HatTable);
    if (size < sizeof running.config.MappingTable) {
        static const ActionRecord kOff[kPortCount][kSlotCount] = {};
        if (std::memcmp(running.config.MappingTable, kOff, sizeof running.config.MappingTable) != 0 || hatBytes)
            return "a short file left bindings behind";
        return nullptr;
    }
    if (size < kConfigFileSize) return nullptr;
    // The chunk the writer puts right after the settings is read as it stands.
    const uint32_t chunkEnd = kConfigFileSize + kChunkHeaderSize + kHatsChunkSize;
    if (size >= chunkEnd && std::memcmp(file + kConfigFileSize, kHatsChunkHeader, kChunkHeaderSize) == 0 &&
        std::memcmp(running.config.HatTable, file + kConfigFileSize + kChunkHeaderSize, kHatsChunkSize) != 0)
        return "the hats' chunk after the settings was not read";
    // A whole file must come back byte for byte, whatever it holds, followed
    // by the port sources' chunk when a port reads an Xbox controller, the
    // hats' chunk when there are hat bindings, and nothing else.
    std::strcpy(running.configPath, kCopyName);
    SaveRunningConfig();
    std::strcpy(running.configPath, kConfigName);
    const FakeFile* copy = FindFakeFile(kCopyName);
    const uint32_t padsSize = AnyPadSource(running.config) ? kChunkHeaderSize + kPadsChunkSize : 0;
    const uint32_t hatsAt = kConfigFileSize + padsSize;
    if (copy == nullptr || copy->size != hatsAt + (hats ? kChunkHeaderSize + kHatsChunkSize : 0))
        return "the saved copy is missing or of the wrong size";
    if (std::memcmp(copy->data, file, kConfigFileSize) != 0)
        return "the saved copy differs from the loaded file";
    if (hats && (std::memcmp(copy->data + hatsAt, kHatsChunkHeader, kChunkHeaderSize) != 0 ||
                 std::memcmp(copy->data + hatsAt + kChunkHeaderSize, running.config.HatTable, kHatsChunkSize) != 0))
        return "the saved hats' chunk differs from the hat bindings";
    PlatformFileDelete(kCopyName);
    return nullptr;
}

}  // namespace

std::vector<uint8_t> MakeFuzzInput(const std::vector<uint8_t>* file, const std::vector<uint8_t>& script)
{
    const uint16_t length = file == nullptr ? kNoFuzzConfigFile : uint16_t(file->size());
    std::vector<uint8_t> input = {uint8_t(length), uint8_t(length >> 8)};
    if (file != nullptr) input.insert(input.end(), file->begin(), file->end());
    input.insert(input.end(), script.begin(), script.end());
    return input;
}

const char* RunFuzzInput(const uint8_t* data, size_t size)
{
    ResetProgramState();
    Cursor in{data, size, 0};
    const uint16_t length = uint16_t(in.Word(2));
    const bool exists = length != kNoFuzzConfigFile;
    size_t fileSize = exists ? length : 0;
    if (fileSize > kMaxFuzzConfigSize) fileSize = kMaxFuzzConfigSize;
    if (fileSize > in.size - in.at) fileSize = in.size - in.at;
    const uint8_t* file = data + in.at;
    in.at += fileSize;

    const uint8_t capsChoice = in.Byte();
    SetCaps(fake.caps[0], capsChoice);
    SetCaps(fake.caps[1], capsChoice >> 4);
    fake.doubleClickTime = uint32_t(in.Byte()) * 4;

    std::strcpy(running.configPath, kConfigName);
    if (exists) PutFakeFile(kConfigName, std::vector<uint8_t>(file, file + fileSize));
    ReloadConfig();
    if (const char* failure = CheckLoad(file, fileSize, exists)) return failure;
    ClearEvents();

    for (int op = 0; op < kMaxFuzzOperations && !in.Done(); ++op) {
        const uint8_t code = in.Byte();
        const int port = (code >> 3) & 1;
        JoyInfoEx& state = fake.state[port];
        fake.posResult[port] = 0;
        switch (code & 7) {
        case OP_REPORT:
        case OP_REPORT_BUTTONS:
            if ((code & 7) == OP_REPORT_BUTTONS) {
                state.dwButtons = in.Word(4);
                state.dwPOV = in.Word(2);
            }
            for (int axis = 0; axis < kAxisCount; ++axis) {
                uint32_t& position = state.*kAxes[axis].position;
                position = PickPosition(in, fake.caps[port], axis, position);
            }
            Report(port);
            break;
        case OP_REST:
            state.dwButtons = 0;
            state.dwPOV = kJoyPovCentered;
            for (int axis = 0; axis < kAxisCount; ++axis) {
                const uint32_t min = fake.caps[port].*kAxes[axis].min, max = fake.caps[port].*kAxes[axis].max;
                state.*kAxes[axis].position = min + (max - min) / 2;
            }
            Report(port);
            break;
        case OP_REPEAT:
            Report(port);
            break;
        case OP_FAIL_READ:
            fake.posResult[port] = kJoyErrUnplugged;
            Report(port);
            break;
        case OP_NEW_CAPS:
            SetCaps(fake.caps[port], in.Byte());
            ComputeAxisLimits(running.engine, running.config.settings);
            break;
        case OP_SETTING:
            ChangeSetting(in);
            break;
        default:
            if (port == 0) {
                ReloadConfig();
            } else {
                LetGoOfEverything(running.engine);
            }
            ClearEvents();
            break;
        }
    }
    LetGoOfEverything(running.engine);
    ClearEvents();
    return nullptr;
}
