#include "tools/quellpad-cfg/diff_config.h"

#include "tools/quellpad-cfg/config_names.h"
#include "tools/quellpad-cfg/show_text.h"
#include "tools/quellpad-cfg/toml_text.h"

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
    for (int port = 0; port < kPortCount; ++port) {
        if (a.portSource[port] != b.portSource[port]) {
            out.push_back(PortName(port) + "." + kSourceKey + ": " + QuoteBytes(SourceText(a.portSource[port])) +
                          " -> " + QuoteBytes(SourceText(b.portSource[port])));
        }
        for (int slot = 0; slot < kAllSlotCount; ++slot) {
            const ActionRecord& before = Binding(a, port, slot);
            const ActionRecord& after = Binding(b, port, slot);
            for (const BindingField& field : kBindingFields) {
                const std::string was = FieldText(before, field), is = FieldText(after, field);
                if (was == is) continue;
                out.push_back(BindingName(port, slot) + "." + field.name + ": " + was + " -> " + is);
            }
        }
    }
    return out;
}
