#include "tools/quellpad-cfg/config_names.h"

#include "tools/quellpad-cfg/toml_text.h"

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

std::string LayerName(int layer) { return "layer" + std::to_string(layer); }

int FindLayer(std::string_view name)
{
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        if (LayerName(layer) == name) return layer;
    }
    return -1;
}

std::string BindingName(int layer, int port, int slot)
{
    return layer == 0 ? BindingName(port, slot) : LayerName(layer) + "." + BindingName(port, slot);
}

namespace {

constexpr const char* kLayerActionNames[] = {nullptr, "while held", "toggle"};

}  // namespace

int FindLayerAction(std::string_view text)
{
    for (int action = LAYER_WHILE_HELD; action <= LAYER_TOGGLE; ++action) {
        if (text == kLayerActionNames[action]) return action;
    }
    return -1;
}

std::vector<BehaviourField> BehaviourFields(const SlotBehaviour& b)
{
    // The program never loads another action; one made in memory shows as its number.
    const std::string action = b.layerAction == LAYER_ACTION_NONE ? "none"
                               : b.layerAction <= LAYER_TOGGLE   ? QuoteBytes(kLayerActionNames[b.layerAction])
                                                                 : std::to_string(b.layerAction);
    return {{kLayerActionKey, b.layerAction == 0, action},
            {kLayerTargetKey, b.layerTarget == 0, std::to_string(b.layerTarget)},
            {kTurboKey, b.turbo == 0, std::to_string(b.turbo)}};
}

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
