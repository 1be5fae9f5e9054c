#pragma once
// Ctrl+J: move the caret to the start of a line chosen by its number.
#include <windows.h>

#include <string>

// The line index to go to for the text of the number field: the caret's own
// line for a text without a number or 0, -1 (stay) for a number outside
// 1...lineCount.
long JumpTargetLine(const std::wstring& field, long caretLine, long lineCount);

// Command 535.
void JumpToLineCommand(HWND mainWindow, LPARAM);
