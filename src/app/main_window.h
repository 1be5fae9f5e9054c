#pragma once
// The main window: editor above a status bar, the message switch, the
// periodic timers, the message between instances and the orderly close.
#include <windows.h>

#include <string>

// Register the window class once per process. Returns false on failure.
bool RegisterMainWindowClass(HINSTANCE instance);

// Create and show the main window; `commandLineFile` is the file named on
// the command line, or empty. Returns null on failure.
HWND CreateMainWindow(HINSTANCE instance, const std::wstring& commandLineFile);

HWND StatusBar();
// The message number of "OrindaSleep", shared by all instances, and what
// its word parameter asks of each instance.
UINT InstanceMessage();
enum InstanceRequest : WPARAM { kSaveBackup = 0, kCloseInstance = 1 };

// Write the caret position and encoding name into the status bar, unless a
// menu is open. Run every 100 ms.
void RefreshStatusBar();
