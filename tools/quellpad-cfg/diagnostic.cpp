#include "tools/quellpad-cfg/diagnostic.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

bool Before(int line, int column, const Diagnostic& d) { return line != d.line ? line < d.line : column < d.column; }

// The length of the well-formed UTF-8 character at the start of text and its
// code point; 0 when the first byte starts none.
size_t Utf8Character(std::string_view text, uint32_t& point)
{
    const auto byte = [&text](size_t i) { return uint8_t(text[i]); };
    const uint8_t lead = byte(0);
    size_t length = 0;
    uint32_t least = 0;
    if (lead < 0x80) {
        point = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, least = 0x80, point = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, least = 0x800, point = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, least = 0x10000, point = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        point = point << 6 | (byte(i) & 0x3Fu);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point < least || point > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

bool DiagnosticList::Wants(int line, int column)
{
    if (kept_.size() < kMaxShownErrors || Before(line, column, kept_.back())) return true;
    ++more_;
    return false;
}

void DiagnosticList::Add(Diagnostic diagnostic)
{
    // After any kept at the same place, so equal places keep their order.
    const auto at = std::find_if(kept_.begin(), kept_.end(), [&diagnostic](const Diagnostic& d) {
        return Before(diagnostic.line, diagnostic.column, d);
    });
    kept_.insert(at, std::move(diagnostic));
    if (kept_.size() > kMaxShownErrors) {
        kept_.pop_back();
        ++more_;
    }
}

std::string FormatDiagnostic(std::string_view source, const Diagnostic& d)
{
    std::string line = EscapeControls(source);
    line += ':';
    line += std::to_string(d.line);
    line += ':';
    line += std::to_string(d.column);
    line += ": error: ";
    line += EscapeControls(d.message);
    return line;
}

void PrintDiagnostics(std::string_view source, const DiagnosticList& diagnostics, std::ostream& out)
{
    for (const Diagnostic& d : diagnostics) out << FormatDiagnostic(source, d) << '\n';
    if (diagnostics.more() > 0) {
        out << EscapeControls(source) << ": ... and " << diagnostics.more()
            << (diagnostics.more() == 1 ? " more error\n" : " more errors\n");
    }
}

std::string EscapeControls(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t point = 0;
        const size_t length = Utf8Character(text.substr(i), point);
        const bool control = (point < 0x20 && point != '\t') || point == 0x7F || (point >= 0x80 && point <= 0x9F);
        if (length > 0 && !control) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        // A control character as all its bytes; a stray byte alone.
        for (const size_t end = i + std::max<size_t>(length, 1); i < end; ++i) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", unsigned(uint8_t(text[i])));
            out += escape;
        }
    }
    return out;
}

std::string_view ShortenedForMessage(std::string_view text, bool& cut)
{
    size_t at = 0;
    for (size_t characters = 0; at < text.size() && characters < kShownCharacters; ++characters) {
        // A byte that starts no well-formed character counts as one.
        uint32_t point = 0;
        at += std::max<size_t>(Utf8Character(text.substr(at), point), 1);
    }
    cut = at < text.size();
    return text.substr(0, at);
}

std::string QuoteWord(std::string_view text)
{
    bool cut = false;
    std::string out = "\"";
    out += EscapeControls(ShortenedForMessage(text, cut));
    out += cut ? "...\"" : "\"";
    return out;
}
