#include "tools/quellpad-cfg/build_text.h"

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

#include "config/vocabulary.h"
#include "tools/quellpad-cfg/config_names.h"
#include "tools/quellpad-cfg/nearest_name.h"
#include "tools/quellpad-cfg/toml_text.h"

namespace {

constexpr const char* kFileTail = "fileTail";

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

    void ReadBinding(const toml::table& table, const std::string& name, ActionRecord& record)
    {
        record = {};
        record.on = 1;
        std::string text, tail;
        const toml::node* tailNode = nullptr;
        for (const auto& [key, node] : table) {
            const std::string fieldName = name + "." + std::string(key.str());
            const RecordField* field = FindRecordField(key.str());
            if (field == nullptr) {
                Error(key.source(), [&, typed = key.str()] {
                    std::vector<std::string> names;
                    for (const RecordField& f : kRecordFields) names.push_back(f.name);
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

    void Port(const toml::table& table, int port)
    {
        for (const auto& [key, node] : table) {
            if (key.str() == kSourceKey) {
                Source(node, port);
                continue;
            }
            const int slot = FindSlot(key.str());
            if (slot < 0) {
                Error(key.source(), [port, typed = key.str()] {
                    return "unknown binding " + QuoteForMessage(PortName(port) + "." + std::string(typed)) +
                           "; nearest is " + QuoteBytes(PortName(port) + "." + NearestName(typed, SlotNames()));
                });
                continue;
            }
            const std::string name = BindingName(port, slot);
            if (const auto* binding = node.as_table()) {
                ReadBinding(*binding, name, ::Binding(*image_, port, slot));
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
        for (const auto& [key, node] : root) {
            const std::string name(key.str());
            if (const SettingField* field = FindSettingField(name)) {
                if (auto v = Int32(node, name, field->isSwitch)) image.settings.*field->member = *v;
            } else if (name == kFileTail) {
                if (const auto* hex = node.as_string()) {
                    const std::string problem = DecodeTailHex(hex->get(), image.fileTail);
                    if (!problem.empty()) Error(node.source(), name + " " + problem);
                } else {
                    Error(node.source(), name + " = " + Describe(node) + " is not a string of hex pairs");
                }
            } else if (const int port = FindPort(name); port >= 0) {
                if (const auto* table = node.as_table()) {
                    Port(*table, port);
                } else {
                    Error(node.source(), name + " = " + Describe(node) + " is not a table of bindings such as [" +
                                             name + ".button1]");
                }
            } else {
                Error(key.source(), [&] {
                    std::vector<std::string> names;
                    for (const SettingField* f : kSettingFields) names.push_back(f->name);
                    names.push_back(kFileTail);
                    for (int p = 0; p < kPortCount; ++p) names.push_back(PortName(p));
                    return "unknown name " + QuoteForMessage(name) + "; nearest is " + QuoteBytes(NearestName(name, names));
                });
            }
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
