#include "tools/quellpad-cfg/config_names.h"

namespace {

constexpr const char* kAxisSlotNames[] = {
    "axis_x_plus", "axis_x_minus", "axis_y_plus", "axis_y_minus", "axis_z_plus", "axis_z_minus",
    "axis_r_plus", "axis_r_minus", "axis_u_plus", "axis_u_minus", "axis_v_plus", "axis_v_minus",
};
static_assert(sizeof kAxisSlotNames / sizeof kAxisSlotNames[0] == kSlotCount - kButtonSlotCount);
constexpr const char* kHatSlotNames[] = {"hat_up", "hat_right", "hat_down", "hat_left"};
static_assert(sizeof kHatSlotNames / sizeof kHatSlotNames[0] == kHatSlotCount);

}  // namespace

const SettingField* const kSettingFields[kSettingCount] = {
    &SettingLayoutOf(&Settings::xStep),      &SettingLayoutOf(&Settings::yStep),
    &SettingLayoutOf(&Settings::continuous), &SettingLayoutOf(&Settings::dynamic),
    &SettingLayoutOf(&Settings::toggleLock), &SettingLayoutOf(&Settings::digital),
    &SettingLayoutOf(&Settings::dosMode),    &SettingLayoutOf(&Settings::sensitivity),
    &SettingLayoutOf(&Settings::delay),
};

std::string SlotName(int slot)
{
    if (slot < kButtonSlotCount) return "button" + std::to_string(slot + 1);
    if (slot >= kSlotCount) return kHatSlotNames[slot - kSlotCount];
    return kAxisSlotNames[slot - kButtonSlotCount];
}

int FindSlot(std::string_view name)
{
    for (int slot = 0; slot < kAllSlotCount; ++slot) {
        if (SlotName(slot) == name) return slot;
    }
    return -1;
}

std::vector<std::string> SlotNames()
{
    std::vector<std::string> names;
    for (int slot = 0; slot < kAllSlotCount; ++slot) names.push_back(SlotName(slot));
    return names;
}

std::string PortName(int port) { return "port" + std::to_string(port + 1); }

int FindPort(std::string_view name)
{
    for (int port = 0; port < kPortCount; ++port) {
        if (PortName(port) == name) return port;
    }
    return -1;
}

std::string SourceText(uint8_t source)
{
    if (source == 0) return "driver";
    if (source <= kMaxPadSource) return "xbox " + std::to_string(source);
    return std::to_string(source);
}

int FindSource(std::string_view text)
{
    for (int source = 0; source <= kMaxPadSource; ++source) {
        if (SourceText(uint8_t(source)) == text) return source;
    }
    return -1;
}

std::string BindingName(int port, int slot) { return PortName(port) + "." + SlotName(slot); }

const SettingField* FindSettingField(std::string_view name)
{
    for (const SettingField* field : kSettingFields) {
        if (name == field->name) return field;
    }
    return nullptr;
}

const BindingField* FindBindingField(std::string_view name)
{
    for (const BindingField& field : kBindingFields) {
        if (name == field.name) return &field;
    }
    return nullptr;
}
