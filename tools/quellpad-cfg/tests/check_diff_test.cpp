// check's findings and diff's differences, each by name.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "tools/quellpad-cfg/check_config.h"
#include "tools/quellpad-cfg/commands.h"
#include "tools/quellpad-cfg/diff_config.h"
#include "tools/quellpad-cfg/tests/test_files.h"

namespace {

using Lines = std::vector<std::string>;

TEST(Check, FileSizesAndWhatTheProgramMakesOfThem)
{
    const std::pair<uint64_t, const char*> cases[] = {
        {0, "file: 0 bytes, not 6724; the table needs 6688, so the program says \"error reading file\" and turns "
            "every binding off"},
        {6687, "file: 6687 bytes, not 6724; the table needs 6688, so the program says \"error reading file\" and "
               "turns every binding off"},
        {6688, "file: 6688 bytes, not 6724; the program keeps the initial value of continuous, sensitivity, xStep, "
               "yStep, delay, dynamic, toggleLock, digital, dosMode"},
        {6698, "file: 6698 bytes, not 6724; the program keeps the initial value of xStep, yStep, delay, dynamic, "
               "toggleLock, digital, dosMode (xStep takes only its low 2 bytes from the file)"},
        {6723, "file: 6723 bytes, not 6724; the program keeps the initial value of dosMode (dosMode takes only its "
               "low 3 bytes from the file)"},
    };
    for (const auto& [size, finding] : cases) EXPECT_EQ(CheckConfig(ConfigImage(), size).shown, Lines{finding});
    EXPECT_EQ(CheckConfig(ConfigImage(), 6724).shown, Lines{});
}

// Bytes after the settings, read as chunks: what the program passes over.
TEST(Check, ChunksAfterTheSettings)
{
    auto chunk = [](const char* tag, uint32_t length, size_t payload) {
        return std::string(tag, 4) + std::string({char(length), char(length >> 8), char(length >> 16), 0}) +
               std::string(payload, '\x01');
    };
    const std::string hats = chunk("HATS", 608, 608);
    // What the editor leaves on a hat page left unbound: no key, no mouse action.
    std::string unbound(608, '\0');
    for (size_t record = 0; record < 8; ++record) {
        unbound.replace(record * 76 + 20, 4, 4, '\xff');
        unbound.replace(record * 76 + 72, 4, 4, '\xff');
    }
    // 16 MiB of zeros: an empty chunk every 8 bytes, twenty shown and the rest counted.
    Lines empties;
    for (int i = 0; i < 20; ++i) {
        empties.push_back("chunk \"\\u0000\\u0000\\u0000\\u0000\" at byte " + std::to_string(6724 + 8 * i) +
                          " (0 bytes) is unknown to the program, which passes over it");
    }
    const struct {
        std::string tail;
        Lines findings;
        uint64_t more = 0;
    } cases[] = {
        {chunk("XTRA", 260, 260) + hats, {"chunk \"XTRA\" at byte 6724 (260 bytes) is unknown to the program, which passes over it"}},
        {chunk("HATS", 608, 100), {"chunk \"HATS\" at byte 6724 says 608 bytes, but the file ends 100 bytes after its header; "
                                   "the program ignores it and turns the hat bindings off"}},
        {chunk("HATS", 4, 4) + "\x01", {"chunk \"HATS\" at byte 6724 holds 4 bytes, not 608; the program turns the hat bindings off",
                                     "file: 1 byte from byte 6736 cannot hold a chunk's header; the program reads no chunk there"}},
        {chunk("HATS", 4, 4) + hats, {"chunk \"HATS\" at byte 6724 holds 4 bytes, not 608; the program turns the hat bindings off",
                                     "chunk \"HATS\" at byte 6736 comes after another \"HATS\" chunk; the program ignores it"}},
        {chunk("HATS", 608, 0) + unbound, {"chunk \"HATS\" at byte 6724 holds no hat binding; the program writes no chunk then"}},
        {chunk("PADS", 2, 0) + "\x01\x05", {"chunk \"PADS\" at byte 6724 gives port2 the source 5, which is none; the program reads the driver there"}},
        {chunk("PADS", 1, 1) + hats, {"chunk \"PADS\" at byte 6724 holds 1 byte, not 2; the program reads the driver on both ports"}},
        {hats + "abc", {"file: 3 bytes from byte 7340 cannot hold a chunk's header; the program reads no chunk there"}},
        // Each tag's first chunk decides wherever it sits.
        {hats + chunk("PADS", 2, 2), {}},
        {hats + chunk("LYR9", 1, 1) + chunk("PADS", 2, 2), {"chunk \"LYR9\" at byte 7340 (1 byte) is unknown to the program, which passes over it"}},
        {chunk("PADS", 2, 2) + chunk("PADS", 2, 0) + "\x09\x09", {"chunk \"PADS\" at byte 6734 comes after another \"PADS\" chunk; the program ignores it"}},
        {chunk("HATS", 608, 0) + std::string(608, '\0'), {"chunk \"HATS\" at byte 6724 holds no hat binding; the program writes no chunk then"}},
        {std::string(16 << 20, '\0'), empties, (16 << 20) / 8 - 20},
        {chunk("LYR3", 4, 4) + chunk("LYR3", 7296, 7296), {"chunk \"LYR3\" at byte 6724 holds 4 bytes, not 7296; the program leaves layer 3 without bindings",
                                                          "chunk \"LYR3\" at byte 6736 comes after another \"LYR3\" chunk; the program ignores it"}},
        {chunk("LYR7", 7296, 0) + std::string(7296, '\0'), {"chunk \"LYR7\" at byte 6724 holds only zeros; the program writes no chunk then"}},
        {chunk("BHVR", 12, 12), {"chunk \"BHVR\" at byte 6724 holds 12 bytes, not a multiple of 8; the program has no layer keys and no turbo"}},
        {chunk("BHVR", 32, 0) + std::string("\x09\0\0\0\0\0\0\0" "\0\0\x04\x01\x02\0\0\0" "\0\0\x04\x02\x03\0\0\0" "\0\0\x05\0\0\0\x13\0", 32),
         {"chunk \"BHVR\" at byte 6724, entry 1 (09 00 00 00 00 00 00 00): its layer is past 7; the program ignores the entry",
          "chunk \"BHVR\" at byte 6724, entry 3 comes after another entry for port1.button5; the program ignores it",
          "chunk \"BHVR\" at byte 6724, entry 4 (00 00 05 00 00 00 13 00): its turbo is not 0 or 20 to 1000; the program ignores the entry"}},
        {chunk("BHVR", 0, 0), {"chunk \"BHVR\" at byte 6724 holds no layer key and no turbo; the program writes no chunk then"}},
    };
    for (const auto& c : cases) {
        ConfigImage image;
        image.fileTail = c.tail;
        const Findings found = CheckConfig(image, 6724 + c.tail.size());
        EXPECT_EQ(found.shown, c.findings) << c.findings[0];
        EXPECT_EQ(found.more, c.more) << c.findings[0];
    }
}

TEST(Check, ValuesTheEditorWouldNeverWrite)
{
    struct Case {
        void (*change)(ConfigImage&);
        Lines findings;
    };
    const Case cases[] = {
        {[](ConfigImage& c) { c.settings.sensitivity = 90; },
         {"sensitivity: 90 is outside 1 to 60, the range the editor keeps"}},
        {[](ConfigImage& c) { c.settings.xStep = 0; }, {"xStep: 0 is outside 1 to 40, the range the editor keeps"}},
        {[](ConfigImage& c) { c.settings.delay = 201; }, {"delay: 201 is outside 0 to 200, the range the editor keeps"}},
        {[](ConfigImage& c) { c.settings.continuous = 2; }, {"continuous: 2 is neither 0 nor 1"}},
        {[](ConfigImage& c) { c.settings.dosMode = -1; }, {"dosMode: -1 is neither 0 nor 1"}},
        {[](ConfigImage& c) { c.MappingTable[0][0].on = 5; }, {"port1.button1.on: 5 is neither 0 nor 1 (counts as on)"}},
        {[](ConfigImage& c) { c.MappingTable[1][43].sendMouse = 2; },
         {"port2.axis_v_minus.sendMouse: 2 is neither 0 nor 1 (counts as off)"}},
        {[](ConfigImage& c) { c.MappingTable[0][32].keyCode = 41; },
         {"port1.axis_x_plus.keyCode: 41 is no key in the vocabulary (virtual key 41 would be sent)"}},
        {[](ConfigImage& c) { c.MappingTable[0][1].sendKey = 1, c.MappingTable[0][1].keyCode = -1; },
         {"port1.button2.keyCode: -1 is no key in the vocabulary (virtual key 255 would be sent)"}},
        {[](ConfigImage& c) { c.MappingTable[0][1].mouseAction = 14; },
         {"port1.button2.mouseAction: 14 is no mouse action in the vocabulary (it does nothing)"}},
        {[](ConfigImage& c) { c.MappingTable[0][1].sendMouse = 1, c.MappingTable[0][1].mouseAction = -1; },
         {"port1.button2.mouseAction: -1 is no mouse action in the vocabulary (it does nothing)"}},
        {[](ConfigImage& c) { std::memset(c.MappingTable[1][0].text, 'q', 40); },
         {"port2.button1.text: \"qqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqq\" has no terminator within its 40 bytes"}},
        // What the editor leaves on a page where nothing was chosen is fine.
        {[](ConfigImage& c) { c.MappingTable[0][5].keyCode = -1, c.MappingTable[0][5].mouseAction = -1; }, {}},
        {[](ConfigImage& c) { c.MappingTable[0][5].on = 1, c.MappingTable[0][5].sendKey = 1, c.MappingTable[0][5].keyCode = 346; }, {}},
        // Layers: their bindings as the base's, keys that cannot do what they say, layers no key reaches.
        {[](ConfigImage& c) { c.behaviour[0][0][4] = {LAYER_WHILE_HELD, 2, 50}; },
         {"port1.button5.turbo: 50, but turbo on a layer key is ignored"}},
        {[](ConfigImage& c) { c.behaviour[2][1][44] = {LAYER_TOGGLE, 2, 0}; },
         {"layer2.port2.hat_up.layerTarget: 2 is the layer the key sits in, which is on whenever the key acts",
          "layer2: no layer key of the base or of a layer it turns on reaches it (a warning: its bindings never act)"}},
        {[](ConfigImage& c) { c.layers[1][0][0].on = 5; },
         {"layer2.port1.button1.on: 5 is neither 0 nor 1 (counts as on)",
          "layer2: no layer key of the base or of a layer it turns on reaches it (a warning: its bindings never act)"}},
        // Layer 3 is reached through layer 1, whose key lies in the base.
        {[](ConfigImage& c) {
             c.behaviour[1][0][7] = {LAYER_TOGGLE, 3, 0}, c.behaviour[0][1][40] = {LAYER_WHILE_HELD, 1, 0};
             c.layers[2][1][3].on = 1;
         }, {}},
    };
    for (const Case& c : cases) {
        ConfigImage image;
        c.change(image);
        EXPECT_EQ(CheckConfig(image, 6724).shown, c.findings) << (c.findings.empty() ? "" : c.findings[0]);
    }
}

TEST(Check, CommandExitsNonZeroOnAnyFinding)
{
    ScratchDir dir;
    std::vector<uint8_t> bytes(6724);
    bytes[6692] = 20, bytes[6696] = 8, bytes[6700] = 8, bytes[6704] = 1;  // sensitivity, steps, delay
    WriteBytes(dir / "good.cfg", bytes);
    std::ostringstream out, err;
    EXPECT_EQ(RunCheck(dir / "good.cfg", out, err), kExitOk);
    EXPECT_EQ(out.str(), "");

    bytes[6692] = 61;
    bytes.push_back(0);
    WriteBytes(dir / "odd.cfg", bytes);
    EXPECT_EQ(RunCheck(dir / "odd.cfg", out, err), kExitFindings);
    EXPECT_EQ(out.str(), dir / "odd.cfg" + ": sensitivity: 61 is outside 1 to 60, the range the editor keeps\n" +
                             dir / "odd.cfg" +
                             ": file: 1 byte from byte 6724 cannot hold a chunk's header; the program reads no chunk there\n");

    // Past twenty findings the rest are counted.
    bytes.resize(6724 + 21 * 8);
    WriteBytes(dir / "many.cfg", bytes);
    std::ostringstream many;
    EXPECT_EQ(RunCheck(dir / "many.cfg", many, err), kExitFindings);
    EXPECT_EQ(many.str().substr(many.str().rfind(": ...")), ": ... and 2 more findings\n");

    EXPECT_EQ(RunCheck(dir / "absent.cfg", out, err), kExitTrouble);
    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(RunCheck(dir / "folder", out, err), kExitTrouble);
    EXPECT_EQ(err.str(), dir / "absent.cfg" + ": cannot open\n" + dir / "folder" + ": is a directory\n");
}

TEST(Diff, NamesEachDifferingField)
{
    struct Case {
        void (*change)(ConfigImage&);
        Lines lines;
    };
    const Case cases[] = {
        {[](ConfigImage&) {}, {}},
        {[](ConfigImage& c) { c.settings.xStep = 12, c.settings.toggleLock = 1; },
         {"xStep: 8 -> 12", "toggleLock: false -> true"}},
        {[](ConfigImage& c) { c.MappingTable[0][32].keyCode = 39; }, {"port1.axis_x_plus.keyCode: 0 -> \"cursor right\""}},
        {[](ConfigImage& c) { c.MappingTable[1][2].on = 1, c.MappingTable[1][2].mouseAction = 4; },
         {"port2.button3.on: false -> true", "port2.button3.mouseAction: \"move up\" -> \"left click\""}},
        {[](ConfigImage& c) { c.MappingTable[0][0].text[0] = 'a'; }, {"port1.button1.text: \"\" -> \"a\""}},
        {[](ConfigImage& c) { c.HatTable[1][3].mouseAction = 12; },
         {"port2.hat_left.mouseAction: \"move up\" -> \"wheel left\""}},
        {[](ConfigImage& c) { c.fileTail = "\x01\xfe"; }, {"fileTail: \"\" -> \"01 fe\""}},
        {[](ConfigImage& c) { c.portSource[0] = 1; }, {"port1.source: \"driver\" -> \"xbox 1\""}},
        {[](ConfigImage& c) { c.layers[0][1][2].keyCode = 39, c.behaviour[0][0][0] = {LAYER_TOGGLE, 3, 0}; },
         {"port1.button1.layerAction: none -> \"toggle\"", "port1.button1.layerTarget: 0 -> 3",
          "layer1.port2.button3.keyCode: 0 -> \"cursor right\""}},
        {[](ConfigImage& c) { c.behaviour[7][1][47].turbo = 20; }, {"layer7.port2.hat_left.turbo: 0 -> 20"}},
        // A byte after the terminator is a difference too.
        {[](ConfigImage& c) { c.MappingTable[0][0].text[39] = 1; },
         {"port1.button1.textTail: \"\" -> \"00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
          "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01\""}},
    };
    for (const Case& c : cases) {
        ConfigImage after;
        c.change(after);
        EXPECT_EQ(DiffConfigs(ConfigImage(), after), c.lines);
    }
}

TEST(Diff, CommandExitStatus)
{
    ScratchDir dir;
    ConfigImage a, b;
    b.MappingTable[0][0].alt = 1;
    ASSERT_EQ(SaveImage(a, dir / "a.cfg").kind, SaveOutcome::WRITTEN);
    ASSERT_EQ(SaveImage(b, dir / "b.cfg").kind, SaveOutcome::WRITTEN);
    std::ostringstream out, err;
    EXPECT_EQ(RunDiff(dir / "a.cfg", dir / "a.cfg", out, err), kExitOk);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(RunDiff(dir / "a.cfg", dir / "b.cfg", out, err), kExitFindings);
    EXPECT_EQ(out.str(), "port1.button1.alt: false -> true\n");
    EXPECT_EQ(RunDiff(dir / "a.cfg", dir / "none.cfg", out, err), kExitTrouble);
    EXPECT_EQ(err.str(), dir / "none.cfg" + ": cannot open\n");
}

}  // namespace
