// show then build must give back every byte the program would write.
#include <cstring>
#include <filesystem>
#include <random>

#include "tests/fuzz/text_fuzz_input.h"
#include "tools/quellpad-cfg/tests/test_files.h"
#include "tools/quellpad-cfg/build_text.h"
#include "tools/quellpad-cfg/config_image.h"
#include "tools/quellpad-cfg/show_text.h"
#include "tools/quellpad-cfg/tool_platform.h"

namespace {

// Reads file as the program does and writes it back as the program does;
// then does the same through the text form, and compares the two.
void ExpectRoundTrip(const ScratchDir& dir, const std::string& file, bool all)
{
    ConfigImage read;
    ASSERT_NE(LoadImage(file, read).kind, LoadOutcome::NOT_OPENED) << file;
    ASSERT_EQ(SaveImage(read, dir / "direct.cfg").kind, SaveOutcome::WRITTEN);

    const std::string text = ShowConfig(read, all);
    const BuildResult built = BuildConfig(text, "shown");
    ASSERT_TRUE(built.errors.empty()) << built.errors.front().message << "\n" << text;
    ASSERT_EQ(SaveImage(built.image, dir / "rebuilt.cfg").kind, SaveOutcome::WRITTEN);
    ASSERT_EQ(ReadBytes(dir / "direct.cfg"), ReadBytes(dir / "rebuilt.cfg")) << file << "\n" << text;
    // And the dump of the rebuilt file is the same dump, so dumps diff cleanly.
    ConfigImage again;
    LoadImage(dir / "rebuilt.cfg", again);
    EXPECT_EQ(ShowConfig(again, all), text);
}

// Shapes of file content: pure noise, sparse noise in a mostly empty table,
// and editor-like records whose texts have leftovers after the terminator;
// each also with what may follow the 6724 bytes: noise, the hats' chunk
// then noise, the hats' chunk after an unknown one, a layer and behaviours
// in the writer's order, or behaviours (one out of range, one twice) before
// a layer before the hats.
std::vector<uint8_t> RandomFile(std::mt19937& random, int shape)
{
    std::vector<uint8_t> bytes(6724);
    std::uniform_int_distribution<int> tailLength(0, 40);
    std::vector<uint8_t> noise(size_t(tailLength(random)));
    for (auto& b : noise) b = uint8_t(random());
    std::vector<uint8_t> hats = {'H', 'A', 'T', 'S', 0x60, 0x02, 0, 0};
    for (int i = 0; i < 608; ++i) hats.push_back(uint8_t(random() % 4 == 0 ? random() : 0));
    const std::vector<uint8_t> unknown = {'X', 'T', 'R', 'A', 2, 0, 0, 0, 7, 7};
    const uint8_t digit = uint8_t('1' + random() % 7);
    std::vector<uint8_t> layer = {'L', 'Y', 'R', digit, 0x80, 0x1C, 0, 0};
    for (int i = 0; i < 7296; ++i) layer.push_back(uint8_t(random() % 8 == 0 ? random() : 0));
    std::vector<uint8_t> entries;
    for (int key = 0; key < 768; ++key) {
        if (random() % 24 != 0) continue;
        const uint8_t action = uint8_t(random() % 3);
        const uint32_t turbo = action == 0 || random() % 2 == 0 ? 20 + random() % 981 : 0;
        const uint8_t entry[8] = {uint8_t(key / 96), uint8_t(key / 48 % 2), uint8_t(key % 48), action,
                                  uint8_t(action == 0 ? 0 : 1 + random() % 7), 0, uint8_t(turbo), uint8_t(turbo >> 8)};
        entries.insert(entries.end(), entry, entry + 8);
    }
    if (shape / 3 == 5) {
        const uint8_t faults[16] = {9, 0, 0, 1, 1, 0, 0, 0, entries[0], entries[1], entries[2], 0, 0, 0, 0, 0};
        entries.insert(entries.end(), faults, faults + 16);
    }
    std::vector<uint8_t> behaviours = {'B', 'H', 'V', 'R', uint8_t(entries.size()), uint8_t(entries.size() >> 8), 0, 0};
    behaviours.insert(behaviours.end(), entries.begin(), entries.end());
    switch (shape / 3) {
    case 1: bytes.insert(bytes.end(), noise.begin(), noise.end()); break;
    case 2: bytes.insert(bytes.end(), hats.begin(), hats.end()), bytes.insert(bytes.end(), noise.begin(), noise.end()); break;
    case 3: bytes.insert(bytes.end(), unknown.begin(), unknown.end()), bytes.insert(bytes.end(), hats.begin(), hats.end()); break;
    case 4:
        for (const auto* chunk : {&hats, &layer, &behaviours, &noise}) bytes.insert(bytes.end(), chunk->begin(), chunk->end());
        break;
    case 5:
        for (const auto* chunk : {&behaviours, &layer, &hats}) bytes.insert(bytes.end(), chunk->begin(), chunk->end());
        break;
    default: break;
    }
    shape %= 3;
    std::uniform_int_distribution<int> byte(0, 255), index(0, 6723), small(0, 3);
    if (shape == 0) {
        for (auto& b : bytes) b = uint8_t(byte(random));
    } else if (shape == 1) {
        for (int i = 0; i < 200; ++i) bytes[size_t(index(random))] = uint8_t(byte(random));
    } else {
        for (int record = 0; record < 88; ++record) {  // the 6724 bytes only
            uint8_t* r = bytes.data() + record * 76;
            for (int field = 0; field < 7; ++field) r[field * 4] = uint8_t(small(random) == 0);
            for (int i = 28; i < 68; ++i) r[i] = uint8_t(byte(random) % 3 == 0 ? 0 : 'a' + byte(random) % 26);
            r[68] = uint8_t(small(random) == 0);
            r[72] = uint8_t(byte(random) % 12);
        }
    }
    return bytes;
}

TEST(RoundTrip, RandomFilesComeBackByteForByte)
{
    ScratchDir dir;
    std::mt19937 random(6724);
    for (int i = 0; i < 180; ++i) {
        const std::vector<uint8_t> bytes = RandomFile(random, i % 18);
        WriteBytes(dir / "original.cfg", bytes);
        ExpectRoundTrip(dir, dir / "original.cfg", i % 2 == 0);
        // The layer and behaviours in the writer's order are read, not kept as bytes.
        ConfigImage read;
        LoadImage(dir / "original.cfg", read);
        EXPECT_TRUE(i % 18 / 3 != 4 || !read.chunksInFileTail) << "file " << i;
        // A whole file is also exactly what the program writes back.
        ASSERT_EQ(ReadBytes(dir / "rebuilt.cfg"), bytes) << "file " << i;
    }
    // A file that ends inside the settings keeps its length.
    for (const size_t size : {6688, 6700, 6723}) {
        for (int shape = 0; shape < 3; ++shape) {
            std::vector<uint8_t> bytes = RandomFile(random, shape);
            bytes.resize(size);
            WriteBytes(dir / "original.cfg", bytes);
            ExpectRoundTrip(dir, dir / "original.cfg", false);
            ASSERT_EQ(ReadBytes(dir / "rebuilt.cfg"), bytes) << size << " bytes, shape " << shape;
        }
    }
}

// The fuzz inputs start with a 16-bit little-endian file length (0xFFFF: no
// file), then the file.
TEST(RoundTrip, FuzzCorpusFiles)
{
    const std::filesystem::path corpus = QUELLPAD_FUZZ_CORPUS;
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    ScratchDir dir;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::vector<uint8_t> input = ReadBytes(entry.path().string());
        if (input.size() < 2) continue;
        const size_t length = input[0] | size_t(input[1]) << 8;
        if (length == 0xFFFF) continue;
        const std::vector<uint8_t> file(input.begin() + 2, input.begin() + 2 + std::min(length, input.size() - 2));
        WriteBytes(dir / "original.cfg", file);
        ExpectRoundTrip(dir, dir / "original.cfg", false);
        if (file.size() >= 6724) {
            EXPECT_EQ(ReadBytes(dir / "rebuilt.cfg"), file) << entry.path();
        }
        ++files;
    }
    EXPECT_GT(files, 0);
}

// The text fuzzers' seeds and kept findings, through the same bodies under
// this build's sanitizers.
TEST(RoundTrip, TextFuzzCorpora)
{
    const std::pair<const char*, const char* (*)(const uint8_t*, size_t)> corpora[] = {
        {"corpus-toml", RunTomlFuzzInput}, {"corpus-trace", RunTraceFuzzInput}};
    for (const auto& [folder, run] : corpora) {
        size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(std::string(QUELLPAD_FUZZ_DIR) + "/" + folder)) {
            const std::vector<uint8_t> input = ReadBytes(entry.path().string());
            const char* failure = run(input.data(), input.size());
            EXPECT_EQ(failure, nullptr) << entry.path() << ": " << failure;
            ++files;
        }
        EXPECT_GE(files, 20u) << folder;
    }
}

TEST(RoundTrip, HandWrittenTextsComeBack)
{
    // The corners of the text form: a text that fills all 40 bytes, leftovers
    // after an empty text, every byte value, extreme numbers.
    ScratchDir dir;
    ConfigImage image;
    image.settings.delay = INT32_MIN;
    image.settings.xStep = INT32_MAX;
    ActionRecord& full = image.MappingTable[0][0];
    std::memset(full.text, 'x', sizeof full.text);
    ActionRecord& leftovers = image.MappingTable[0][1];
    leftovers.text[5] = 'z';
    leftovers.text[39] = char(0xFF);
    int n = 0;
    for (int port = 0; port < kPortCount; ++port) {
        for (int slot = port == 0 ? 2 : 0; slot < kSlotCount; ++slot) {
            for (int i = 0; i < 39; ++i) image.MappingTable[port][slot].text[i] = char(1 + n++ % 255);
        }
    }
    image.MappingTable[1][43].keyCode = -1;
    image.MappingTable[1][43].mouseAction = INT32_MIN;
    image.portSource[1] = 4;
    std::memset(image.layers[6][1][47].text, 'y', sizeof full.text);
    image.layers[0][0][0].keyCode = 321;
    image.behaviour[7][1][47] = {LAYER_TOGGLE, 7, kTurboMax};
    image.behaviour[0][0][0] = {LAYER_WHILE_HELD, 1, 0};
    image.behaviour[3][0][44].turbo = kTurboMin;
    ASSERT_EQ(SaveImage(image, dir / "corners.cfg").kind, SaveOutcome::WRITTEN);
    ExpectRoundTrip(dir, dir / "corners.cfg", true);
    EXPECT_EQ(ReadBytes(dir / "rebuilt.cfg"), ReadBytes(dir / "corners.cfg"));
}

}  // namespace
