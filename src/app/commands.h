#pragma once
// Every menu item, accelerator and context-menu choice arrives as a command
// ID; one table maps each ID to the function that owns it.
#include <windows.h>

enum CommandId : WORD {
    kCmdCancel = 500,
    kCmdExit = 510,
    kCmdReadOnlyToggle = 520,
    kCmdRangeSelection = 524,
    kCmdFind = 531,
    kCmdFindNext = 532,
    kCmdFindPrevious = 533,
    kCmdReplace = 534,
    kCmdRegexFind = 536,
    kCmdRegexReplace = 537,
    kCmdPageUp = 549,
    kCmdPageDown = 550,
    kCmdSpeechSettings = 552,
    kCmdSleepTimerCancel = 555,
    kCmdBrailleToggle = 558,
    kCmdContextMenu = 571,
    kCmdKeypadPlayerToggle = 580,
    kCmdReadToEnd = 583,
    kCmdCaretPosition = 587,
    kCmdAudioHistory = 616,
};

// Run a command. While continuous reading runs, only the few commands that
// must still work get through; an ID without an action does nothing.
void DispatchCommand(WORD id, HWND mainWindow, LPARAM lParam);

bool IsAllowedWhileReading(WORD id);
