// The closed set of keys and mouse actions a binding can name, in the order
// the editor shows them.
#pragma once

#include <cstdint>

constexpr int kKeyChoiceCount = 136;
constexpr int kMouseChoiceCount = 14;

struct KeyChoice {
    char text[16];
    int32_t code;
};

struct MouseChoice {
    const char* text;
    int32_t code;
};

// Digits, capitals, small letters (code + 224, typed without Shift), numpad,
// F01..F24, then the named keys.
extern const KeyChoice (&KeyChoiceList)[kKeyChoiceCount];
extern const MouseChoice MouseChoiceList[kMouseChoiceCount];

// The entry whose code is given, or nullptr when the vocabulary lacks it.
const KeyChoice* FindKeyChoice(int32_t code);
const MouseChoice* FindMouseChoice(int32_t code);
