// The names the text form gives to bindings, their fields and the settings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/binding_fields.h"
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

// A setting's name, place in the file and editor range.
using SettingField = SettingLayout;
// In the order the editor lists them.
extern const SettingField* const kSettingFields[kSettingCount];
const SettingField* FindSettingField(std::string_view name);

// A binding's field by the name the text form gives it, or nullptr.
const BindingField* FindBindingField(std::string_view name);
