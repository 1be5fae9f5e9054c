#pragma once
// The main window's handle, for the owners of dialogs, message boxes and
// shell calls below the shell. The shell sets it when the window is made and
// clears it when the window goes.
#include <windows.h>

HWND MainWindow();
void SetMainWindow(HWND window);
