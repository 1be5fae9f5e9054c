#pragma once
// Find, find next and previous, replace: plain and regular-expression.
#include <windows.h>

void FindCommand(HWND mainWindow, LPARAM);
void FindNextCommand(HWND mainWindow, LPARAM);
void FindPreviousCommand(HWND mainWindow, LPARAM);
void ReplaceCommand(HWND mainWindow, LPARAM);
void RegexFindCommand(HWND mainWindow, LPARAM);
void RegexReplaceCommand(HWND mainWindow, LPARAM);

// A new main window starts with the match-case flags and the regex mode clear.
void ResetSearchFlags();
