#pragma once
// The dialogs that list files to open (file history, favourites, audio
// history): list box 101 with "%s - %s" (file name, path) or the file name
// alone per entry, the Delete key, OK (disabled while the list is empty),
// CANCEL, and where the template has it, "全履歴削除" (102).
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "lists/list_file.h"

struct PathListDialog {
    const wchar_t* templateName;
    // The list as stored now (nothing when it cannot be read now), and how a
    // changed list is stored (false when it could not be).
    std::function<std::optional<PathEntries>()> read;
    std::function<bool(const PathEntries&)> save;
    // The question of "全履歴削除" and what it does; null for a dialog
    // without that button.
    const wchar_t* deleteAllQuestion = nullptr;
    std::function<bool()> deleteAll = nullptr;
    bool fileNamesOnly = false;
};

// The entry the user chose, or nothing when the dialog was cancelled.
std::optional<PathEntry> ChooseFromPathList(HWND owner, const PathListDialog& dialog);

// "HistoryDialog": returns whether the user chose a file of the history.
bool ChooseFromHistory(HWND owner, std::wstring& path);
