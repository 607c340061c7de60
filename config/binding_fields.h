// The fields of a binding, in the order of the 76-byte record: the one list
// that the file, quellpad-cfg's text form and the editor's action page go by.
#pragma once

#include <cstddef>
#include <cstdint>

#include "config/mapping_table.h"
#include "config/resource_ids.h"

// What an action page shows, as read from or written to its controls.
struct ActionPageState {
    bool on, shift, control, alt, sendKey, sendText, sendMouse;
    int32_t keyCode;      // item data of the chosen key, -1 for none
    int32_t mouseAction;  // item data of the chosen mouse action, -1 for none
    char text[kTextSize + 1];  // whatever the edit box holds, cut to fit
};

enum class FieldKind : uint8_t {
    Flag,         // 0 or 1; a check box on the action page
    KeyCode,      // a name of the key list, or a number
    MouseAction,  // a name of the mouse list, or a number
    Text,         // the text up to its terminator
    TextTail,     // the bytes an earlier, longer text left after the terminator
};

struct BindingField {
    const char* name;  // as quellpad-cfg writes it
    FieldKind kind;
    uint32_t offset;                // in the record on disk; textTail lies within text
    int32_t ActionRecord::*member;  // null for the text fields
    int checkBox;                   // a flag's check box on the action page, 0 otherwise
    bool ActionPageState::*ticked;  // what the page holds of that check box
    int32_t leftOut;                // what a text that leaves the field out gives it
};

inline constexpr BindingField kBindingFields[] = {
    // A binding written at all is meant to do something: `on` left out is on.
    {"on", FieldKind::Flag, offsetof(ActionRecord, on), &ActionRecord::on, IDC_ON, &ActionPageState::on, 1},
    {"shift", FieldKind::Flag, offsetof(ActionRecord, shift), &ActionRecord::shift, IDC_SHIFT, &ActionPageState::shift, 0},
    {"control", FieldKind::Flag, offsetof(ActionRecord, control), &ActionRecord::control, IDC_CONTROL,
     &ActionPageState::control, 0},
    {"alt", FieldKind::Flag, offsetof(ActionRecord, alt), &ActionRecord::alt, IDC_ALT, &ActionPageState::alt, 0},
    {"sendKey", FieldKind::Flag, offsetof(ActionRecord, sendKey), &ActionRecord::sendKey, IDC_SEND_KEY,
     &ActionPageState::sendKey, 0},
    {"keyCode", FieldKind::KeyCode, offsetof(ActionRecord, keyCode), &ActionRecord::keyCode, 0, nullptr, 0},
    {"sendText", FieldKind::Flag, offsetof(ActionRecord, sendText), &ActionRecord::sendText, IDC_SEND_TEXT,
     &ActionPageState::sendText, 0},
    {"text", FieldKind::Text, offsetof(ActionRecord, text), nullptr, 0, nullptr, 0},
    {"textTail", FieldKind::TextTail, offsetof(ActionRecord, text), nullptr, 0, nullptr, 0},
    {"sendMouse", FieldKind::Flag, offsetof(ActionRecord, sendMouse), &ActionRecord::sendMouse, IDC_SEND_MOUSE,
     &ActionPageState::sendMouse, 0},
    {"mouseAction", FieldKind::MouseAction, offsetof(ActionRecord, mouseAction), &ActionRecord::mouseAction, 0,
     nullptr, 0},
};

// The record on disk is its fields one after another, 32 bits each but the
// 40 bytes of text, with nothing between them.
constexpr bool FieldsFillTheRecord()
{
    uint32_t end = 0;
    for (const BindingField& field : kBindingFields) {
        if (field.kind == FieldKind::TextTail) continue;
        if (field.offset != end) return false;
        end += field.kind == FieldKind::Text ? kTextSize : 4;
    }
    return end == sizeof(ActionRecord);
}
static_assert(FieldsFillTheRecord(), "ActionRecord is laid out as the file holds it");

// Whether a flag's value takes effect: `on` counts when it is non-zero,
// every other flag only when it is exactly 1.
constexpr bool FlagCounts(const BindingField& field, int32_t value)
{
    return field.member == &ActionRecord::on ? value != 0 : value == 1;
}
