// What the text form means, field by field, and how it is spelt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tools/quellpad-cfg/build_text.h"
#include "tools/quellpad-cfg/nearest_name.h"
#include "tools/quellpad-cfg/show_text.h"
#include "tools/quellpad-cfg/toml_text.h"

namespace {

const ActionRecord& Only(const BuildResult& result, int port, int slot)
{
    EXPECT_TRUE(result.errors.empty()) << (result.errors.empty() ? "" : result.errors[0].message);
    return result.image.MappingTable[port][slot];
}

struct FieldCase {
    const char* text;  // the body of [port2.axis_y_minus]
    ActionRecord expected;
};

ActionRecord WithText(ActionRecord record, const char* bytes, size_t size)
{
    std::memcpy(record.text, bytes, size);
    return record;
}

TEST(TextForm, FieldsBecomeTheseRecords)
{
    const FieldCase cases[] = {
        {"", {.on = 1}},
        {"on = false", {}},
        {"on = 7\nshift = 5\ncontrol = -1\nalt = true", {.on = 7, .shift = 5, .control = -1, .alt = 1}},
        {"sendKey = true\nkeyCode = \"cursor right\"", {.on = 1, .sendKey = 1, .keyCode = 39}},
        {"keyCode = 'character \"a\"'", {.on = 1, .keyCode = 321}},
        {"keyCode = \"character \\\"Z\\\"\"", {.on = 1, .keyCode = 90}},
        {"keyCode = \"F09\"\nmouseAction = \"right double click\"", {.on = 1, .keyCode = 120, .mouseAction = 9}},
        {"keyCode = -1\nmouseAction = 0x7FFFFFFF", {.on = 1, .keyCode = -1, .mouseAction = INT32_MAX}},
        {"keyCode = 39", {.on = 1, .keyCode = 39}},
        {"sendMouse = 1\nmouseAction = \"move up\"", {.on = 1, .sendMouse = 1}},
        {"sendMouse = true\nmouseAction = \"wheel left\"", {.on = 1, .sendMouse = 1, .mouseAction = 12}},
        {"text = \"^c\"", WithText({.on = 1}, "^c", 2)},
        {"text = \"\\u00e9\\u0001\\u007F\"", WithText({.on = 1}, "\xE9\x01\x7F", 3)},
        {"text = \"\u00e9\"", WithText({.on = 1}, "\xE9", 1)},
        {"text = \"ab\"\ntextTail = \"00 7a 7A\"", WithText({.on = 1}, "ab\0\0\x7a\x7a", 6)},
        {"textTail = \"01\"", WithText({.on = 1}, "\0\x01", 2)},
        {"text = \"0123456789012345678901234567890123456789\"",
         WithText({.on = 1}, "0123456789012345678901234567890123456789", 40)},
    };
    for (const FieldCase& c : cases) {
        const BuildResult result = BuildConfig(std::string("[port2.axis_y_minus]\n") + c.text + "\n", "t");
        const ActionRecord& got = Only(result, 1, 35);
        EXPECT_EQ(std::memcmp(&got, &c.expected, sizeof got), 0) << c.text;
        // Nothing else in the table moved.
        ActionRecord table[2][44] = {};
        table[1][35] = got;
        EXPECT_EQ(std::memcmp(table, result.image.MappingTable, sizeof table), 0) << c.text;
    }
}

TEST(TextForm, SettingsKeepTheirInitialValuesUnlessGiven)
{
    const BuildResult defaults = BuildConfig("", "t");
    const Settings initial;
    EXPECT_EQ(std::memcmp(&defaults.image.settings, &initial, sizeof initial), 0);
    const BuildResult given =
        BuildConfig("xStep = -3\nyStep = 40\ncontinuous = true\ndynamic = 2\ntoggleLock = 1\ndigital = false\n"
                    "dosMode = true\nsensitivity = 90\ndelay = 1000\n",
                    "t");
    ASSERT_TRUE(given.errors.empty());
    const Settings& s = given.image.settings;
    EXPECT_EQ((std::vector<int32_t>{s.xStep, s.yStep, s.continuous, s.dynamic, s.toggleLock, s.digital, s.dosMode,
                                    s.sensitivity, s.delay}),
              (std::vector<int32_t>{-3, 40, 1, 2, 1, 0, 1, 90, 1000}));
}

TEST(TextForm, ShowSpellsEachField)
{
    struct ShowCase {
        ActionRecord record;
        const char* lines;
    };
    const ShowCase cases[] = {
        {{.on = 1}, ""},
        {{}, "on = false\n"},
        {{.on = 2, .shift = 1, .alt = 3}, "on = 2\nshift = true\nalt = 3\n"},
        {{.on = 1, .sendKey = 1}, "sendKey = true\nkeyCode = 0\n"},
        {{.on = 1, .keyCode = 321}, "keyCode = 'character \"a\"'\n"},
        {{.on = 1, .keyCode = -1, .mouseAction = -1}, "keyCode = -1\nmouseAction = -1\n"},
        {{.on = 1, .sendMouse = 1}, "sendMouse = true\nmouseAction = \"move up\"\n"},
        {{.on = 1, .sendText = 1}, "sendText = true\ntext = \"\"\n"},
        {WithText({.on = 1}, "a\"\\\xE9\n", 5), "text = \"a\\\"\\\\\\u00E9\\u000A\"\n"},
        {WithText({.on = 1}, "x\0\0\xFF", 4), "text = \"x\"\ntextTail = \"00 ff\"\n"},
    };
    for (const ShowCase& c : cases) EXPECT_EQ(ShowBinding(c.record), c.lines);
}

TEST(TextForm, ShowListsSettingsThenBindingsInSlotOrder)
{
    ConfigImage image;
    image.MappingTable[1][0].on = 1;
    image.MappingTable[0][43].keyCode = -1;  // off, but not empty: kept
    image.MappingTable[0][2].on = 1;
    image.HatTable[0][0].keyCode = 38;
    image.HatTable[1][3].on = 1;
    image.fileTail = "\x01\xfe";
    EXPECT_EQ(ShowConfig(image, false),
              "# Quellpad configuration\nxStep = 8\nyStep = 8\ncontinuous = false\ndynamic = false\n"
              "toggleLock = false\ndigital = false\ndosMode = false\nsensitivity = 20\ndelay = 1\n"
              "fileTail = \"01 fe\"\n"
              "\n[port1.button3]\n"
              "\n[port1.axis_v_minus]\non = false\nkeyCode = -1\n"
              "\n[port1.hat_up]\non = false\nkeyCode = \"cursor up\"\n"
              "\n[port2.button1]\n"
              "\n[port2.hat_left]\n");
    const std::string all = ShowConfig(image, true);
    EXPECT_EQ(std::count(all.begin(), all.end(), '['), 96);
}

// Behaviours after the binding's fields, in the base and in layers; layers
// after the base, and none that holds nothing.
TEST(TextForm, ShowWritesLayersAfterTheBase)
{
    ConfigImage image;
    image.layers[3][1][0].keyCode = 321;
    image.behaviour[5][0][1].turbo = 40;
    image.behaviour[0][1][44] = {LAYER_WHILE_HELD, 4, 0};
    image.behaviour[0][0][2] = {LAYER_TOGGLE, 5, 0};
    image.MappingTable[0][2].on = 1;
    const std::string shown = ShowConfig(image, false);
    EXPECT_EQ(shown.substr(shown.find("\n[")),
              "\n[port1.button3]\nlayerAction = \"toggle\"\nlayerTarget = 5\n"
              "\n[port2.hat_up]\non = false\nlayerAction = \"while held\"\nlayerTarget = 4\n"
              "\n[layer4.port2.button1]\non = false\nkeyCode = 'character \"a\"'\n"
              "\n[layer5.port1.button2]\non = false\nturbo = 40\n");
    const BuildResult built = BuildConfig(shown, "t");
    ASSERT_TRUE(built.errors.empty()) << built.errors.front().message;
    EXPECT_EQ(std::memcmp(built.image.layers, image.layers, sizeof image.layers), 0);
    EXPECT_EQ(std::memcmp(built.image.behaviour, image.behaviour, sizeof image.behaviour), 0);
}

TEST(TextForm, NearestNames)
{
    const std::pair<const char*, const char*> keys[] = {
        {"cursor rigth", "cursor right"}, {"A", "character \"A\""}, {"f9", "F09"},
        {"esc", "escape"},                   {"Return", "return"},     {"numpad0", "numpad 0"},
    };
    for (const auto& [typed, nearest] : keys) EXPECT_EQ(NearestKeyName(typed), nearest) << typed;
    EXPECT_EQ(NearestMouseName("right dbl click"), "right double click");
    EXPECT_EQ(NearestMouseName("Middle"), "middle click");
    EXPECT_EQ(NearestName("xstep", {"yStep", "xStep"}), "xStep");
    EXPECT_EQ(EditDistance("kitten", "sitting"), 3u);
    EXPECT_EQ(EditDistance("", "abc"), 3u);
}

}  // namespace
