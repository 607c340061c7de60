// What the editor's pages change in the running program besides the values
// themselves: held input that a change would strand, and the axis limits.
// No window is needed; the sheet's dialog procedures call these. The editor
// edits what runs, in place, as the user clicks.
#pragma once

#include <cstdint>

#include "config/sheet_pages.h"

// The port whose bindings the action pages show; kept across openings.
extern int32_t selectedPort;

// The layer whose bindings the action pages show (0 the base); kept across
// openings like the port.
extern int32_t selectedLayer;

// Stores an action page into the shown layer's and port's record of slot. A
// changed record first lets go of what the slot holds, so its old binding's
// keys cannot stay down. A layer's page left as it was filled stores nothing,
// so looking through a layer does not fill it with records.
void StoreShownActionPage(int slot, const ActionPageState& page);

// Stores the layer and turbo dialog into the shown layer's and port's
// behaviour of slot; a change lets go of what the slot holds, as a changed
// binding does.
void StoreShownBehaviour(int slot, const BehaviourState& state);

// A click on a check box of the common page: flips its setting. A change of
// the toggle lock lets go of the mouse buttons it may hold; a change of
// continuous lets go of what the axis ends of both ports hold.
void FlipCommonOption(int control);

// Writes value into the field control of the common page.
using ShowValue = void (*)(void* page, int control, int32_t value);

// The common page's arrows: moves the value within its range and shows it
// with show; only then does a new sensitivity recompute the thresholds (the
// centres stay). Nothing happens for a control that is no arrow.
void SpinCommonSetting(int control, int32_t delta, ShowValue show, void* page);

// The Controllers page, as the page is left: port now reads source (the
// file's byte). A change lets go of what the port holds and moves the port to
// its new source at once, as every edit runs at once; OK keeps it, Cancel's
// reload moves it back.
void StoreShownSource(int port, uint8_t source);
