#pragma once
// Requests that end this instance or keep the others' text: a close that
// never destroys the window under an open modal dialog, and the backup
// request to the other instances before a shutdown.
#include <windows.h>

// Run `action` once no modal dialog of this instance is open: at once when
// none is, otherwise after the last one has ended and its command returned.
// An action already waiting is not queued twice.
void WhenNoDialogIsOpen(void (*action)());

// Close the main window as the user would, with the save question, once no
// modal dialog is open.
void RequestClose();

// Ask every other instance to save modified text to its backup file, and
// return once each has done so (or has taken too long).
void AskOtherInstancesForBackups();

// The main window procedure hands every message here first; true means the
// message was handled.
bool HandleInstanceRequestMessage(HWND window, UINT message, WPARAM wParam);
