// How values of a configuration are spelled in its text form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/mapping_table.h"

// A TOML string that reads back as exactly these bytes. Bytes outside
// printable ASCII become \u0000..\u00FF, the code point equal to the byte, so
// control characters and the upper half survive any editor. Names holding a
// double quote, such as character "a", are written as literal strings.
std::string QuoteBytes(std::string_view bytes);

// A string from the user's text, quoted for a message: UTF-8 left as it is,
// quotes, backslashes and control characters escaped, and cut after 60
// characters with "...".
std::string QuoteForMessage(std::string_view utf8);

// 0 and 1 as false and true; anything else as the number it is.
std::string FlagText(int32_t value);
// The vocabulary's name when it has one, otherwise the number.
std::string KeyCodeText(int32_t code);
std::string MouseActionText(int32_t code);

// The characters of a record's text, up to its terminator or all 40 bytes.
std::string_view TextBytes(const ActionRecord& record);
bool HasTerminator(const ActionRecord& record);
// The bytes after the terminator, up to the last that is not zero, as
// space-separated hex pairs ("00 7a 7a"); empty when they are all zero.
std::string TailHex(const ActionRecord& record);

// Bytes as space-separated hex pairs ("00 7a 7a").
std::string HexText(std::string_view bytes);
// Bytes as hex pairs for a TOML value: one line for a few, otherwise a
// multi-line string of 16 pairs a line.
std::string HexBlock(std::string_view bytes);

// The byte string a TOML string value stands for: each code point is one
// byte, so none may be above U+00FF, and none may be U+0000, which would end
// the text. Returns an empty problem when the value is good.
std::string DecodeText(std::string_view utf8, std::string& bytes);
// Hex pairs, with any spaces and line breaks between them. Empty problem
// when good.
std::string DecodeTailHex(std::string_view hex, std::string& bytes);
