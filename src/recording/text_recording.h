#pragma once
// Commands 546-548: the whole text or the selection is rendered by a voice
// into a WAV file in the recording folder, and converted to MP3 when lame.exe
// lies beside the program. A worker records while a small dialog waits and
// offers to cancel.
#include <windows.h>

#include <string>

void RecordWholeTextCommand(HWND mainWindow, LPARAM);      // 546
void RecordSelectionCommand(HWND mainWindow, LPARAM);      // 547
void OpenRecordingFolderCommand(HWND mainWindow, LPARAM);  // 548

// The name of a recording made at that time, "2024年1月5日9時3分7秒".
std::wstring RecordingName(const SYSTEMTIME& time);

// folder\name plus the extension, or with " (2)", " (3)"... before the
// extension while that path is taken; empty when the path is too long.
std::wstring UniqueRecordingPath(const std::wstring& folder, const std::wstring& name, const std::wstring& extension);
