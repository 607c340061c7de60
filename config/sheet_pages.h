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
