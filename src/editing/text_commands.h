#pragma once
// The commands of the menus 編集 and 表示 that work on the text as it stands:
// selection, clipboard, undo, case and width conversion, the edit lock and
// word wrap.
#include <windows.h>

#include <optional>
#include <string>

// Commands 511-515: the editor's own actions; they say nothing.
void SelectAllCommand(HWND mainWindow, LPARAM);
void CopyCommand(HWND mainWindow, LPARAM);
void CutCommand(HWND mainWindow, LPARAM);
void PasteCommand(HWND mainWindow, LPARAM);
void UndoCommand(HWND mainWindow, LPARAM);

// Commands 516-519: convert the selection.
void ToUpperCaseCommand(HWND mainWindow, LPARAM);
void ToLowerCaseCommand(HWND mainWindow, LPARAM);
void ToFullWidthCommand(HWND mainWindow, LPARAM);
void ToHalfWidthCommand(HWND mainWindow, LPARAM);

enum class Conversion { kUpperCase, kLowerCase, kFullWidth, kHalfWidth };
// The converted text; nothing when the system cannot map it.
std::optional<std::wstring> ConvertText(const std::wstring& text, Conversion conversion);

// Command 520.
void ToggleEditLock(HWND mainWindow, LPARAM);
// Command 543.
void ToggleWordWrap(HWND mainWindow, LPARAM);
