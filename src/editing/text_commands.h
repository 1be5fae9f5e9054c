#pragma once
// The commands of the menus 編集 and 表示 that work on the text as it stands:
// selection, clipboard, undo, case and width conversion, the edit lock and
// word wrap.
#include <windows.h>

#include <optional>
#include <string>

#include "core/whole_text.h"

// Commands 511-515: the editor's actions; they say nothing unless the
// text would grow too long to paste.
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

// Says why a change of the text was not made: "<action>できませんでした",
// after "テキストが長くなりすぎるため" when the text would have grown too
// long. Nothing for kDone.
void SpeakChangeRefused(WholeTextChange change, const wchar_t* action);
