// Which pages the editor shows, and what each page does with its controls.
// No window is needed for any of it; the dialog procedures only move values
// between the controls and these functions.
#pragma once

#include <cstdint>

#include "config/binding_fields.h"
#include "config/configuration.h"
#include "config/resource_ids.h"
#include "platform/joystick.h"

constexpr int kMaxPages = 51;  // common, 32 buttons, 12 axis directions, 4 hat directions, info, controllers

enum PageKind : int { PAGE_COMMON, PAGE_ACTION, PAGE_INFO, PAGE_CONTROLLERS };

struct SheetPage {
    PageKind kind;
    int slot;  // the event slot of an action page
    char title[16];
};

// The page list for the capabilities of both ports: the common page, one per
// button (never more than 32), X and Y, the other axes that either device
// has, the four hat directions when either has a hat, the information page,
// the page of what each port reads.
int BuildPageList(const JoyCaps (&caps)[kPortCount], SheetPage (&pages)[kMaxPages]);

// The common page's numbers: the arrow, the field that shows the value, and
// the setting behind both; in the order the page fills its fields.
struct SpinControl {
    int spin;
    int value;
    int32_t Settings::*setting;
};
inline constexpr SpinControl kSpins[] = {
    {IDC_SENSITIVITY_SPIN, IDC_SENSITIVITY_VALUE, &Settings::sensitivity},
    {IDC_XSTEP_SPIN, IDC_XSTEP_VALUE, &Settings::xStep},
    {IDC_YSTEP_SPIN, IDC_YSTEP_VALUE, &Settings::yStep},
    {IDC_DELAY_SPIN, IDC_DELAY_VALUE, &Settings::delay},
};

// The setting behind a check box of the common page, or nullptr.
int32_t* CommonOption(Settings& settings, int control);

// Applies an up-down step to the setting behind spin control `control`,
// clamped to the range the editor keeps. Returns the value control that shows
// it, or 0 when `control` is no spin control.
int ApplySpinDelta(Settings& settings, int control, int32_t iDelta);

// The two boxes a box unticks when it becomes ticked (modifiers exclude each
// other, and so do key, text and mouse). Returns false for a box without
// partners, and for any box that was unticked.
bool ExclusionPartners(int control, bool ticked, int (&partners)[2]);

ActionPageState ReadActionRecord(const ActionRecord& record);

// Stores a page into its record; the text keeps at most 39 characters, and
// bytes after its terminator stay as they were.
void StoreActionPage(const ActionPageState& page, ActionRecord& record);

// Whether a page leaving its controls as they were filled would leave its
// record as it is: the flags as the page shows them, the chosen key and
// mouse action (or none chosen for a code that the lists do not offer), the
// text as far as the edit box keeps it.
bool PageShowsRecord(const ActionPageState& page, const ActionRecord& record);

// The layer choice of the action pages, index 0 the base; also the layer
// key's targets (1..7).
inline constexpr const char* kLayerNames[kLayerCount + 1] = {"base",    "layer 1", "layer 2", "layer 3",
                                                              "layer 4", "layer 5", "layer 6", "layer 7"};

// What the layer and turbo dialog shows and reads back.
struct BehaviourState {
    int32_t action;  // LayerAction, from the radio buttons
    int32_t target;  // the chosen layer 1..7, -1 for none
    char turbo[16];  // the period as typed
};

// A fresh slot shows no action, layer 1 as the target it would take, and 0.
BehaviourState ReadBehaviour(const SlotBehaviour& behaviour);

// The period typed, in milliseconds: 0 (or nothing) is off, anything else is
// held within 20..1000; digits beyond that range are not an overflow.
uint16_t TurboFromText(const char* text);

// What the dialog stores: no target without an action, layer 1 for an
// action without a valid target, the period as TurboFromText reads it.
SlotBehaviour StoreBehaviour(const BehaviourState& state);
