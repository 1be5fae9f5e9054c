#pragma once
// Instances find each other only through their main windows' class name.
#include <windows.h>

#include <vector>

// The main windows of the other running instances, front to back.
std::vector<HWND> OtherInstanceWindows(HWND ownWindow);
