// The keys and mouse actions a binding can name, as the action pages list them.
#include "config/vocabulary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>

namespace {

struct NamedKey {
    const char* text;
    int32_t code;
};

TEST(KeyVocabulary, EveryDigitLetterNumpadAndFunctionKey)
{
    ASSERT_EQ(sizeof KeyChoiceList / sizeof KeyChoiceList[0], 136u);
    struct Group {
        int first;
        int count;
        const char* format;
        char firstChar;
        int32_t firstCode;
    };
    // clang-format off
    constexpr Group kGroups[] = {
        {0, 10, "number \"%c\"", '0', 48},      {10, 26, "character \"%c\"", 'A', 65},
        {36, 26, "character \"%c\"", 'a', 321}, {62, 10, "numpad %c", '0', 96},
    };
    // clang-format on
    for (const Group& g : kGroups) {
        for (int i = 0; i < g.count; ++i) {
            char text[32];
            std::snprintf(text, sizeof text, g.format, g.firstChar + i);
            EXPECT_STREQ(KeyChoiceList[g.first + i].text, text);
            EXPECT_EQ(KeyChoiceList[g.first + i].code, g.firstCode + i) << text;
        }
    }
    for (int i = 1; i <= 24; ++i) {
        char text[8];
        std::snprintf(text, sizeof text, "F%02d", i);
        EXPECT_STREQ(KeyChoiceList[71 + i].text, text);
        EXPECT_EQ(KeyChoiceList[71 + i].code, 111 + i) << text;
    }
}

TEST(KeyVocabulary, NamedKeysInTheirOwnOrder)
{
    // clang-format off
    constexpr NamedKey kNamed[] = {
        {"cancel", 3},        {"back", 8},           {"tab", 9},             {"clear", 12},
        {"return", 13},       {"shift", 16},         {"left shift", 160},    {"shift right", 161},
        {"control", 17},      {"control left", 162}, {"control right", 163}, {"menu", 18},
        {"menu left", 164},   {"menu right", 165},   {"pause", 19},          {"capital", 20},
        {"escape", 27},       {"space", 32},         {"prior", 33},          {"next", 34},
        {"end", 35},          {"home", 36},          {"cursor left", 37},    {"cursor up", 38},
        {"cursor right", 39}, {"cursor down", 40},   {"print", 42},          {"execute", 43},
        {"snapshot", 44},     {"insert", 45},        {"delete", 46},         {"help", 47},
        {"multiply", 106},    {"add", 107},          {"separator", 108},     {"substract", 109},
        {"decimal", 110},     {"divide", 111},       {"numlock", 144},       {"scroll", 145},
    };
    // clang-format on
    static_assert(sizeof kNamed / sizeof kNamed[0] == 40);
    for (int i = 0; i < 40; ++i) {
        EXPECT_STREQ(KeyChoiceList[96 + i].text, kNamed[i].text) << "named key " << i;
        EXPECT_EQ(KeyChoiceList[96 + i].code, kNamed[i].code) << kNamed[i].text;
    }
}

TEST(KeyVocabulary, CodesAreUniqueAndEachFindsItsEntry)
{
    std::set<int32_t> codes;
    for (const KeyChoice& choice : KeyChoiceList) {
        EXPECT_TRUE(codes.insert(choice.code).second) << "code " << choice.code << " twice";
        EXPECT_NE(std::memchr(choice.text, 0, sizeof choice.text), nullptr) << "unterminated text";
        EXPECT_EQ(FindKeyChoice(choice.code), &choice) << choice.text;
    }
}

TEST(KeyVocabulary, UnlistedCodesSelectNothing)
{
    // 92..95 lie between the letters and the numpad; 320 and 347 just outside the small letters.
    for (const int32_t code : {0, -1, 41, 91, 92, 95, 136, 146, 255, 256, 320, 347, 65 + 65536, INT32_MIN}) {
        EXPECT_EQ(FindKeyChoice(code), nullptr) << "code " << code;
    }
}

TEST(MouseVocabulary, TextsCodesAndLookUp)
{
    // clang-format off
    constexpr const char* kTexts[] = {
        "move up",           "move down",    "move left",           "move right",  "left click",
        "left double click", "middle click", "middle double click", "right click", "right double click",
        "wheel up",          "wheel down",   "wheel left",          "wheel right",
    };
    // clang-format on
    ASSERT_EQ(sizeof MouseChoiceList / sizeof MouseChoiceList[0], 14u);
    for (int i = 0; i < 14; ++i) {
        EXPECT_STREQ(MouseChoiceList[i].text, kTexts[i]);
        EXPECT_EQ(MouseChoiceList[i].code, i) << kTexts[i];
        EXPECT_EQ(FindMouseChoice(i), &MouseChoiceList[i]) << kTexts[i];
    }
    // An all-zero binding shows "move up".
    ASSERT_NE(FindMouseChoice(0), nullptr);
    EXPECT_STREQ(FindMouseChoice(0)->text, "move up");
    for (const int32_t code : {-1, 14, 99, 256}) EXPECT_EQ(FindMouseChoice(code), nullptr) << "code " << code;
}

}  // namespace
