#pragma once
// The keys the editor control answers before it carries them out: clipboard
// and undo keys are announced, Ctrl stops continuous reading, and the keypad
// player's hot keys follow the editor's focus.
#include <windows.h>

LRESULT CALLBACK EditorKeyHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
