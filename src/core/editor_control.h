#pragma once
// The rich-edit control that holds the document. The shell puts its keyboard
// handling in front of the control's own window procedure.
#include <windows.h>

#include <cstddef>

#include "core/editor.h"

constexpr int kEditorControlId = 101;
// The most characters the editor holds.
constexpr size_t kEditorTextLimit = 104857600;

// Create the control as a child of the main window, with `keyHandler` as its
// window procedure; the handler passes on what it does not keep through
// CallEditorControlProc. The control edits plain text only. Returns null
// when the rich-edit library is missing or the control cannot be made.
HWND CreateEditorControl(HWND mainWindow, WNDPROC keyHandler);
LRESULT CallEditorControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Put a fresh, empty control in the editor's place, made exactly like it:
// styles, ID, place and size, font, text mode, text limit, word wrap,
// read-only state, zoom, the key handler and the focus. The old control and
// its text are gone when this returns the new handle; on null (the control
// could not be made) the old one stays. Far cheaper than the control's own
// delete of a long text, which under Wine grows with the square of its lines.
HWND RenewEditorControl();

HWND EditorWindow();
Editor CurrentEditor();
