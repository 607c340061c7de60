#include "tools/quellpad-cfg/show_text.h"

#include <cstring>

#include "tools/quellpad-cfg/config_names.h"
#include "tools/quellpad-cfg/toml_text.h"

namespace {

bool AllZero(const ActionRecord& record)
{
    static const ActionRecord zero = {};
    return std::memcmp(&record, &zero, sizeof record) == 0;
}

void Line(std::string& out, const char* name, const std::string& value)
{
    out += name;
    out += " = ";
    out += value;
    out += '\n';
}

}  // namespace

std::string ShowBinding(const ActionRecord& r)
{
    std::string out;
    if (r.on != 1) Line(out, "on", FlagText(r.on));
    if (r.shift != 0) Line(out, "shift", FlagText(r.shift));
    if (r.control != 0) Line(out, "control", FlagText(r.control));
    if (r.alt != 0) Line(out, "alt", FlagText(r.alt));
    if (r.sendKey != 0) Line(out, "sendKey", FlagText(r.sendKey));
    if (r.keyCode != 0 || r.sendKey == 1) Line(out, "keyCode", KeyCodeText(r.keyCode));
    if (r.sendText != 0) Line(out, "sendText", FlagText(r.sendText));
    const std::string tail = TailHex(r);
    if (!TextBytes(r).empty() || !tail.empty() || r.sendText == 1) Line(out, "text", QuoteBytes(TextBytes(r)));
    if (!tail.empty()) Line(out, "textTail", QuoteBytes(tail));
    if (r.sendMouse != 0) Line(out, "sendMouse", FlagText(r.sendMouse));
    if (r.mouseAction != 0 || r.sendMouse == 1) Line(out, "mouseAction", MouseActionText(r.mouseAction));
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
        out += "# The port sources and hat bindings lie in chunks inside fileTail, among\n"
               "# chunks the program passes over; they stay there as bytes.\n";
    }
    if (!image.fileTail.empty()) Line(out, "fileTail", HexBlock(image.fileTail));
    for (int port = 0; port < kPortCount; ++port) {
        if (image.portSource[port] != 0 && !image.chunksInFileTail) {
            out += "\n[" + PortName(port) + "]\n";
            Line(out, kSourceKey, QuoteBytes(SourceText(image.portSource[port])));
        }
        for (int slot = 0; slot < kAllSlotCount; ++slot) {
            if (slot >= kSlotCount && image.chunksInFileTail) break;
            const ActionRecord& record = Binding(image, port, slot);
            if (!all && AllZero(record)) continue;
            out += "\n[" + BindingName(port, slot) + "]\n";
            out += ShowBinding(record);
        }
    }
    return out;
}
