// What the editor's pages change in the running program besides the values
// themselves: held input that a change would strand, and the axis limits.
// No window is needed; the sheet's dialog procedures call these.
#pragma once

#include <cstdint>

#include "config/sheet_pages.h"

// Stores an action page into the shown port's record of slot. A changed
// record first lets go of what the slot holds, so its old binding's keys
// cannot stay down.
void StoreShownActionPage(int slot, const ActionPageState& page);

// A click on a check box of the common page: flips its setting. A change of
// the toggle lock lets go of the mouse buttons it may hold; a change of
// continuous lets go of what the axis ends of both ports hold.
void FlipCommonOption(int control);

// The common page's arrows: moves the value within its range and returns the
// control that shows it, or 0. A new sensitivity recomputes the thresholds;
// the centres stay.
int SpinCommonSetting(int control, int32_t delta);

// Config ...: the editor, then the reload that makes the running
// configuration what the current file holds. OK saves to the default file;
// when that fails, the edits keep running and no reload throws them away.
void EditConfig();

// During the reload after Cancel: puts back the settings and bindings as
// they were when the editor opened, for a reload that could not read the
// file. False when there is nothing to put back.
bool RestoreCancelledEdits();
