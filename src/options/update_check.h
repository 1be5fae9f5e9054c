#pragma once
// The check for a newer version against the maker's web site: quietly at
// start-up when the user wants it, and on demand.
#include <windows.h>

enum class UpdateCheckMode { kQuiet, kOnDemand };

// Returns whether a version number was read. On demand every outcome is
// told; the quiet check speaks up only when a newer version exists.
bool CheckForUpdates(HWND owner, UpdateCheckMode mode);

void RunStartupUpdateCheck(HWND mainWindow);
void CheckForUpdatesCommand(HWND mainWindow, LPARAM);  // 565
