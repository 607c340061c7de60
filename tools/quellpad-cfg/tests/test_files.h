// Scratch files for the tool's tests, removed when the test ends.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>
#include <unistd.h>

class ScratchDir {
public:
    ScratchDir()
    {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        // The process id keeps apart runs of the suite that share a machine.
        std::string name = "quellpad-cfg-" + std::to_string(getpid()) + "-" + test->test_suite_name() + "-" + test->name();
        for (char& c : name) c = c == '/' ? '-' : c;
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
