#pragma once
// Command 527 of the menu 定型文: the template list (lists/templates.h) and the
// insertion of the chosen template at the caret.
#include <windows.h>

void InsertTemplateCommand(HWND mainWindow, LPARAM);  // 527
