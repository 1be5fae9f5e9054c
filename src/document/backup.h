#pragma once
// Safety copies: the backup written when an instance about to shut the
// system down asks for it, and the temporary copy the sleep timer writes
// before it exits or shuts down.
#include <windows.h>

#include <string>

// Name the backup after the start time and the temporary copy; once, after
// the data folder exists.
void InitSafetyCopyPaths(const std::wstring& dataFolder);
// The backup file this instance writes; unique among the instances.
const std::wstring& BackupPath();
const std::wstring& TemporaryCopyPath();
// "%d年%s月%s日%s時%s分%s秒" of a local time.
std::wstring BackupNameOf(const SYSTEMTIME& time);

// Save modified text to this instance's backup file, silently: another
// instance or the log-off asked for it, and the document itself is not
// saved. The document path does not change.
void SaveBackupIfModified();
// Save the text to the temporary copy and make it the newest history entry,
// with the caret; the text then counts as saved. Returns false, and changes
// nothing else, when the copy cannot be written.
bool SaveTemporaryCopy();

void OpenBackupFolderCommand(HWND mainWindow, LPARAM);  // 575
