// The tray icon's menus and the commands they carry.
#pragma once

#include <cstdint>

// A press on the icon asks for a menu: left for Load/Save as/Config, right
// for About/Start with Windows/Exit. The request is posted, so the menu opens afterwards.
void HandleTrayNotify(uint32_t iconId, uint32_t mouseMessage);

// Shows the menu that WM_SHOWMAINMENU or WM_SHOWCONFIGMENU asks for.
void ShowMenu(uint32_t request);

void HandleCommand(uint32_t command);

// True while a menu, the about box, a file dialog or the editor is open;
// further menu requests and commands are ignored meanwhile.
bool ModalOpen();
