#include "tools/quellpad-cfg/toml_text.h"

#include <cstdio>
#include <cstring>

#include "config/vocabulary.h"
#include "tools/quellpad-cfg/diagnostic.h"

std::string QuoteBytes(std::string_view bytes)
{
    bool printable = true;
    for (const char c : bytes) printable = printable && c >= 0x20 && c <= 0x7E;
    if (printable && bytes.find('"') != std::string_view::npos && bytes.find('\'') == std::string_view::npos) {
        std::string literal = "'";
        literal.append(bytes);
        literal += '\'';
        return literal;
    }
    std::string out = "\"";
    for (const char c : bytes) {
        const auto byte = uint8_t(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte >= 0x20 && byte <= 0x7E) {
            out += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", unsigned(byte));
            out += escape;
        }
    }
    return out + "\"";
}

std::string QuoteForMessage(std::string_view utf8)
{
    bool cut = false;
    const std::string_view shown = ShortenedForMessage(utf8, cut);
    std::string out = "\"";
    for (size_t i = 0; i < shown.size(); ++i) {
        const char c = shown[i];
        const auto byte = uint8_t(c);
        // U+0080..U+009F, the C1 controls, arrive as C2 80..C2 9F.
        const bool c1 = byte == 0xC2 && i + 1 < shown.size() && (uint8_t(shown[i + 1]) & 0xE0) == 0x80;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F || c1) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", c1 ? unsigned(uint8_t(shown[++i])) : unsigned(byte));
            out += escape;
        } else {
            out += c;
        }
    }
    out += cut ? "...\"" : "\"";
    return out;
}

std::string FlagText(int32_t value)
{
    if (value == 0) return "false";
    if (value == 1) return "true";
    return std::to_string(value);
}

std::string KeyCodeText(int32_t code)
{
    const KeyChoice* choice = FindKeyChoice(code);
    return choice != nullptr ? QuoteBytes(choice->text) : std::to_string(code);
}

std::string MouseActionText(int32_t code)
{
    const MouseChoice* choice = FindMouseChoice(code);
    return choice != nullptr ? QuoteBytes(choice->text) : std::to_string(code);
}

std::string_view TextBytes(const ActionRecord& record)
{
    return std::string_view(record.text, strnlen(record.text, kTextSize));
}

bool HasTerminator(const ActionRecord& record) { return TextBytes(record).size() < size_t(kTextSize); }

std::string HexText(std::string_view bytes)
{
    std::string out;
    for (const char byte : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02x", unsigned(uint8_t(byte)));
        if (!out.empty()) out += ' ';
        out += pair;
    }
    return out;
}

std::string TailHex(const ActionRecord& record)
{
    size_t end = kTextSize;
    const size_t start = TextBytes(record).size() + 1;
    while (end > start && record.text[end - 1] == '\0') --end;
    return start < end ? HexText(std::string_view(record.text + start, end - start)) : std::string();
}

std::string HexBlock(std::string_view bytes)
{
    constexpr size_t kPerLine = 16;
    if (bytes.size() <= kPerLine) return "\"" + HexText(bytes) + "\"";
    std::string out = "\"\"\"\n";
    for (size_t i = 0; i < bytes.size(); i += kPerLine) out += HexText(bytes.substr(i, kPerLine)) + "\n";
    return out + "\"\"\"";
}

std::string DecodeText(std::string_view utf8, std::string& bytes)
{
    bytes.clear();
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = uint8_t(utf8[i]);
        uint32_t point = lead;
        size_t length = 1;
        // The parser hands over valid UTF-8; only the width is needed here.
        if (lead >= 0xF0) {
            length = 4;
            point = lead & 0x07;
        } else if (lead >= 0xE0) {
            length = 3;
            point = lead & 0x0F;
        } else if (lead >= 0xC0) {
            length = 2;
            point = lead & 0x1F;
        }
        for (size_t k = 1; k < length && i + k < utf8.size(); ++k) point = point << 6 | (uint8_t(utf8[i + k]) & 0x3F);
        if (point == 0) return "holds U+0000, which would end the text; put bytes after the end in textTail";
        if (point > 0xFF) {
            char problem[96];
            std::snprintf(problem, sizeof problem, "holds U+%04X; each character is one byte, U+0001 to U+00FF",
                          unsigned(point));
            return problem;
        }
        bytes += char(point);
        i += length;
    }
    return {};
}

std::string DecodeTailHex(std::string_view hex, std::string& bytes)
{
    bytes.clear();
    auto digit = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    for (size_t i = 0; i < hex.size();) {
        if (hex[i] == ' ' || hex[i] == '\n' || hex[i] == '\r' || hex[i] == '\t') {
            ++i;
            continue;
        }
        const int high = digit(hex[i]);
        const int low = i + 1 < hex.size() ? digit(hex[i + 1]) : -1;
        if (high < 0 || low < 0) {
            return "is not a list of hex byte pairs such as \"00 7a\" (column " + std::to_string(i + 1) +
                   " of the value)";
        }
        bytes += char(high << 4 | low);
        i += 2;
    }
    return {};
}
