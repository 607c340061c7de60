#include "tools/quellpad-cfg/diff_config.h"

#include "tools/quellpad-cfg/config_names.h"
#include "tools/quellpad-cfg/show_text.h"
#include "tools/quellpad-cfg/toml_text.h"

namespace {

// The binding's fields, then its behaviour's, in the order show writes them.
void DiffSlot(const ConfigImage& a, const ConfigImage& b, int layer, int port, int slot, std::vector<std::string>& out)
{
    const std::string name = BindingName(layer, port, slot);
    const ActionRecord& before = LayerBinding(a, layer, port, slot);
    const ActionRecord& after = LayerBinding(b, layer, port, slot);
    for (const BindingField& field : kBindingFields) {
        const std::string was = FieldText(before, field), is = FieldText(after, field);
        if (was != is) out.push_back(name + "." + field.name + ": " + was + " -> " + is);
    }
    const std::vector<BehaviourField> was = BehaviourFields(a.behaviour[layer][port][slot]);
    const std::vector<BehaviourField> is = BehaviourFields(b.behaviour[layer][port][slot]);
    for (size_t i = 0; i < was.size(); ++i) {
        if (was[i].value != is[i].value) out.push_back(name + "." + was[i].name + ": " + was[i].value + " -> " + is[i].value);
    }
}

}  // namespace

std::vector<std::string> DiffConfigs(const ConfigImage& a, const ConfigImage& b)
{
    std::vector<std::string> out;
    for (const SettingField* setting : kSettingFields) {
        const SettingField& field = *setting;
        const int32_t before = a.settings.*field.member, after = b.settings.*field.member;
        if (before == after) continue;
        auto text = [&field](int32_t v) { return field.isSwitch ? FlagText(v) : std::to_string(v); };
        out.push_back(std::string(field.name) + ": " + text(before) + " -> " + text(after));
    }
    if (a.fileEnd != b.fileEnd) {
        auto end = [](uint32_t e) { return e == 0 ? std::string("none") : std::to_string(e); };
        out.push_back("fileEnd: " + end(a.fileEnd) + " -> " + end(b.fileEnd));
    }
    if (a.fileTail != b.fileTail) {
        out.push_back("fileTail: " + QuoteBytes(HexText(a.fileTail)) + " -> " + QuoteBytes(HexText(b.fileTail)));
    }
    for (int layer = 0; layer <= kLayerCount; ++layer) {
        for (int port = 0; port < kPortCount; ++port) {
            if (layer == 0 && a.portSource[port] != b.portSource[port]) {
                out.push_back(PortName(port) + "." + kSourceKey + ": " + QuoteBytes(SourceText(a.portSource[port])) +
                              " -> " + QuoteBytes(SourceText(b.portSource[port])));
            }
            for (int slot = 0; slot < kAllSlotCount; ++slot) DiffSlot(a, b, layer, port, slot, out);
        }
    }
    return out;
}
