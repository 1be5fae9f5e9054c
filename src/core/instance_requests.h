#pragma once
// Requests between instances and to this one: a close that never destroys
// the main window under an open modal dialog, and the backup request to the
// other instances before a shutdown. Here, below the subsystems, so that
// the sleep timer can make them; the shell's window procedure hands its
// messages to HandleInstanceRequestMessage.
#include <windows.h>

// The message number of "OrindaSleep", shared by all instances; its word
// parameter is the request.
UINT InstanceMessage();
enum InstanceRequest : WPARAM { kSaveBackup = 0, kCloseInstance = 1 };

// Run `action` once no modal dialog of this instance is open: at once when
// none is, otherwise after the last one has ended and its command returned.
// An action already waiting is not queued twice.
void WhenNoDialogIsOpen(void (*action)());

// Close the main window as the user would, with the save question, once no
// modal dialog is open.
void RequestClose();

// Ask every other instance to save modified text to its backup file, and
// return once each has answered, or after a minute in all. True when every
// one confirmed that its text is on disk.
bool AskOtherInstancesForBackups();
// An instance's answer to the backup request.
LRESULT BackupAnswer(bool saved);

// The main window procedure hands every message here first; true means the
// message was handled.
bool HandleInstanceRequestMessage(HWND window, UINT message, WPARAM wParam);
