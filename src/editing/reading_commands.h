#pragma once
// The commands of the menu 読み (read): what is where, read aloud.
#include <windows.h>

#include <string>

// Command 583: read from the caret's line to the end.
void ReadToEnd(HWND mainWindow, LPARAM);
// Commands 584-586: the caret's line, its part before and from the caret.
void ReadLine(HWND mainWindow, LPARAM);
void ReadLineToCaret(HWND mainWindow, LPARAM);
void ReadLineFromCaret(HWND mainWindow, LPARAM);
// Command 587: say the caret position.
void ReadCaretPosition(HWND mainWindow, LPARAM);
// Commands 588-590.
void ReadLineCount(HWND mainWindow, LPARAM);
void ReadCharacterCount(HWND mainWindow, LPARAM);
void ReadCharacterCountWithLineBreaks(HWND mainWindow, LPARAM);
// Commands 592-594.
void ReadFileName(HWND mainWindow, LPARAM);
void ReadEncoding(HWND mainWindow, LPARAM);
void ReadSelectionState(HWND mainWindow, LPARAM);

