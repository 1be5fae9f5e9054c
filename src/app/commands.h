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
    kCmdAddToFavourites = 507,
    kCmdFavourites = 508,
    kCmdSaveWithEncoding = 509,
    kCmdExit = 510,
    kCmdSelectAll = 511,
    kCmdCopy = 512,
    kCmdCut = 513,
    kCmdPaste = 514,
    kCmdUndo = 515,
    kCmdUpperCase = 516,
    kCmdLowerCase = 517,
    kCmdFullWidth = 518,
    kCmdHalfWidth = 519,
    kCmdReadOnlyToggle = 520,
    kCmdPreviousBlock = 521,
    kCmdNextBlock = 522,
    kCmdBlockList = 523,
    kCmdRangeSelection = 524,
    kCmdReloadWithEncoding = 525,
    kCmdAddTemplate = 526,
    kCmdTemplateList = 527,
    kCmdQuickInput = 530,
    kCmdFind = 531,
    kCmdFindNext = 532,
    kCmdFindPrevious = 533,
    kCmdReplace = 534,
    kCmdJumpToLine = 535,
    kCmdRegexFind = 536,
    kCmdRegexReplace = 537,
    kCmdWordWrap = 543,
    kCmdSwitchInstance = 544,
    kCmdRecordWholeText = 546,
    kCmdRecordSelection = 547,
    kCmdOpenRecordingFolder = 548,
    kCmdPageUp = 549,
    kCmdPageDown = 550,
    kCmdSpeechSettings = 552,
    kCmdRecordingSettings = 553,
    kCmdSleepTimerCancel = 555,
    kCmdBrailleToggle = 558,
    kCmdContextMenu = 571,
    kCmdOpenUrl = 572,
    kCmdStartInstance = 573,
    kCmdCloseAllInstances = 574,
    kCmdOpenBackupFolder = 575,
    kCmdKeypadPlayerToggle = 580,
    kCmdReadToEnd = 583,
    kCmdReadLine = 584,
    kCmdReadLineToCaret = 585,
    kCmdReadLineFromCaret = 586,
    kCmdCaretPosition = 587,
    kCmdLineCount = 588,
    kCmdCharacterCount = 589,
    kCmdCharacterCountWithBreaks = 590,
    kCmdKeypadPlayerState = 591,
    kCmdFileName = 592,
    kCmdEncoding = 593,
    kCmdSelectionState = 594,
    kCmdAudioHistory = 616,
};

// Run a command. While continuous reading runs, only the few commands that
// must still work get through; an ID without an action does nothing.
void DispatchCommand(WORD id, HWND mainWindow, LPARAM lParam);

bool IsAllowedWhileReading(WORD id);

// Whether the table holds an action for this ID.
bool HasCommandAction(WORD id);
