#include "config/vocabulary.h"

namespace {

struct NamedKey {
    const char* text;
    int32_t code;
};

// Order and spelling are what users have in their files and muscle memory.
constexpr NamedKey kNamedKeys[] = {
    {"cancel", 3},         {"back", 8},           {"tab", 9},            {"clear", 12},
    {"return", 13},        {"shift", 16},         {"left shift", 160},   {"shift right", 161},
    {"control", 17},       {"control left", 162}, {"control right", 163}, {"menu", 18},
    {"menu left", 164},    {"menu right", 165},   {"pause", 19},         {"capital", 20},
    {"escape", 27},        {"space", 32},         {"prior", 33},         {"next", 34},
    {"end", 35},           {"home", 36},          {"cursor left", 37},   {"cursor up", 38},
    {"cursor right", 39},  {"cursor down", 40},   {"print", 42},         {"execute", 43},
    {"snapshot", 44},      {"insert", 45},        {"delete", 46},        {"help", 47},
    {"multiply", 106},     {"add", 107},          {"separator", 108},    {"substract", 109},
    {"decimal", 110},      {"divide", 111},       {"numlock", 144},      {"scroll", 145},
};
static_assert(sizeof kNamedKeys / sizeof kNamedKeys[0] == 40);

constexpr void Copy(char* to, const char* from)
{
    while ((*to++ = *from++) != '\0') {
    }
}

// `prefix "c"`, as the lists have always shown digits and letters.
constexpr KeyChoice Quoted(const char* prefix, char c, int32_t code)
{
    KeyChoice choice = {};
    int n = 0;
    while (prefix[n] != '\0') {
        choice.text[n] = prefix[n];
        ++n;
    }
    choice.text[n++] = '"';
    choice.text[n++] = c;
    choice.text[n++] = '"';
    choice.code = code;
    return choice;
}

struct KeyList {
    KeyChoice entry[kKeyChoiceCount];
};

constexpr KeyList BuildKeyList()
{
    KeyList list = {};
    int n = 0;
    for (char c = '0'; c <= '9'; ++c) list.entry[n++] = Quoted("number ", c, c);
    for (char c = 'A'; c <= 'Z'; ++c) list.entry[n++] = Quoted("character ", c, c);
    for (char c = 'a'; c <= 'z'; ++c) list.entry[n++] = Quoted("character ", c, c + 224);
    for (int i = 0; i <= 9; ++i) {
        Copy(list.entry[n].text, "numpad 0");
        list.entry[n].text[7] = char('0' + i);
        list.entry[n++].code = 96 + i;
    }
    for (int i = 1; i <= 24; ++i) {
        Copy(list.entry[n].text, "F00");
        list.entry[n].text[1] = char('0' + i / 10);
        list.entry[n].text[2] = char('0' + i % 10);
        list.entry[n++].code = 111 + i;
    }
    for (const NamedKey& key : kNamedKeys) {
        Copy(list.entry[n].text, key.text);
        list.entry[n++].code = key.code;
    }
    return list;
}

constexpr KeyList kKeyList = BuildKeyList();

}  // namespace

const KeyChoice (&KeyChoiceList)[kKeyChoiceCount] = kKeyList.entry;

const MouseChoice MouseChoiceList[kMouseChoiceCount] = {
    {"move up", 0},      {"move down", 1},         {"move left", 2},         {"move right", 3},
    {"left click", 4},   {"left double click", 5}, {"middle click", 6},      {"middle double click", 7},
    {"right click", 8},  {"right double click", 9},
    // Appended, so that the codes stored in older files keep their meaning.
    {"wheel up", 10},    {"wheel down", 11},       {"wheel left", 12},       {"wheel right", 13},
};

const KeyChoice* FindKeyChoice(int32_t code)
{
    for (const KeyChoice& choice : KeyChoiceList) {
        if (choice.code == code) return &choice;
    }
    return nullptr;
}

const MouseChoice* FindMouseChoice(int32_t code)
{
    for (const MouseChoice& choice : MouseChoiceList) {
        if (choice.code == code) return &choice;
    }
    return nullptr;
}
