#include "audio/audio_history.h"

#include <algorithm>

#include "core/data_folder.h"
#include "core/paths.h"
#include "lists/path_list_dialog.h"

namespace {

const wchar_t kResumeKey[] = L"|Point=";

// Empty when there is no Audio.log yet; nothing when it cannot be read now.
std::optional<PathEntries> ReadAudioHistory() {
    if (AudioHistoryPath().empty()) return std::nullopt;
    return ReadPathList(AudioHistoryPath(), kResumeKey, kAudioHistoryEntries);
}

// "全履歴削除" leaves no Audio.log behind, not even an empty one.
bool DeleteAudioHistory() {
    const std::wstring path = AudioHistoryPath();
    return !path.empty() && (DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
}

}  // namespace

std::wstring AudioHistoryPath() {
    return DataFolder().empty() ? std::wstring() : DataFolder() + L"\\Audio.log";
}

PathEntries LoadAudioHistory() {
    return ReadAudioHistory().value_or(PathEntries());
}

bool SaveAudioHistory(const PathEntries& history) {
    return !AudioHistoryPath().empty() &&
           WritePathList(AudioHistoryPath(), history, kResumeKey, kAudioHistoryEntries);
}

void AddToAudioHistory(const std::wstring& path) {
    if (path.empty() || !FitsPathBuffer(path)) return;
    std::optional<PathEntries> history = ReadAudioHistory();
    if (!history || (!history->empty() && history->front().path == path)) return;
    MoveToTop(*history, path, kAudioHistoryEntries);
    SaveAudioHistory(*history);
}

void StoreResumePoint(const std::wstring& path, long position) {
    std::optional<PathEntries> history = ReadAudioHistory();
    if (!history) return;
    const auto entry = std::find_if(history->begin(), history->end(),
                                    [&path](const PathEntry& candidate) { return candidate.path == path; });
    if (entry == history->end()) return;
    entry->position = position;
    SaveAudioHistory(*history);
}

std::optional<PathEntry> ChooseFromAudioHistory(HWND owner) {
    PathListDialog dialog{L"AudioHistoryDialog", ReadAudioHistory, SaveAudioHistory,
                          L"最近開いたオーディオファイルの履歴を削除します。\nよろしいですか？", DeleteAudioHistory, true};
    return ChooseFromPathList(owner, dialog);
}

void MigrateLegacyAudioHistory(const std::wstring& legacyFolder) {
    const std::wstring legacyFile = legacyFolder + L"\\Audio.log";
    // An Audio.log that is there, even one that cannot be read now, is newer.
    if (AudioHistoryPath().empty() || !FileExists(legacyFile) || FileExists(AudioHistoryPath())) return;
    SaveAudioHistory(ReadLegacyPathList(legacyFile, L"Point", kAudioHistoryEntries));
}
