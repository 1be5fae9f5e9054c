#pragma once
// Command 552: the speech settings dialog, where the user picks the engine.
#include <windows.h>

void ShowSpeechSettings(HWND mainWindow, LPARAM);
