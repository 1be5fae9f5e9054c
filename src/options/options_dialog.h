#pragma once
// The general options: the program's switches, the initial folder for new
// documents, the input method's properties and the Send-To shortcut.
#include <windows.h>

// Command 551. Word wrap follows the stored switch whatever the dialog's end.
void ShowOptionsDialog(HWND mainWindow, LPARAM);
