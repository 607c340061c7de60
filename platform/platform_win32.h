// What the Windows side of the seam shares with the shell: the two handles
// start-up stores.
#pragma once

#include <windows.h>

extern HINSTANCE platformInstance;
extern HWND platformMainWindow;
