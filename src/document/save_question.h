#pragma once
// The save question asked before modified text is dropped.
#include <windows.h>

// Ask whether to save modified text. Returns false when the user cancels or
// saving fails; true when the text may go.
bool ConfirmDiscard(HWND owner);
