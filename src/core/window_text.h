#pragma once
// The whole text of a window or control, however long.
#include <windows.h>

#include <string>

std::wstring WindowText(HWND window);
