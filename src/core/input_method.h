#pragma once
// Turning a control's input method on or off (the Japanese IME).
#include <windows.h>

void SetInputMethodOpen(HWND control, bool open);
// A combo box's input method belongs to its edit field.
void SetComboBoxInputMethodOpen(HWND combo, bool open);
