#pragma once
// Range selection (F4): the first press marks a start, the second selects
// from there to the caret, both ends included.
#include <windows.h>

class Editor;

bool IsRangeSelectionOn();
// Say where the marked start is; false, saying nothing, when none is marked.
bool SpeakMarkedRangeStart(const Editor& editor);

// Command 524.
void MarkRangeSelection(HWND mainWindow, LPARAM);
// Esc: forget a marked start. Returns whether one was marked.
bool CancelRangeSelection();
