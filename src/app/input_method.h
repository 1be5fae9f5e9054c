#pragma once
// Turning a control's input method on or off (the Japanese IME).
#include <windows.h>

void SetInputMethodOpen(HWND control, bool open);
