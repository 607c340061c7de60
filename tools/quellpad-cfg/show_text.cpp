#include "tools/quellpad-cfg/show_text.h"

#include <cstring>

#include "config/file_chunks.h"
#include "tools/quellpad-cfg/config_names.h"
#include "tools/quellpad-cfg/toml_text.h"

namespace {

bool AllZero(const ActionRecord& record)
{
    static const ActionRecord zero = {};
    return std::memcmp(&record, &zero, sizeof record) == 0;
}

constexpr SlotBehaviour kNoBehaviour = {};

bool LayerHoldsAnything(const Configuration& config, int layer)
{
    for (int port = 0; port < kPortCount; ++port) {
        for (int slot = 0; slot < kAllSlotCount; ++slot) {
            if (!AllZero(config.layers[layer - 1][port][slot]) || BehaviourSet(config.behaviour[layer][port][slot])) {
                return true;
            }
        }
    }
    return false;
}

void Line(std::string& out, const char* name, const std::string& value)
{
    out += name;
    out += " = ";
    out += value;
    out += '\n';
}

// Whether the field says something: it differs from what leaving it out
// gives, or the binding sends it.
bool FieldShown(const ActionRecord& r, const BindingField& field)
{
    switch (field.kind) {
    case FieldKind::Flag: return r.*field.member != field.leftOut;
    case FieldKind::KeyCode: return r.keyCode != field.leftOut || r.sendKey == 1;
    case FieldKind::MouseAction: return r.mouseAction != field.leftOut || r.sendMouse == 1;
    case FieldKind::Text: return !TextBytes(r).empty() || !TailHex(r).empty() || r.sendText == 1;
    case FieldKind::TextTail: return !TailHex(r).empty();
    }
    return true;
}

}  // namespace

std::string FieldText(const ActionRecord& r, const BindingField& field)
{
    switch (field.kind) {
    case FieldKind::Flag: return FlagText(r.*field.member);
    case FieldKind::KeyCode: return KeyCodeText(r.keyCode);
    case FieldKind::MouseAction: return MouseActionText(r.mouseAction);
    case FieldKind::Text: return QuoteBytes(TextBytes(r));
    case FieldKind::TextTail: return QuoteBytes(TailHex(r));
    }
    return {};
}

std::string ShowBinding(const ActionRecord& r)
{
    std::string out;
    for (const BindingField& field : kBindingFields) {
        if (FieldShown(r, field)) Line(out, field.name, FieldText(r, field));
    }
    return out;
}

std::string ShowConfig(const ConfigImage& image, bool all)
{
    std::string out = "# Quellpad configuration\n";
    for (const SettingField* setting : kSettingFields) {
        const SettingField& field = *setting;
        const int32_t value = image.settings.*field.member;
        Line(out, field.name, field.isSwitch ? FlagText(value) : std::to_string(value));
    }
    if (image.fileEnd != 0) {
        out += "# The file ends inside the settings: the program keeps the initial values\n"
               "# of those past its end (of one cut short, the bytes the file lacks).\n";
        Line(out, "fileEnd", std::to_string(image.fileEnd));
    }
    if (image.chunksInFileTail) {
        out += "# The port sources, hat bindings, layers, layer keys and turbo lie in chunks\n"
               "# inside fileTail, among chunks the program passes over; they stay there as bytes.\n";
    }
    if (!image.fileTail.empty()) Line(out, "fileTail", HexBlock(image.fileTail));
    // Layers after the base, each only when it holds anything; with the
    // chunks in fileTail the layers and behaviours are bytes there.
    for (int layer = 0; layer <= (image.chunksInFileTail ? 0 : kLayerCount); ++layer) {
        if (layer > 0 && !LayerHoldsAnything(image, layer)) continue;
        for (int port = 0; port < kPortCount; ++port) {
            if (layer == 0 && image.portSource[port] != 0 && !image.chunksInFileTail) {
                out += "\n[" + PortName(port) + "]\n";
                Line(out, kSourceKey, QuoteBytes(SourceText(image.portSource[port])));
            }
            for (int slot = 0; slot < kAllSlotCount; ++slot) {
                if (slot >= kSlotCount && image.chunksInFileTail) break;
                const ActionRecord& record = LayerBinding(image, layer, port, slot);
                const SlotBehaviour& behaviour = image.chunksInFileTail ? kNoBehaviour : image.behaviour[layer][port][slot];
                if (!all && AllZero(record) && !BehaviourSet(behaviour)) continue;
                out += "\n[" + BindingName(layer, port, slot) + "]\n";
                out += ShowBinding(record);
                for (const BehaviourField& field : BehaviourFields(behaviour)) {
                    if (!field.zero) Line(out, field.name, field.value);
                }
            }
        }
    }
    return out;
}
