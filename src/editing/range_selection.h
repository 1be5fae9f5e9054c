#pragma once
// Range selection (F4): the first press marks a start, the second selects
// from there to the caret, both ends included.
#include <windows.h>

bool IsRangeSelectionOn();
long RangeStartPosition();

// Command 524.
void MarkRangeSelection(HWND mainWindow, LPARAM);
// Esc: forget a marked start. Returns whether one was marked.
bool CancelRangeSelection();
