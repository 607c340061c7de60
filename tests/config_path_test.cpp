// The default configuration file: the program's own name with "CFG".
#include "config/config_path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/config_file.h"
#include "tests/fake_platform.h"

namespace {

struct PathCase {
    const char* name;
    std::string module;
    std::string expected;  // empty: no default file
};

// "C:\" followed by q's up to `length` characters, then the extension.
std::string Long(size_t length, const char* extension)
{
    return "C:\\" + std::string(length - 3, 'q') + extension;
}

const PathCase kCases[] = {
    {"Plain", "C:\\Tools\\quellpad.exe", "C:\\Tools\\quellpad.CFG"},
    {"NoExtension", "C:\\Tools\\quellpad", "C:\\Tools\\quellpad.CFG"},
    {"DottedDirectory", "C:\\my.dir\\quellpad.exe", "C:\\my.dir\\quellpad.CFG"},
    {"DottedDirectoryNoExtension", "C:\\my.dir\\quellpad", "C:\\my.dir\\quellpad.CFG"},
    {"ForwardSlashes", "C:/my.dir/quellpad.exe", "C:/my.dir/quellpad.CFG"},
    {"ForwardSlashNoExtension", "C:/my.dir/quellpad", "C:/my.dir/quellpad.CFG"},
    {"DriveRelative", "C:quellpad.exe", "C:quellpad.CFG"},
    {"DriveRelativeDottedDirectory", "C:my.dir\\quellpad", "C:my.dir\\quellpad.CFG"},
    {"Network", "\\\\server\\share.x\\quellpad.exe", "\\\\server\\share.x\\quellpad.CFG"},
    {"LastDotOnly", "C:\\Tools\\quell.pad.exe", "C:\\Tools\\quell.pad.CFG"},
    {"TrailingDot", "C:\\Tools\\quellpad.", "C:\\Tools\\quellpad.CFG"},
    {"UpperCaseKept", "C:\\TOOLS\\QUELLPAD.EXE", "C:\\TOOLS\\QUELLPAD.CFG"},
    {"LowerCaseCfgRaised", "C:\\Tools\\quellpad.cfg", "C:\\Tools\\quellpad.CFG"},
    {"NoModuleName", "", ""},
    // 259 characters is the most a path may have.
    {"FitsExactly", Long(255, ".exe"), Long(255, ".CFG")},
    {"ShortExtensionOneTooLong", Long(256, ".ex"), ""},
    {"NoExtensionFitsExactly", Long(255, ""), Long(255, ".CFG")},
    {"NoExtensionOneTooLong", Long(256, ""), ""},
    {"ModuleOf259NoExtension", Long(259, ""), ""},
    {"ModuleCutShort", Long(256, ".exe"), ""},
    {"ModuleFarTooLong", Long(500, ".exe"), ""},
    // Cut inside a dotted folder, the remains look like a short program name;
    // the real program lies deeper and its name is unknown.
    {"CutInsideDottedFolder", "C:\\Tools\\quell." + std::string(250, 'q') + "\\quellpad.exe", ""},
};

void PrintTo(const PathCase& c, std::ostream* out)
{
    *out << c.name;
}

class DefaultPath : public ::testing::TestWithParam<PathCase> {};

TEST_P(DefaultPath, FromModuleName)
{
    const PathCase& c = GetParam();
    ResetProgramState();
    ASSERT_LT(c.module.size(), sizeof fake.modulePath);
    std::strcpy(fake.modulePath, c.module.c_str());
    std::strcpy(running.configPath, "D:\\stale.CFG");

    DefaultConfigPath(running.configPath);

    ASSERT_LT(c.expected.size(), size_t(kPathSize));
    EXPECT_EQ(std::string(running.configPath), c.expected);
    if (c.expected.empty()) {
        // With no default file the load says so rather than reading a wrong one.
        PutFakeFile("D:\\stale.CFG", std::vector<uint8_t>(kConfigFileSize, 1));
        ReloadConfig();
        EXPECT_EQ(Events(), std::vector<Event>{
                                Message("error", "config file could not be opened\nplease configure first")});
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, DefaultPath, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
