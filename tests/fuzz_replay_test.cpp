// Replays the fuzz seed corpus and every input the fuzzer once failed on
// through the same entry as the fuzz target, under this build's sanitizers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_input.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesIn(const fs::path& folder)
{
    std::vector<fs::path> files;
    if (!fs::is_directory(folder)) return files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().filename() != "README.md") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Inputs the fuzzer once failed on go into tests/fuzz/regressions/, beside
// the seeds; both folders replay here.
TEST(FuzzReplay, SeedsAndKeptFindingsRunClean)
{
    std::vector<fs::path> files = FilesIn(fs::path(QUELLPAD_FUZZ_DIR) / "corpus");
    ASSERT_GE(files.size(), 20u) << "the seed corpus in tests/fuzz/corpus is missing";
    const std::vector<fs::path> kept = FilesIn(fs::path(QUELLPAD_FUZZ_DIR) / "regressions");
    files.insert(files.end(), kept.begin(), kept.end());
    for (const fs::path& file : files) {
        const std::vector<uint8_t> input = ReadAll(file);
        const char* failure = RunFuzzInput(input.data(), input.size());
        EXPECT_EQ(failure, nullptr) << file << ": " << failure;
    }
}

}  // namespace
