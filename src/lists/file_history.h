#pragma once
// File history: history.log in the data folder, newest first, with the caret
// position each document had when it was left. Every change rereads the file
// and rewrites it whole, so that all instances share one history.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "lists/list_file.h"

constexpr size_t kHistoryEntries = 50;

// The position of an entry is the caret the document had when it was left.
using HistoryEntry = PathEntry;
using FileHistory = PathEntries;  // at most kHistoryEntries, newest first

// The text of history.log. Lines that do not hold an entry, and paths that
// would not fit a path buffer, are skipped; a blank line ends the list.
FileHistory ParseHistory(const std::string& bytes);
std::string FormatHistory(const FileHistory& history);

std::wstring HistoryFilePath();
// Empty when there is no history file yet; nothing when it cannot be read now.
std::optional<FileHistory> ReadHistoryFile();
// Empty when the file is missing or cannot be read.
FileHistory LoadHistory();
bool SaveHistory(const FileHistory& history);

// The changes below write nothing when history.log exists but cannot be read.
void AddToHistory(const std::wstring& path);
// Store the caret in the entry of `path` (the open document, or the
// temporary copy that stands for it) and write the history file. An empty
// path (untitled) only rewrites the file.
void RecordCaretInHistory(const std::wstring& path);
// The caret position recorded for a path, or -1 when the path has none.
long RememberedCaret(const std::wstring& path);

void MigrateLegacyFileHistory(const std::wstring& legacyFolder);
