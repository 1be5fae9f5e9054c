#pragma once
// The commands of the menu 読み (read): what is where, read aloud.
#include <windows.h>

// Command 583: read from the caret's line to the end.
void ReadToEnd(HWND mainWindow, LPARAM);
// Command 587: say the caret position.
void ReadCaretPosition(HWND mainWindow, LPARAM);
