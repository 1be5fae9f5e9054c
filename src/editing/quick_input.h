#pragma once
// F7: insert today's date or the time in one of six Japanese forms.
#include <windows.h>

#include <string>

class Editor;

constexpr int kQuickInputKinds = 6;

// The list text of a kind (1-6), as the dialog shows it.
const wchar_t* QuickInputListText(int kind);
// The inserted text of a kind for a moment, ending with a line break.
std::wstring DateTimeText(int kind, const SYSTEMTIME& now);

// Where the time comes from; tests fix it.
using Clock = void(WINAPI*)(SYSTEMTIME* now);
void SetQuickInputClock(Clock clock);

// Insert the text of a kind at the caret as one undoable step and speak it.
void InsertDateTime(const Editor& editor, int kind);

// Command 530.
void QuickInputCommand(HWND mainWindow, LPARAM);
