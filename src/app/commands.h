#pragma once
// Every menu item, accelerator and context-menu choice arrives as a command
// ID; one table maps each ID to the function that owns it.
#include <windows.h>

enum CommandId : WORD {
    kCmdCancel = 500,
    kCmdNew = 501,
    kCmdSave = 502,
    kCmdSaveAs = 503,
    kCmdOpen = 504,
    kCmdOpenFromHistory = 505,
    kCmdInsertFile = 506,
    kCmdSaveWithEncoding = 509,
    kCmdExit = 510,
    kCmdReadOnlyToggle = 520,
    kCmdRangeSelection = 524,
    kCmdReloadWithEncoding = 525,
    kCmdPageUp = 549,
    kCmdPageDown = 550,
    kCmdSpeechSettings = 552,
    kCmdSleepTimerCancel = 555,
    kCmdBrailleToggle = 558,
    kCmdContextMenu = 571,
    kCmdOpenBackupFolder = 575,
    kCmdKeypadPlayerToggle = 580,
    kCmdReadToEnd = 583,
    kCmdCaretPosition = 587,
    kCmdAudioHistory = 616,
};

// Run a command. While continuous reading runs, only the few commands that
// must still work get through; an ID without an action does nothing.
void DispatchCommand(WORD id, HWND mainWindow, LPARAM lParam);

bool IsAllowedWhileReading(WORD id);
