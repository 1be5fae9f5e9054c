#pragma once
// The rich-edit control that holds the document. The shell puts its keyboard
// handling in front of the control's own window procedure.
#include <windows.h>

#include "core/editor.h"

constexpr int kEditorControlId = 101;

// Create the control as a child of the main window, with `keyHandler` as its
// window procedure; the handler passes on what it does not keep through
// CallEditorControlProc. Returns null when the rich-edit library is missing.
HWND CreateEditorControl(HWND mainWindow, WNDPROC keyHandler);
LRESULT CallEditorControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

HWND EditorWindow();
Editor CurrentEditor();
