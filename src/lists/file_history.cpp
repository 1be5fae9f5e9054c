#include "lists/file_history.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "core/data_folder.h"
#include "core/editor_control.h"
#include "core/paths.h"
#include "lists/list_file.h"

namespace {
const wchar_t kCaretKey[] = L"|CurselPoint=";
}  // namespace

FileHistory ParseHistory(const std::string& bytes) {
    return ParsePathEntries(ParseListLines(bytes), kCaretKey, kHistoryEntries);
}

std::string FormatHistory(const FileHistory& history) {
    return FormatListLines(FormatPathEntries(history, kCaretKey, kHistoryEntries));
}

std::wstring HistoryFilePath() {
    // Without a data folder there is no history (never one at the drive's root).
    return DataFolder().empty() ? std::wstring() : DataFolder() + L"\\history.log";
}

std::optional<FileHistory> ReadHistoryFile() {
    return ReadPathList(HistoryFilePath(), kCaretKey, kHistoryEntries);
}

FileHistory LoadHistory() {
    return ReadHistoryFile().value_or(FileHistory());
}

bool SaveHistory(const FileHistory& history) {
    return WritePathList(HistoryFilePath(), history, kCaretKey, kHistoryEntries);
}

void AddToHistory(const std::wstring& path) {
    if (path.empty() || !FitsPathBuffer(path)) return;
    std::optional<FileHistory> history = ReadHistoryFile();
    if (!history) return;
    MoveToTop(*history, path, kHistoryEntries);
    SaveHistory(*history);
}

void RecordCaretInHistory(const std::wstring& path) {
    std::optional<FileHistory> history = ReadHistoryFile();
    if (!history) return;
    const auto entry = std::find_if(history->begin(), history->end(),
                                    [&path](const HistoryEntry& candidate) { return candidate.path == path; });
    if (!path.empty() && entry != history->end()) entry->position = CurrentEditor().GetSelection().start;
    SaveHistory(*history);
}

long RememberedCaret(const std::wstring& path) {
    const FileHistory history = LoadHistory();
    const auto found = std::find_if(history.rbegin(), history.rend(),
                                    [&path](const HistoryEntry& entry) { return entry.path == path; });
    return found == history.rend() ? -1 : found->position;
}

void MigrateLegacyFileHistory(const std::wstring& legacyFolder) {
    const std::wstring legacyFile = legacyFolder + L"\\history.log";
    // Once converted (or begun anew here), the list here is the user's own.
    if (!FileExists(legacyFile) || FileExists(HistoryFilePath())) return;
    SaveHistory(ReadLegacyPathList(legacyFile, L"CurselPoint", kHistoryEntries));
}
