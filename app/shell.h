// What the logic asks of the Windows shell's own windows: the editor and the
// tray icon. The shell (app/) implements these on Windows; the tests record them.
#pragma once

// Shows the editor modally over the main window; a positive value for OK,
// 0 or less otherwise.
int ShowConfigSheet();

// Puts the program's icon into the notification area: at start-up, and again
// when a restarted taskbar has forgotten it.
void AddProgramTrayIcon();

// Gives the tray icon a new tip, UTF-8, cut as the add cuts it.
void SetProgramTrayTip(const char* tip);

// A notice on the tray icon that takes no focus from the window in front;
// text in UTF-8.
void ShowTrayBalloon(const char* text);
