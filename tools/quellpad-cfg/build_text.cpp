#include "tools/quellpad-cfg/build_text.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>
#include <sstream>

#define TOML_HEADER_ONLY 1
#include <toml++/toml.h>
#ifndef QUELLPAD_TOMLPP_MENDED
#error "toml++ must come from the mended copy that tools/quellpad-cfg/CMakeLists.txt makes"
#endif

#include "config/config_file.h"
#include "config/vocabulary.h"
#include "tools/quellpad-cfg/config_names.h"
#include "tools/quellpad-cfg/nearest_name.h"
#include "tools/quellpad-cfg/toml_text.h"

namespace {

constexpr const char* kFileTail = "fileTail";
constexpr const char* kFileEnd = "fileEnd";

// --- names of too many parts, refused before the TOML library sees them -----
//
// The library makes a table for each part of a dotted name and walks and
// frees them recursively, so a name of thousands of parts overflows the
// stack. No name in a configuration has more than four parts
// (layer2.port1.button3.keyCode).
constexpr size_t kMaxNameParts = 4;

bool IsBareKeyCharacter(char c) { return std::isalnum(uint8_t(c)) || c == '_' || c == '-'; }

bool ThreeQuotes(std::string_view text, size_t at, char quote)
{
    return at + 3 <= text.size() && text[at] == quote && text[at + 1] == quote && text[at + 2] == quote;
}

// Just past the string that starts at text[at], a quote; a single-line
// string left open ends before its line break.
size_t SkipString(std::string_view text, size_t at)
{
    const char quote = text[at];
    const bool escapes = quote == '"';
    const bool multiLine = ThreeQuotes(text, at, quote);
    for (size_t i = at + (multiLine ? 3 : 1); i < text.size(); ++i) {
        if (escapes && text[i] == '\\') {
            ++i;
        } else if (!multiLine && text[i] == '\n') {
            return i;
        } else if (!multiLine && text[i] == quote) {
            return i + 1;
        } else if (ThreeQuotes(text, i, quote)) {
            // Up to two quotes of the text may stand right before the closing three.
            size_t end = i + 3;
            while (end < i + 5 && end < text.size() && text[end] == quote) ++end;
            return end;
        }
    }
    return text.size();
}

size_t SkipBlanks(std::string_view text, size_t at)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    return at;
}

// Just past the dotted name that starts at text[at], counting its parts:
// bare words and quoted strings, so a dot inside quotes is no separator.
size_t ScanName(std::string_view text, size_t at, size_t& parts)
{
    parts = 0;
    while (at < text.size()) {
        if (text[at] == '"' || text[at] == '\'') {
            at = SkipString(text, at);
        } else if (IsBareKeyCharacter(text[at])) {
            while (at < text.size() && IsBareKeyCharacter(text[at])) ++at;
        } else {
            break;
        }
        ++parts;
        const size_t next = SkipBlanks(text, at);
        if (next == text.size() || text[next] != '.') break;
        at = SkipBlanks(text, next + 1);
    }
    return at;
}

// Every table name and key of more than kMaxNameParts parts, as an error.
// Names stand at the start of a line outside arrays (a key, or a table name
// after [ or [[), and after { and , in an inline table; strings and comments
// are passed over. True when there was any.
bool RefuseLongNames(std::string_view text, DiagnosticList& errors)
{
    bool refused = false;
    std::string open;  // the [ of arrays and { of inline tables the scan is in
    bool nameNext = true, lineStart = true;
    int line = 1, column = 1;  // of the byte at counted
    size_t counted = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // after a byte order mark
    for (size_t at = counted; at < text.size();) {
        const char c = text[at];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++at;
            continue;
        }
        if (c == '\n') {
            ++at;
            lineStart = open.empty();
            nameNext = nameNext || open.empty();
            continue;
        }
        if (c == '#') {
            at = std::min(text.find('\n', at), text.size());
            continue;
        }
        const bool header = lineStart && c == '[';
        lineStart = false;
        if (nameNext) {
            nameNext = false;
            const size_t start = header ? SkipBlanks(text, text.compare(at, 2, "[[") == 0 ? at + 2 : at + 1) : at;
            size_t parts = 0;
            const size_t end = ScanName(text, start, parts);
            if (parts > kMaxNameParts) {
                refused = true;
                // Columns count characters, as the library's do.
                for (; counted < start; ++counted) {
                    if (text[counted] == '\n') {
                        ++line, column = 1;
                    } else {
                        column += (uint8_t(text[counted]) & 0xC0) != 0x80;
                    }
                }
                if (errors.Wants(line, column)) {
                    errors.Add({line, column,
                                std::string(header ? "table name " : "key ") +
                                    QuoteForMessage(text.substr(start, end - start)) + " has " + std::to_string(parts) +
                                    " parts; no name in a configuration has more than " +
                                    std::to_string(kMaxNameParts) + ", as layer2.port1.button1.keyCode"});
                }
            }
            if (end > at) {
                at = end;
                continue;
            }
        }
        switch (c) {
        case '"':
        case '\'':
            at = SkipString(text, at);
            continue;
        case '[': open += c; break;
        case '{': open += c, nameNext = true; break;
        case ']':
        case '}':
            if (!open.empty()) open.pop_back();
            break;
        case ',': nameNext = !open.empty() && open.back() == '{'; break;
        default: break;
        }
        ++at;
    }
    return refused;
}

// The column at which the number that ends just before line:column starts.
// Columns count characters, as the library's do; a number is ASCII.
toml::source_index NumberStart(std::string_view text, const toml::source_position& end)
{
    size_t at = 0;
    for (toml::source_index line = 1; line < end.line && at < text.size(); ++line) {
        const size_t newline = text.find('\n', at);
        at = newline == std::string_view::npos ? text.size() : newline + 1;
    }
    for (toml::source_index column = 1; column < end.column && at < text.size(); ++column) {
        ++at;
        while (at < text.size() && (uint8_t(text[at]) & 0xC0) == 0x80) ++at;  // the rest of a character
    }
    toml::source_index column = end.column;
    auto inNumber = [](char c) { return std::isalnum(uint8_t(c)) || c == '_' || c == '+' || c == '-' || c == '.'; };
    while (at > 0 && column > 1 && inNumber(text[at - 1])) --at, --column;
    return column;
}

std::string Bytes(size_t count) { return std::to_string(count) + (count == 1 ? " byte" : " bytes"); }

class Reader {
public:
    explicit Reader(DiagnosticList& errors) : errors_(errors) {}

    // message is the text, or a function that makes it: a text full of
    // mistakes only pays for the messages that will be shown.
    template <class Message>
    void Error(const toml::source_region& where, Message&& message)
    {
        const int line = int(where.begin.line), column = int(where.begin.column);
        if (!errors_.Wants(line, column)) return;
        if constexpr (std::is_invocable_v<Message>) {
            errors_.Add({line, column, message()});
        } else {
            errors_.Add({line, column, std::string(message)});
        }
    }

    // What the user wrote, for the message.
    static std::string Describe(const toml::node& node)
    {
        if (const auto* s = node.as_string()) return "the string " + QuoteForMessage(s->get());
        if (node.is_table()) return "a table";
        if (node.is_array()) return "an array";
        std::ostringstream out;
        node.visit([&out](const auto& value) { out << value; });
        return out.str();
    }

    // A 32-bit value, from a whole number or, where the field is a switch,
    // also from true and false.
    std::optional<int32_t> Int32(const toml::node& node, const std::string& name, bool switchLike)
    {
        if (const auto* b = node.as_boolean(); b != nullptr && switchLike) return b->get() ? 1 : 0;
        if (const auto* i = node.as_integer()) {
            const int64_t value = i->get();
            if (value >= INT32_MIN && value <= INT32_MAX) return int32_t(value);
            Error(node.source(), name + " = " + std::to_string(value) +
                                     " does not fit in 32 bits (-2147483648 to 2147483647)");
            return std::nullopt;
        }
        Error(node.source(), name + " = " + Describe(node) + " is not " +
                                 (switchLike ? "true, false or a whole number" : "a whole number"));
        return std::nullopt;
    }

    // A vocabulary name or, for codes the vocabulary lacks, a number.
    template <class Find, class Nearest>
    std::optional<int32_t> Code(const toml::node& node, const std::string& name, const char* what, Find find,
                                Nearest nearest)
    {
        if (const auto* s = node.as_string()) {
            if (const auto code = find(s->get())) return code;
            Error(node.source(), [&] {
                return name + " = " + QuoteForMessage(s->get()) + " is no " + what + " in the vocabulary; nearest is " +
                       QuoteBytes(nearest(s->get()));
            });
            return std::nullopt;
        }
        if (node.is_integer()) return Int32(node, name, false);
        Error(node.source(), name + " = " + Describe(node) + " is neither a " + what + " name nor a number");
        return std::nullopt;
    }

    void ReadBinding(const toml::table& table, const std::string& name, ActionRecord& record, SlotBehaviour& behaviour)
    {
        record = {};
        behaviour = {};
        const toml::node *actionNode = nullptr, *targetNode = nullptr;
        for (const BindingField& field : kBindingFields) {
            if (field.member != nullptr) record.*field.member = field.leftOut;
        }
        std::string text, tail;
        const toml::node* tailNode = nullptr;
        for (const auto& [key, node] : table) {
            const std::string fieldName = name + "." + std::string(key.str());
            if (key.str() == kLayerActionKey || key.str() == kLayerTargetKey || key.str() == kTurboKey) {
                Behaviour(key.str(), node, fieldName, behaviour);
                if (key.str() == kLayerActionKey) actionNode = &node;
                if (key.str() == kLayerTargetKey) targetNode = &node;
                continue;
            }
            const BindingField* field = FindBindingField(key.str());
            if (field == nullptr) {
                Error(key.source(), [&, typed = key.str()] {
                    std::vector<std::string> names;
                    for (const BindingField& f : kBindingFields) names.push_back(f.name);
                    for (const char* b : {kLayerActionKey, kLayerTargetKey, kTurboKey}) names.push_back(b);
                    return "unknown field " + QuoteForMessage(typed) + " in " + name + "; nearest is " +
                           QuoteBytes(NearestName(typed, names));
                });
                continue;
            }
            switch (field->kind) {
            case FieldKind::Flag:
                if (auto v = Int32(node, fieldName, true)) record.*field->member = *v;
                break;
            case FieldKind::KeyCode:
                if (auto v = Code(node, fieldName, "key", KeyCode, NearestKeyName)) record.keyCode = *v;
                break;
            case FieldKind::MouseAction:
                if (auto v = Code(node, fieldName, "mouse action", MouseCode, NearestMouseName)) {
                    record.mouseAction = *v;
                }
                break;
            case FieldKind::Text:
                if (const auto* s = node.as_string()) {
                    std::string problem = DecodeText(s->get(), text);
                    if (problem.empty() && text.size() > size_t(kTextSize)) {
                        problem = "has " + Bytes(text.size()) + "; the field holds " + std::to_string(kTextSize);
                    }
                    if (!problem.empty()) {
                        Error(node.source(), fieldName + " = " + QuoteForMessage(s->get()) + " " + problem);
                        text.clear();
                    }
                } else {
                    Error(node.source(), fieldName + " = " + Describe(node) + " is not a string");
                }
                break;
            case FieldKind::TextTail:
                if (const auto* s = node.as_string()) {
                    const std::string problem = DecodeTailHex(s->get(), tail);
                    if (!problem.empty()) Error(node.source(), fieldName + " = " + QuoteForMessage(s->get()) + " " + problem);
                    tailNode = &node;
                } else {
                    Error(node.source(), fieldName + " = " + Describe(node) + " is not a string of hex pairs");
                }
                break;
            }
        }
        // An action and its target come together, as the program takes no entry with one alone.
        if (actionNode != nullptr && targetNode == nullptr) {
            Error(actionNode->source(), name + "." + kLayerActionKey + " needs a " + kLayerTargetKey +
                                            ", the layer it turns on, 1 to 7");
        } else if (targetNode != nullptr && actionNode == nullptr) {
            Error(targetNode->source(), name + "." + kLayerTargetKey + " needs a " + kLayerActionKey +
                                            ", \"while held\" or \"toggle\"");
        }
        // The text, its terminator, then the bytes an earlier text left behind.
        const size_t room = text.size() < size_t(kTextSize) ? size_t(kTextSize) - text.size() - 1 : 0;
        if (tail.size() > room) {
            Error(tailNode->source(), name + ".textTail holds " + Bytes(tail.size()) + ", but only " +
                                          std::to_string(room) + " fit after the text and its terminator");
            tail.clear();
        }
        std::memcpy(record.text, text.data(), text.size());
        if (!tail.empty()) std::memcpy(record.text + text.size() + 1, tail.data(), tail.size());
    }

    // A field of the slot's behaviour, checked as the program's reader
    // checks its entry: what it would ignore is an error here.
    void Behaviour(std::string_view key, const toml::node& node, const std::string& name, SlotBehaviour& behaviour)
    {
        if (key == kLayerActionKey) {
            const auto* text = node.as_string();
            const int action = text != nullptr ? FindLayerAction(text->get()) : -1;
            if (action < 0) {
                const std::string shown = text != nullptr ? QuoteForMessage(text->get()) : Describe(node);
                Error(node.source(), name + " = " + shown + " is no layer action; write \"while held\" or \"toggle\"");
                return;
            }
            behaviour.layerAction = uint8_t(action);
            return;
        }
        const auto value = Int32(node, name, false);
        if (!value) return;
        if (key == kLayerTargetKey) {
            if (*value < 1 || *value > kLayerCount) {
                Error(node.source(), name + " = " + std::to_string(*value) + " is no layer; write 1 to 7");
                return;
            }
            behaviour.layerTarget = uint8_t(*value);
            return;
        }
        if (*value != 0 && (*value < kTurboMin || *value > kTurboMax)) {
            Error(node.source(), name + " = " + std::to_string(*value) +
                                     " is not 20 to 1000 (milliseconds from one press to the next), or 0 for none");
            return;
        }
        behaviour.turbo = uint16_t(*value);
    }

    // The bindings of one port in layer 0 (the base) or a layer.
    void Port(const toml::table& table, int layer, int port)
    {
        const std::string prefix = layer == 0 ? PortName(port) : LayerName(layer) + "." + PortName(port);
        for (const auto& [key, node] : table) {
            if (layer == 0 && key.str() == kSourceKey) {
                Source(node, port);
                continue;
            }
            const int slot = FindSlot(key.str());
            if (slot < 0) {
                Error(key.source(), [&prefix, typed = key.str()] {
                    return "unknown binding " + QuoteForMessage(prefix + "." + std::string(typed)) + "; nearest is " +
                           QuoteBytes(prefix + "." + NearestName(typed, SlotNames()));
                });
                continue;
            }
            const std::string name = BindingName(layer, port, slot);
            if (const auto* binding = node.as_table()) {
                ReadBinding(*binding, name, LayerBinding(*image_, layer, port, slot), image_->behaviour[layer][port][slot]);
            } else {
                Error(node.source(), name + " = " + Describe(node) + " is not a table; write [" + name + "]");
            }
        }
    }

    void Source(const toml::node& node, int port)
    {
        const std::string name = PortName(port) + "." + kSourceKey;
        const auto* text = node.as_string();
        const int source = text != nullptr ? FindSource(text->get()) : -1;
        if (source < 0) {
            const std::string shown = text != nullptr ? QuoteForMessage(text->get()) : Describe(node);
            Error(node.source(), name + " = " + shown + " is no source; write \"driver\" or \"xbox 1\" to \"xbox 4\"");
            return;
        }
        image_->portSource[port] = uint8_t(source);
    }

    void Document(const toml::table& root, ConfigImage& image)
    {
        image_ = &image;
        const toml::node* fileEnd = nullptr;
        for (const auto& [key, node] : root) {
            const std::string name(key.str());
            if (const SettingField* field = FindSettingField(name)) {
                if (auto v = Int32(node, name, field->isSwitch)) image.settings.*field->member = *v;
            } else if (name == kFileEnd) {
                const auto end = Int32(node, name, false);
                if (end && (*end < int32_t(kTableBytes) || *end >= int32_t(kConfigFileSize))) {
                    Error(node.source(), name + " = " + std::to_string(*end) + " is not from " +
                                             std::to_string(kTableBytes) + " to " +
                                             std::to_string(kConfigFileSize - 1) +
                                             ", the lengths of a file that ends inside the settings");
                } else if (end) {
                    image.fileEnd = uint32_t(*end);
                    fileEnd = &node;
                }
            } else if (name == kFileTail) {
                if (const auto* hex = node.as_string()) {
                    const std::string problem = DecodeTailHex(hex->get(), image.fileTail);
                    if (!problem.empty()) Error(node.source(), name + " " + problem);
                } else {
                    Error(node.source(), name + " = " + Describe(node) + " is not a string of hex pairs");
                }
            } else if (const int layer = FindLayer(name); layer >= 0) {
                if (const auto* table = node.as_table()) {
                    Layer(*table, layer);
                } else {
                    Error(node.source(), name + " = " + Describe(node) + " is not a table of ports such as [" + name +
                                             ".port1.button1]");
                }
            } else if (const int port = FindPort(name); port >= 0) {
                if (const auto* table = node.as_table()) {
                    Port(*table, 0, port);
                } else {
                    Error(node.source(), name + " = " + Describe(node) + " is not a table of bindings such as [" +
                                             name + ".button1]");
                }
            } else if (LayerLike(name)) {
                Error(key.source(), "unknown name " + QuoteForMessage(name) +
                                        "; the layers are layer1 to layer7, and the base's bindings are written "
                                        "without one, as [port1.button1]");
            } else {
                Error(key.source(), [&] {
                    std::vector<std::string> names;
                    for (const SettingField* f : kSettingFields) names.push_back(f->name);
                    for (int l = 1; l <= kLayerCount; ++l) names.push_back(LayerName(l));
                    names.push_back(kFileTail);
                    names.push_back(kFileEnd);
                    for (int p = 0; p < kPortCount; ++p) names.push_back(PortName(p));
                    return "unknown name " + QuoteForMessage(name) + "; nearest is " + QuoteBytes(NearestName(name, names));
                });
            }
        }
        if (fileEnd != nullptr) CutShort(root, *fileEnd, image);
    }

    void Layer(const toml::table& table, int layer)
    {
        for (const auto& [key, node] : table) {
            const std::string name = LayerName(layer) + "." + std::string(key.str());
            const int port = FindPort(key.str());
            if (port < 0) {
                const std::string_view written = key.str();
                Error(key.source(), [&] {
                    std::vector<std::string> names;
                    for (int p = 0; p < kPortCount; ++p) names.push_back(PortName(p));
                    return "unknown port " + QuoteForMessage(name) + "; nearest is " +
                           QuoteBytes(LayerName(layer) + "." + NearestName(written, names));
                });
            } else if (const auto* ports = node.as_table()) {
                Port(*ports, layer, port);
            } else {
                Error(node.source(), name + " = " + Describe(node) + " is not a table of bindings such as [" + name +
                                         ".button1]");
            }
        }
    }

    // "layer" and digits, which a user means as a layer.
    static bool LayerLike(std::string_view name)
    {
        if (name.size() <= 5 || name.substr(0, 5) != "layer") return false;
        return std::all_of(name.begin() + 5, name.end(), [](char c) { return std::isdigit(uint8_t(c)) != 0; });
    }

    // A file that ends inside the settings holds nothing after them, and
    // only what of each setting lies before its end.
    void CutShort(const toml::table& root, const toml::node& fileEnd, const ConfigImage& image)
    {
        const uint32_t end = image.fileEnd;
        const std::string ends = std::string(kFileEnd) + " = " + std::to_string(end);
        const char* after = !image.fileTail.empty() ? kFileTail : nullptr;
        for (const FileChunk& chunk : kFileChunks) {
            if (after == nullptr && chunk.written(image)) after = chunk.holds;
        }
        if (after != nullptr) {
            Error(fileEnd.source(), ends + " ends the file inside the settings, but " + after + " would follow them");
        }
        const Settings initial;
        for (const SettingField* field : kSettingFields) {
            // The program keeps the bytes of its initial value that the file lacks.
            const uint32_t held = end > field->offset ? std::min(end - field->offset, 4u) : 0;
            const uint32_t fromFile = held == 4 ? ~0u : (1u << (8 * held)) - 1;
            const int32_t value = image.settings.*field->member;
            const int32_t read = int32_t((uint32_t(initial.*field->member) & ~fromFile) | (uint32_t(value) & fromFile));
            if (read == value) continue;
            // Only a value written in the text can differ from the initial one.
            const toml::node* node = root.get(field->name);
            Error((node != nullptr ? *node : fileEnd).source(),
                  std::string(field->name) + " = " + std::to_string(value) + " does not fit before " + ends +
                      "; a file that ends there gives the program " + std::to_string(read));
        }
    }

private:
    static std::optional<int32_t> KeyCode(const std::string& text)
    {
        for (const KeyChoice& choice : KeyChoiceList) {
            if (text == choice.text) return choice.code;
        }
        return std::nullopt;
    }

    static std::optional<int32_t> MouseCode(const std::string& text)
    {
        for (const MouseChoice& choice : MouseChoiceList) {
            if (text == choice.text) return choice.code;
        }
        return std::nullopt;
    }

    DiagnosticList& errors_;
    ConfigImage* image_ = nullptr;
};

}  // namespace

BuildResult BuildConfig(std::string_view text, std::string_view source)
{
    BuildResult result;
    Reader reader(result.errors);
    if (RefuseLongNames(text, result.errors)) return result;
    try {
        const toml::table root = toml::parse(text, source);
        reader.Document(root, result.image);
    } catch (const toml::parse_error& error) {
        toml::source_region where = error.source();
        const std::string_view description = error.description();
        // The library notices a number too large for 64 bits after its last
        // digit; the user looks for where the number starts.
        if (description.find("is not representable in 64 bits") != std::string_view::npos) {
            where.begin.column = NumberStart(text, where.begin);
        }
        reader.Error(where, "not valid TOML: " + std::string(description));
    }
    return result;
}
