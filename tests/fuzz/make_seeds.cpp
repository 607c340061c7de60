// Writes the fuzz seed corpus: real configuration files, as SaveConfig writes
// them, each followed by a report script that reaches every operation.
// Usage: quellpad_make_seeds DIRECTORY. Deterministic, so scripts/fuzz-run.sh can
// check that the committed corpus is exactly what this program writes.
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "config/config_file.h"
#include "config/config_path.h"
#include "tests/fake_platform.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr const char* kName = "C:\\Tools\\quellpad.CFG";
using Bytes = std::vector<uint8_t>;

ActionRecord Key(int32_t code)
{
    return ActionRecord{.on = 1, .sendKey = 1, .keyCode = code};
}
ActionRecord Mouse(int32_t action)
{
    return ActionRecord{.on = 1, .sendMouse = 1, .mouseAction = action};
}
ActionRecord Text(const char* text)
{
    ActionRecord record{.on = 1, .sendText = 1};
    std::strncpy(record.text, text, kTextSize);
    return record;
}

// A configuration a user could have made: keys, letters both ways, a macro,
// modifiers, clicks of every kind and moves, on both sticks.
void BindLikeAUser()
{
    ActionRecord(&p0)[kSlotCount] = running.config.MappingTable[0];
    ActionRecord(&p1)[kSlotCount] = running.config.MappingTable[1];
    p0[0] = Key(65);
    p0[1] = Key(321);
    p0[2] = Key(16);
    p0[3] = Key(112);
    p0[3].control = 1;
    p0[4] = Text("aB1^c%x zZ");
    p0[4].shift = 1;
    p0[5] = Mouse(4);
    p0[6] = Mouse(6);
    p0[7] = Mouse(8);
    p0[8] = Mouse(5);
    p0[31] = Mouse(9);
    p0[31].alt = 1;
    p0[SLOT_X_PLUS] = Mouse(3);
    p0[SLOT_X_MINUS] = Mouse(2);
    p0[SLOT_Y_PLUS] = Mouse(0);
    p0[SLOT_Y_MINUS] = Mouse(1);
    p0[SLOT_Z_PLUS] = Key(39);
    p0[SLOT_Z_MINUS] = Key(37);
    p0[SLOT_R_PLUS] = Mouse(7);
    p0[SLOT_V_MINUS] = Text("%^a");
    for (int slot = 0; slot < kSlotCount; ++slot) {
        p1[slot] = slot % 3 == 0 ? Key(48 + slot % 10) : slot % 3 == 1 ? Mouse(slot % 10) : Text("x^");
        p1[slot].shift = slot % 4 == 0;
        p1[slot].control = slot % 5 == 0;
        p1[slot].alt = slot % 7 == 0;
    }
    p1[SLOT_X_PLUS] = Key(91);
    p1[SLOT_X_MINUS] = Key(92);
    p1[SLOT_Y_PLUS] = Key(64);
}

Bytes Saved()
{
    std::strcpy(running.configPath, kName);
    SaveRunningConfig();
    return FakeFileBytes(kName);
}

Bytes Resized(Bytes bytes, size_t size)
{
    bytes.resize(size, 0x5A);
    return bytes;
}

// Op bytes of the script.
uint8_t On(uint8_t op, int port)
{
    return uint8_t(op | (port << 3));
}
void Axes(Bytes& s, uint8_t pick)
{
    for (int axis = 0; axis < 6; ++axis) s.push_back(pick);
}
void Buttons(Bytes& s, int port, uint32_t mask, uint16_t hat = 0xFFFF)
{
    s.push_back(On(OP_REPORT_BUTTONS, port));
    for (int i = 0; i < 4; ++i) s.push_back(uint8_t(mask >> (8 * i)));
    s.insert(s.end(), {uint8_t(hat), uint8_t(hat >> 8)});
}
void Setting(Bytes& s, uint8_t which, uint8_t value)
{
    s.insert(s.end(), {OP_SETTING, which, value});
}

// Presses, holds and lets go on both sticks, at the ends and between them,
// loses a stick, then does it again with continuous on, another stick and a
// reload.
Bytes Script()
{
    Bytes s = {0x11, 125};  // both sticks 0..65535; double-click time 500 ms
    for (int round = 0; round < 2; ++round) {
        for (int port = 0; port < 2; ++port) s.insert(s.end(), {On(OP_REST, port), On(OP_REST, port)});
        Buttons(s, 0, 0x80000015, 4500);  // up and right on the hat
        Axes(s, AXIS_MAX);
        s.push_back(On(OP_REPEAT, 0));
        s.push_back(On(OP_REPORT, 0));
        Axes(s, AXIS_MIN);
        s.push_back(On(OP_REPEAT, 0));
        Buttons(s, 1, 0xFFFFFFFF, 31500);  // left and up
        s.insert(s.end(), {AXIS_NEAR_MAX | (3 << 3), AXIS_NEAR_MIN | (31 << 3), AXIS_16, 0x34, 0x12, AXIS_32,
                           0xF0, 0xFF, 0xFF, 0xFF, AXIS_KEEP, AXIS_CENTRE});
        s.push_back(On(OP_REPEAT, 1));
        s.push_back(On(OP_FAIL_READ, 1));
        s.push_back(On(OP_FAIL_READ, 1));
        s.push_back(On(OP_REPEAT, 1));
        for (int port = 0; port < 2; ++port) s.insert(s.end(), {On(OP_REST, port), On(OP_REST, port)});
        Setting(s, 0, 1);  // continuous on
    }
    s.insert(s.end(), {On(OP_NEW_CAPS, 0), 4});  // a reversed range
    s.push_back(On(OP_REPORT, 0));
    Axes(s, AXIS_MAX);
    s.push_back(On(OP_REPEAT, 0));
    Setting(s, 1, 6);  // sensitivity 60: the end zones overlap
    s.push_back(On(OP_REST, 0));
    s.push_back(On(OP_REST, 0));
    s.push_back(On(OP_RELOAD, 0));
    s.push_back(On(OP_RELOAD, 1));
    return s;
}

struct Seed {
    std::string name;
    Bytes input;
};

std::vector<Seed> MakeSeeds()
{
    std::vector<Seed> seeds;
    const Bytes script = Script();
    auto add = [&](const std::string& name, const Bytes* file) {
        seeds.push_back({name, MakeFuzzInput(file, script)});
    };

    add("no-file", nullptr);

    ResetProgramState();
    const Bytes defaults = Saved();
    add("saved-defaults", &defaults);

    ResetProgramState();
    BindLikeAUser();
    const Bytes bound = Saved();
    add("saved-bindings", &bound);
    for (const size_t size : {0, 6687, 6688, 6689, 6698, 6723, 6724, 7000}) {
        const Bytes file = Resized(bound, size);
        add("size-" + std::to_string(size), &file);
    }

    ResetProgramState();
    BindLikeAUser();
    for (auto& port : running.config.MappingTable) {
        for (ActionRecord& record : port) {
            record.on = 1;
            record.sendText = 1;
            std::memset(record.text, 'A', kTextSize);  // no terminator anywhere
            record.text[kTextSize - 1] = '^';
        }
    }
    const Bytes unterminated = Saved();
    add("text-without-zero", &unterminated);

    struct Odd {
        const char* name;
        Settings values;
    };
    const Odd kOddSettings[] = {
        {"sensitivity-90-delay-1000", {.sensitivity = 90, .delay = 1000}},
        {"negative-delay", {.continuous = 0, .delay = -1}},
        {"delay-int-min", {.delay = INT32_MIN}},
        {"steps-extreme", {.xStep = INT32_MIN, .yStep = INT32_MAX, .dynamic = 1, .digital = 1}},
        {"steps-negative", {.xStep = -40, .yStep = -1, .dynamic = 1}},
        {"sensitivity-negative", {.sensitivity = -20}},
        {"sensitivity-huge", {.sensitivity = INT32_MAX}},
        {"continuous-2", {.continuous = 2}},
        {"togglelock-2", {.toggleLock = 2}},
        {"togglelock-1-continuous-1", {.continuous = 1, .toggleLock = 1}},
        {"all-switches-2", {.continuous = 2, .dynamic = 2, .toggleLock = 2, .digital = 2, .dosMode = 2}},
    };
    for (const Odd& odd : kOddSettings) {
        ResetProgramState();
        BindLikeAUser();
        running.config.settings = odd.values;
        const Bytes file = Saved();
        add(odd.name, &file);
    }

    const int32_t kOddCodes[] = {-1, INT32_MIN, INT32_MAX, 256, 10, 14};
    for (const int32_t code : kOddCodes) {
        ResetProgramState();
        BindLikeAUser();
        for (auto& port : running.config.MappingTable) {
            for (ActionRecord& record : port) {
                record.sendKey = record.sendMouse = 1;
                record.keyCode = record.mouseAction = code;
            }
        }
        const Bytes file = Saved();
        add("codes-" + std::to_string(code), &file);
    }

    // Flags that are set but not 1 count only for "on".
    ResetProgramState();
    for (auto& port : running.config.MappingTable) {
        for (ActionRecord& record : port) {
            record = ActionRecord{.on = -1,
                                  .shift = 2,
                                  .control = -1,
                                  .alt = 3,
                                  .sendKey = 2,
                                  .keyCode = 65,
                                  .sendText = 2,
                                  .text = "a",
                                  .sendMouse = 2,
                                  .mouseAction = 4};
        }
    }
    const Bytes flags = Saved();
    add("flags-not-one", &flags);

    // Files with chunks after the settings: the hats' chunk as the program
    // writes it, cut short, followed by junk, after an unknown chunk, of the
    // wrong length, and holding nothing.
    ResetProgramState();
    BindLikeAUser();
    running.config.HatTable[0][0] = Key(38);
    running.config.HatTable[0][1] = Mouse(13);
    running.config.HatTable[0][2] = Mouse(11);
    running.config.HatTable[0][3] = Text("^z");
    running.config.HatTable[1][0] = Mouse(10);
    running.config.HatTable[1][2] = Mouse(4);
    const Bytes hats = Saved();
    add("saved-hats", &hats);
    const Bytes cut = Resized(hats, 7000);
    add("hats-cut", &cut);
    const Bytes junk = Resized(hats, hats.size() + 20);
    add("hats-then-junk", &junk);
    const Bytes base(hats.begin(), hats.begin() + kConfigFileSize);
    const Bytes chunk(hats.begin() + kConfigFileSize, hats.end());
    Bytes unknownFirst = base;
    unknownFirst.insert(unknownFirst.end(), {'X', 'T', 'R', 'A', 3, 0, 0, 0, 1, 2, 3});
    unknownFirst.insert(unknownFirst.end(), chunk.begin(), chunk.end());
    add("unknown-chunk-then-hats", &unknownFirst);
    Bytes wrongLength(hats.begin(), hats.end() - 1);
    wrongLength[kConfigFileSize + 4] = uint8_t(kHatsChunkSize - 1);
    add("hats-wrong-length", &wrongLength);
    Bytes empty = base;
    empty.insert(empty.end(), chunk.begin(), chunk.begin() + kChunkHeaderSize);
    empty.resize(hats.size(), 0);
    add("hats-all-zero", &empty);
    return seeds;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    for (const Seed& seed : MakeSeeds()) {
        const std::string path = std::string(argv[1]) + "/" + seed.name;
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr ||
            std::fwrite(seed.input.data(), 1, seed.input.size(), out) != seed.input.size()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::fclose(out);
    }
    return 0;
}
