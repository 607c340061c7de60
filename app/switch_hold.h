// Menus, dialogs, the editor and message boxes hold the profile switch while
// they are open: the configuration must not change under an open editor, nor
// under the box of a reload that has yet to put its own value in place.
#pragma once

void HoldSwitching();
// The last release asks the watch to look again, through its timer, so that
// whatever closed finishes first.
void ReleaseSwitching();
bool SwitchingHeld();
