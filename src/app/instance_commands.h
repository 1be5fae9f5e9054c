#pragma once
// The commands between running instances: switch to another, start one
// more, close them all.
#include <windows.h>

void SwitchInstanceCommand(HWND mainWindow, LPARAM);      // 544, "WindowDialog"
void StartInstanceCommand(HWND mainWindow, LPARAM);       // 573
void CloseAllInstancesCommand(HWND mainWindow, LPARAM);   // 574
