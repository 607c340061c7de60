// Every way a text can be wrong, with the message and place the user sees.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <iterator>
#include <ostream>
#include <sstream>

#include <sys/stat.h>

#include "tools/quellpad-cfg/build_text.h"
#include "tools/quellpad-cfg/commands.h"
#include "tools/quellpad-cfg/tests/test_files.h"

namespace {

// How many names a folder holds, so a temporary file left behind shows.
int Entries(const std::string& folder)
{
    const std::filesystem::directory_iterator all(folder);
    return int(std::distance(begin(all), end(all)));
}

struct BadText {
    const char* what;
    const char* text;
    const char* message;  // "line:column: error: ..."
};

// Named by what it shows, so test names stay the same from build to build.
void PrintTo(const BadText& c, std::ostream* out) { *out << c.what; }

// A name of 15000 parts, 30 KB: beyond what the fuzzer reaches.
std::string ManyParts(const char* before, const char* after)
{
    std::string text = before + std::string("a");
    for (int i = 1; i < 15000; ++i) text += ".a";
    return text + after;
}
const std::string kDeepTable = ManyParts("[", "]\n"), kDeepKey = ManyParts("x = 1\n", " = 1\n");
const std::string kParts = "\"a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a.a....\" has 15000 parts; no name in a "
                           "configuration has more than 4, as layer2.port1.button1.keyCode";
const std::string kDeepTableError = "1:2: error: table name " + kParts, kDeepKeyError = "2:1: error: key " + kParts;

const BadText kBadTexts[] = {
    {"not TOML", "xStep = = 1\n", "1:9: error: not valid TOML: Error while parsing value: could not determine value type"},
    {"misspelt setting", "xstep = 3\n", "1:1: error: unknown name \"xstep\"; nearest is \"xStep\""},
    {"unknown port", "[port3.button1]\n", "1:2: error: unknown name \"port3\"; nearest is \"port1\""},
    {"setting as text", "delay = \"5\"\n", "1:9: error: delay = the string \"5\" is not a whole number"},
    {"bool for a number", "sensitivity = true\n", "1:15: error: sensitivity = true is not a whole number"},
    {"fraction for a switch", "dosMode = 0.5\n",
     "1:11: error: dosMode = 0.5 is not true, false or a whole number"},
    {"beyond 32 bits", "xStep = 2147483648\n",
     "1:9: error: xStep = 2147483648 does not fit in 32 bits (-2147483648 to 2147483647)"},
    {"below 32 bits", "yStep = -2147483649\n",
     "1:9: error: yStep = -2147483649 does not fit in 32 bits (-2147483648 to 2147483647)"},
    {"port as a value", "port1 = 3\n",
     "1:9: error: port1 = 3 is not a table of bindings such as [port1.button1]"},
    {"misspelt binding", "[port1.buton3]\n",
     "1:8: error: unknown binding \"port1.buton3\"; nearest is \"port1.button3\""},
    {"misspelt hat direction", "[port2.hat_rigth]\n",
     "1:8: error: unknown binding \"port2.hat_rigth\"; nearest is \"port2.hat_right\""},
    {"file tail not in hex", "fileTail = \"48 4\"\n",
     "1:12: error: fileTail is not a list of hex byte pairs such as \"00 7a\" (column 4 of the value)"},
    {"button beyond 32", "[port2.button33]\n",
     "1:8: error: unknown binding \"port2.button33\"; nearest is \"port2.button3\""},
    {"binding as a value", "[port1]\nbutton1 = 1\n",
     "2:11: error: port1.button1 = 1 is not a table; write [port1.button1]"},
    {"misspelt field", "[port1.button1]\nsendkey = true\n",
     "2:1: error: unknown field \"sendkey\" in port1.button1; nearest is \"sendKey\""},
    {"flag as text", "[port1.button1]\nshift = \"yes\"\n",
     "2:9: error: port1.button1.shift = the string \"yes\" is not true, false or a whole number"},
    {"misspelt key", "[port1.axis_x_plus]\nkeyCode = \"cursor rigth\"\n",
     "2:11: error: port1.axis_x_plus.keyCode = \"cursor rigth\" is no key in the vocabulary; nearest is "
     "\"cursor right\""},
    {"bare letter", "[port1.button1]\nkeyCode = \"a\"\n",
     "2:11: error: port1.button1.keyCode = \"a\" is no key in the vocabulary; nearest is 'character \"a\"'"},
    {"bare digit", "[port1.button1]\nkeyCode = \"7\"\n",
     "2:11: error: port1.button1.keyCode = \"7\" is no key in the vocabulary; nearest is 'number \"7\"'"},
    {"key as a bool", "[port1.button1]\nkeyCode = true\n",
     "2:11: error: port1.button1.keyCode = true is neither a key name nor a number"},
    {"misspelt mouse action", "[port1.button1]\nmouseAction = \"left clik\"\n",
     "2:15: error: port1.button1.mouseAction = \"left clik\" is no mouse action in the vocabulary; nearest is "
     "\"left click\""},
    {"mouse code beyond 32 bits", "[port1.button1]\nmouseAction = 4294967296\n",
     "2:15: error: port1.button1.mouseAction = 4294967296 does not fit in 32 bits (-2147483648 to 2147483647)"},
    {"unknown source", "[port1]\nsource = \"xbox 5\"\n",
     "2:10: error: port1.source = \"xbox 5\" is no source; write \"driver\" or \"xbox 1\" to \"xbox 4\""},
    {"text as a number", "[port1.button1]\ntext = 5\n", "2:8: error: port1.button1.text = 5 is not a string"},
    {"text too long", "[port1.button1]\ntext = \"12345678901234567890123456789012345678901\"\n",
     "2:8: error: port1.button1.text = \"12345678901234567890123456789012345678901\" has 41 bytes; the field "
     "holds 40"},
    {"character beyond a byte", "[port1.button1]\ntext = \"caf\\u0100\"\n",
     "2:8: error: port1.button1.text = \"caf\xC4\x80\" holds U+0100; each character is one byte, U+0001 to "
     "U+00FF"},
    {"terminator inside the text", "[port1.button1]\ntext = \"a\\u0000b\"\n",
     "2:8: error: port1.button1.text = \"a\\u0000b\" holds U+0000, which would end the text; put bytes after "
     "the end in textTail"},
    {"tail not hex", "[port1.button1]\ntextTail = \"00 7g\"\n",
     "2:12: error: port1.button1.textTail = \"00 7g\" is not a list of hex byte pairs such as \"00 7a\" (column "
     "4 of the value)"},
    {"tail with half a byte", "[port1.button1]\ntextTail = \"7\"\n",
     "2:12: error: port1.button1.textTail = \"7\" is not a list of hex byte pairs such as \"00 7a\" (column 1 "
     "of the value)"},
    {"tail as a number", "[port1.button1]\ntextTail = 7\n",
     "2:12: error: port1.button1.textTail = 7 is not a string of hex pairs"},
    {"tail beyond the field", "[port1.button1]\ntext = \"abc\"\ntextTail = \"" 
     "01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10 11 12 13 14 15 16 17 18 19 1a 1b 1c 1d 1e 1f 20 21 22 23 24 25\"\n",
     "3:12: error: port1.button1.textTail holds 37 bytes, but only 36 fit after the text and its terminator"},
    {"tail after a full text", "[port1.button1]\ntext = \"0123456789012345678901234567890123456789\"\ntextTail = \"01\"\n",
     "3:12: error: port1.button1.textTail holds 1 byte, but only 0 fit after the text and its terminator"},
    // Texts that once crashed the TOML library or tripped its undefined behaviour.
    {"table name of a stray character", "[%]\n",
     "1:2: error: not valid TOML: Error while parsing table header: expected bare key starting character or "
     "string delimiter, saw '%'"},
    {"array table name of a stray character", "[[%]]\n",
     "1:3: error: not valid TOML: Error while parsing table header: expected bare key starting character or "
     "string delimiter, saw '%'"},
    {"stray character after a table", "[a]\n[%b]\n",
     "2:2: error: not valid TOML: Error while parsing table header: expected bare key starting character or "
     "string delimiter, saw '%'"},
    {"array element that ends before it starts", "port1 = [1,}\n",
     "1:12: error: not valid TOML: Error while parsing array: expected value, saw '}'"},
    {"array element that starts with a control line break", "port1 = [\xC2\x85]\n",
     "1:10: error: not valid TOML: Error while parsing array: expected value, saw '\\xC2\\x85'"},
    {"number beyond 64 bits", "xStep = 99999999999999999999\n",
     "1:9: error: not valid TOML: Error while parsing decimal integer: '99999999999999999999' is not representable "
     "in 64 bits"},
    {"long value", "delay = \"1234567890123456789012345678901234567890123456789012345678901234567890\"\n",
     "1:9: error: delay = the string \"123456789012345678901234567890123456789012345678901234567890...\" is not a "
     "whole number"},
    {"letter beyond ASCII after a number", "xStep = 1\xC3\xA9\n",
     "1:10: error: not valid TOML: Error while parsing decimal integer: expected digit, saw '\xC3\xA9'"},
    // Names of thousands of parts overflowed the stack in the library's recursion.
    {"table name of 15000 parts", kDeepTable.c_str(), kDeepTableError.c_str()},
    {"dotted key of 15000 parts", kDeepKey.c_str(), kDeepKeyError.c_str()},
    {"five parts", "layer2.port1.button1.keyCode.x = 1\n",
     "1:1: error: key \"layer2.port1.button1.keyCode.x\" has 5 parts; no name in a configuration has more than 4, as "
     "layer2.port1.button1.keyCode"},
    // Layers and behaviours.
    {"layer past 7", "[layer8.port1.button1]\n",
     "1:2: error: unknown name \"layer8\"; the layers are layer1 to layer7, and the base's bindings are written "
     "without one, as [port1.button1]"},
    {"misspelt port in a layer", "[layer2.prot1.button1]\n",
     "1:9: error: unknown port \"layer2.prot1\"; nearest is \"layer2.port1\""},
    {"misspelt binding in a layer", "[layer2.port1.buton3]\n",
     "1:15: error: unknown binding \"layer2.port1.buton3\"; nearest is \"layer2.port1.button3\""},
    {"unknown layer action", "[port1.button1]\nlayerAction = \"hold\"\nlayerTarget = 2\n",
     "2:15: error: port1.button1.layerAction = \"hold\" is no layer action; write \"while held\" or \"toggle\""},
    {"layer target past 7", "[layer1.port2.hat_up]\nlayerAction = \"toggle\"\nlayerTarget = 8\n",
     "3:15: error: layer1.port2.hat_up.layerTarget = 8 is no layer; write 1 to 7"},
    {"layer action without a target", "[port1.button1]\nlayerAction = \"toggle\"\n",
     "2:15: error: port1.button1.layerAction needs a layerTarget, the layer it turns on, 1 to 7"},
    {"layer target without an action", "[port1.button1]\nlayerTarget = 1\n",
     "2:15: error: port1.button1.layerTarget needs a layerAction, \"while held\" or \"toggle\""},
    {"turbo below 20", "[port1.button1]\nturbo = 19\n",
     "2:9: error: port1.button1.turbo = 19 is not 20 to 1000 (milliseconds from one press to the next), or 0 for none"},
    {"turbo past 1000", "[layer7.port2.axis_v_minus]\nturbo = 1001\n",
     "2:9: error: layer7.port2.axis_v_minus.turbo = 1001 is not 20 to 1000 (milliseconds from one press to the next), "
     "or 0 for none"},
    {"dots inside quotes are no parts", "[port1.\"button1.a.b.c\"]\n",
     "1:8: error: unknown binding \"port1.button1.a.b.c\"; nearest is \"port1.button1\""},
    // A file that ends inside the settings.
    {"file end outside the settings", "fileEnd = 6724\n",
     "1:11: error: fileEnd = 6724 is not from 6688 to 6723, the lengths of a file that ends inside the settings"},
    {"setting past the file end", "fileEnd = 6698\ndelay = 5\n",
     "2:9: error: delay = 5 does not fit before fileEnd = 6698; a file that ends there gives the program 1"},
    {"chunk after the file end", "fileEnd = 6723\nfileTail = \"01\"\n",
     "1:11: error: fileEnd = 6723 ends the file inside the settings, but fileTail would follow them"},
};

class BuildErrors : public testing::TestWithParam<BadText> {};

// Through the command, so each also exits 2 and writes nothing.
TEST_P(BuildErrors, SayWhatAndWhere)
{
    ScratchDir dir;
    const std::string text = GetParam().text;
    WriteBytes(dir / "in.toml", std::vector<uint8_t>(text.begin(), text.end()));
    std::ostringstream out, err;
    EXPECT_EQ(RunBuild(dir / "in.toml", dir / "out.cfg", out, err), kExitTrouble);
    EXPECT_EQ(err.str(), dir / "in.toml:" + GetParam().message + "\n" + dir / "out.cfg" + ": not written\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.cfg"));
}

INSTANTIATE_TEST_SUITE_P(Each, BuildErrors, testing::ValuesIn(kBadTexts), [](const testing::TestParamInfo<BadText>& param) {
    std::string name = param.param.what;
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
});

TEST(BuildErrorsTogether, AreAllReportedInTextOrder)
{
    const BuildResult result = BuildConfig("[port2.button2]\nfoo = 1\n[port1.button1]\nbar = 2\nzzz = 1\n", "t");
    ASSERT_EQ(result.errors.size(), 3u);
    EXPECT_EQ(result.errors[0].line, 2);
    EXPECT_EQ(result.errors[1].line, 4);
    EXPECT_EQ(result.errors[2].line, 5);
}

TEST(BuildErrorsTogether, TheFirstTwentyInTheTextAreShownAndTheRestCounted)
{
    // The reader meets the names in their sorted order, the reverse of the text's.
    ScratchDir dir;
    std::string text;
    for (char name = 'z'; name > 'z' - 25; --name) text += std::string(1, name) + " = 1\n";
    WriteBytes(dir / "in.toml", std::vector<uint8_t>(text.begin(), text.end()));
    std::ostringstream out, err;
    EXPECT_EQ(RunBuild(dir / "in.toml", dir / "out.cfg", out, err), kExitTrouble);
    std::istringstream printed(err.str());
    std::string line;
    for (int n = 1; n <= 20 && std::getline(printed, line); ++n) {
        EXPECT_EQ(line.substr(0, line.find(';')),
                  dir / "in.toml:" + std::to_string(n) + ":1: error: unknown name \"" + char('z' + 1 - n) + "\"");
    }
    std::getline(printed, line);
    EXPECT_EQ(line, dir / "in.toml: ... and 5 more errors");
}

TEST(BuildCommand, BadTextLeavesTheOldFileAlone)
{
    ScratchDir dir;
    const std::vector<uint8_t> old(6724, 0x5A);
    WriteBytes(dir / "out.cfg", old);
    WriteBytes(dir / "in.toml", {'d', 'e', 'l', 'a', 'y', '=', '"', '"', '\n'});
    std::ostringstream out, err;
    EXPECT_EQ(RunBuild(dir / "in.toml", dir / "out.cfg", out, err), kExitTrouble);
    EXPECT_EQ(err.str(), dir / "in.toml" + ":1:7: error: delay = the string \"\" is not a whole number\n" +
                             dir / "out.cfg" + ": not written\n");
    EXPECT_EQ(ReadBytes(dir / "out.cfg"), old);
    EXPECT_EQ(Entries(dir / ""), 2);
}

TEST(BuildCommand, NeverWritesOverItsOwnText)
{
    ScratchDir dir;
    const std::vector<uint8_t> text = {'d', 'e', 'l', 'a', 'y', '=', '3', '\n'};
    WriteBytes(dir / "in.toml", text);
    std::filesystem::create_hard_link(dir / "in.toml", dir / "link.toml");
    std::ostringstream out, err;
    EXPECT_EQ(RunBuild(dir / "in.toml", dir / "in.toml", out, err), kExitTrouble);
    EXPECT_EQ(RunBuild(dir / "in.toml", dir / "link.toml", out, err), kExitTrouble);
    EXPECT_EQ(err.str(), dir / "in.toml: is the text being read; not written\n" + dir /
                             "link.toml: is the text being read; not written\n");
    EXPECT_EQ(ReadBytes(dir / "in.toml"), text);
}

// Longer than the program's 260-byte path, which the tool still writes and reads.
TEST(BuildCommand, LongPathIsWrittenAndRead)
{
    ScratchDir dir;
    const std::string folder = dir / std::string(200, 'd'), file = folder + "/" + std::string(100, 'f');
    std::filesystem::create_directory(folder);
    WriteBytes(dir / "in.toml", {'d', 'e', 'l', 'a', 'y', '=', '3', '\n'});
    std::ostringstream out, err;
    EXPECT_EQ(RunBuild(dir / "in.toml", file, out, err), kExitOk) << err.str();
    ConfigImage image;
    EXPECT_NE(LoadImage(file, image).kind, LoadOutcome::NOT_OPENED);
    EXPECT_EQ(image.settings.delay, 3);
}

TEST(BuildCommand, UnwritablePlaceIsReported)
{
    ScratchDir dir;
    WriteBytes(dir / "in.toml", {});
    std::ostringstream out, err;
    EXPECT_EQ(RunBuild(dir / "in.toml", dir / "missing/out.cfg", out, err), kExitTrouble);
    EXPECT_EQ(RunBuild(dir / "absent.toml", dir / "out.cfg", out, err), kExitTrouble);
    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(RunBuild(dir / "folder", dir / "out.cfg", out, err), kExitTrouble);
    EXPECT_EQ(err.str(), dir / "missing/out.cfg" + ": file could not be created, as the folder " + dir / "missing" +
                             " does not exist\n" + dir / "absent.toml" +
                             ": cannot read\n" + dir / "folder" + ": is a directory\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.cfg"));
}

// Links planted where a save might write lead it nowhere: what they point to
// and the links stay, and the target becomes a file of its own.
TEST(BuildCommand, PlantedLinksAreLeftAlone)
{
    ScratchDir dir;
    WriteBytes(dir / "in.toml", {});
    WriteBytes(dir / "precious.txt", {'m', 'i', 'n', 'e'});
    const char* kLinks[] = {"victim.CFG.new", "~qp0.tmp"};
    for (const char* link : kLinks) std::filesystem::create_symlink("precious.txt", dir / link);
    std::ostringstream out, err;
    EXPECT_EQ(RunBuild(dir / "in.toml", dir / "victim.CFG", out, err), kExitOk) << err.str();
    EXPECT_EQ(ReadBytes(dir / "precious.txt"), (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
    for (const char* link : kLinks) EXPECT_EQ(std::filesystem::read_symlink(dir / link), "precious.txt");
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir / "victim.CFG")));
    EXPECT_EQ(ReadBytes(dir / "victim.CFG").size(), 6724u);
    EXPECT_EQ(Entries(dir / ""), 5);
}

// A save renames a new file over its target: a FIFO or a link there (as
// /dev/stdout is) would become a regular file. Nothing is created beside them.
TEST(BuildCommand, TargetsThatAreNoRegularFileAreRefused)
{
    ScratchDir dir;
    WriteBytes(dir / "in.toml", {});
    WriteBytes(dir / "precious.txt", {'m', 'i', 'n', 'e'});
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("precious.txt", dir / "link.cfg");
    const std::pair<const char*, const char*> kTargets[] = {{"fifo", "a FIFO"}, {"link.cfg", "a link"}};
    for (const auto& [target, what] : kTargets) {
        std::ostringstream out, err;
        EXPECT_EQ(RunBuild(dir / "in.toml", dir / target, out, err), kExitTrouble);
        EXPECT_EQ(err.str(), dir / target + ": is " + what + ", not a regular file; not written\n");
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo"));
    EXPECT_EQ(std::filesystem::read_symlink(dir / "link.cfg"), "precious.txt");
    EXPECT_EQ(ReadBytes(dir / "precious.txt"), (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
    EXPECT_EQ(Entries(dir / ""), 4);
}

// A read-only file is kept as it is, even for root, who could write to it.
TEST(BuildCommand, ReadOnlyTargetIsKept)
{
    ScratchDir dir;
    WriteBytes(dir / "in.toml", {});
    const std::vector<uint8_t> old(6724, 0x5A);
    WriteBytes(dir / "out.cfg", old);
    const auto readOnly = std::filesystem::perms::owner_read | std::filesystem::perms::group_read;
    std::filesystem::permissions(dir / "out.cfg", readOnly);
    std::ostringstream out, err;
    EXPECT_EQ(RunBuild(dir / "in.toml", dir / "out.cfg", out, err), kExitTrouble);
    EXPECT_EQ(err.str(), dir / "out.cfg" + ": file could not be created\n");
    EXPECT_EQ(ReadBytes(dir / "out.cfg"), old);
    EXPECT_EQ(std::filesystem::status(dir / "out.cfg").permissions(), readOnly);
    EXPECT_EQ(Entries(dir / ""), 2);
}

}  // namespace
