#pragma once
// The sleep timer ends an unattended listening period: when the chosen time
// has run out it exits the program, or puts the machine to sleep, into
// hibernation or shuts it down. It counts whole seconds on the main window's
// timer 100 while it runs.
#include <windows.h>

constexpr UINT_PTR kSleepTimerId = 100;

// One second of the countdown.
void SleepTimerTick(HWND mainWindow);

void SetSleepTimerCommand(HWND mainWindow, LPARAM);     // 554, F10
void CancelSleepTimerCommand(HWND mainWindow, LPARAM);  // 555, Shift+F10
void ReadSleepTimerState(HWND mainWindow, LPARAM);      // 600, Alt+0
