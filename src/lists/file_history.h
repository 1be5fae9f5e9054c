#pragma once
// File history: history.log in the data folder, newest first, with the caret
// position of each document.
#include <string>

void MigrateLegacyFileHistory(const std::wstring& legacyFolder);
void AddToHistory(const std::wstring& path);
// Remember the caret of the open document in its history entry and write
// the history file.
void RecordCaretInHistory();
// The caret position recorded for a path, or -1 when the path has none.
long RememberedCaret(const std::wstring& path);
