#pragma once
// The commands that belong to the shell itself.
#include <windows.h>

// Take the three context menus of RMenu (once, at window creation).
void LoadContextMenus();

void CancelCommand(HWND mainWindow, LPARAM);     // 500, Esc
void ExitCommand(HWND mainWindow, LPARAM);       // 510
void PageUpCommand(HWND mainWindow, LPARAM);     // 549
void PageDownCommand(HWND mainWindow, LPARAM);   // 550
void ContextMenuCommand(HWND mainWindow, LPARAM lParam);  // 571, Applications key

// Which context menu fits the editor's state: 0 empty, 1 text, 2 selection.
int ContextMenuIndex(bool textIsEmpty, bool selectionIsEmpty);
