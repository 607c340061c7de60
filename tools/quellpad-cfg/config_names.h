// The names the text form gives to bindings, their fields and the settings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/binding_fields.h"
#include "config/configuration.h"
#include "config/file_layout.h"
#include "config/mapping_table.h"
#include "config/settings.h"

// "button1".."button32", then "axis_x_plus", "axis_x_minus" .. "axis_v_minus",
// then "hat_up", "hat_right", "hat_down", "hat_left".
std::string SlotName(int slot);
// -1 when name is no slot.
int FindSlot(std::string_view name);
std::vector<std::string> SlotNames();

// "port1".."port2" for ports 0 and 1; -1 when name is no port.
std::string PortName(int port);
int FindPort(std::string_view name);

// What a port reads: "driver", or "xbox 1" to "xbox 4"; a byte past 4 as its
// number. FindSource gives -1 for a text that names no source.
constexpr const char* kSourceKey = "source";
std::string SourceText(uint8_t source);
int FindSource(std::string_view text);

// "port1.button3".
std::string BindingName(int port, int slot);

// "layer1".."layer7" for layers 1..7; -1 when name is no layer.
std::string LayerName(int layer);
int FindLayer(std::string_view name);
// A slot's binding in layer 0 (the base), "port1.button3", or in a layer,
// "layer2.port1.button3".
std::string BindingName(int layer, int port, int slot);

// A slot's behaviour as the text form gives it: three more fields of its
// binding's table, each with its value as text; show leaves out those that
// are zero, which is what leaving them out gives.
constexpr const char* kLayerActionKey = "layerAction";
constexpr const char* kLayerTargetKey = "layerTarget";
constexpr const char* kTurboKey = "turbo";
struct BehaviourField {
    const char* name;
    bool zero;
    std::string value;
};
std::vector<BehaviourField> BehaviourFields(const SlotBehaviour& behaviour);
// "while held" and "toggle" for the layer actions; -1 for a text that names
// none.
int FindLayerAction(std::string_view text);

// A setting's name, place in the file and editor range.
using SettingField = SettingLayout;
// In the order the editor lists them.
extern const SettingField* const kSettingFields[kSettingCount];
const SettingField* FindSettingField(std::string_view name);

// A binding's field by the name the text form gives it, or nullptr.
const BindingField* FindBindingField(std::string_view name);
