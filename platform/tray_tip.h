// The text the tray icon shows under the pointer. The shell (app/) keeps it
// and shows it on the icon, now or when the icon is added.
#pragma once

// Cut to the 63 characters the shell takes.
void PlatformSetTrayTip(const char* tip);
