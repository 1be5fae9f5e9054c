#pragma once
// The rich-edit control that holds the document, and the keyboard subclass
// in front of it that announces clipboard and undo keys, follows the focus
// with the keypad player's hot keys and lets Ctrl stop continuous reading.
#include <windows.h>

#include "app/editor.h"

constexpr int kEditorControlId = 101;

// Create the control as a child of the main window. Returns null when the
// rich-edit library is missing.
HWND CreateEditorControl(HWND mainWindow);

HWND EditorWindow();
Editor CurrentEditor();
