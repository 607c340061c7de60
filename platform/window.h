// The seam to the hidden main window, its messages, menus and message boxes.
#pragma once

#include <cstdint>

// A modal message with one OK button, owned by the window with the focus.
void PlatformMessageBox(const char* text, const char* caption);

// The hidden main window, which owns the captures, the tray icon and the
// editor. Messages go to it alone.
void PlatformPostToMainWindow(uint32_t message);
void PlatformSendToMainWindow(uint32_t message);
void PlatformDestroyMainWindow();
void PlatformPostQuit();

struct MenuItem {
    const char* text;
    uint32_t command;
    bool checked = false;  // shown with a tick
};
// Shows a fresh popup menu at the pointer and returns when it closes; the
// chosen item arrives later as a command to the main window.
void PlatformTrackPopupMenu(const MenuItem* items, int count);
