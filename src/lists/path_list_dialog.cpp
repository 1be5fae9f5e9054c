#include "lists/path_list_dialog.h"

#include <algorithm>

#include "core/input_dialog.h"
#include "lists/file_history.h"
#include "resources/lists_ids.h"
#include "speech/speech.h"

namespace {

struct DialogData {
    const PathListDialog* dialog;
    PathEntries entries;
    PathEntry chosen;
};

void EnableChoices(HWND dialog, bool any) {
    EnableWindow(GetDlgItem(dialog, IDOK), any);
    if (const HWND deleteAll = GetDlgItem(dialog, IDC_PATH_LIST_DELETE_ALL)) EnableWindow(deleteAll, any);
}

void FillList(HWND dialog, const PathEntries& entries, bool fileNamesOnly) {
    const HWND list = GetDlgItem(dialog, IDC_PATH_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const PathEntry& entry : entries) {
        const std::wstring line = fileNamesOnly ? entry.fileName : entry.fileName + L" - " + entry.path;
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    EnableChoices(dialog, !entries.empty());
}

// The entry leaves the list as stored now, so that entries another instance
// added since the dialog opened stay; the dialog changes only once written.
bool DeleteStoredEntry(const PathListDialog& dialog, const std::wstring& path) {
    std::optional<PathEntries> stored = dialog.read();
    if (!stored) return false;
    stored->erase(std::remove_if(stored->begin(), stored->end(),
                                 [&path](const PathEntry& entry) { return entry.path == path; }),
                  stored->end());
    return dialog.save(*stored);
}

void DeleteSelectedEntry(HWND dialog, DialogData& data) {
    const HWND list = GetDlgItem(dialog, IDC_PATH_LIST);
    const auto index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR || static_cast<size_t>(index) >= data.entries.size()) return;
    if (!DeleteStoredEntry(*data.dialog, data.entries[static_cast<size_t>(index)].path)) {
        Speak(L"削除できませんでした", kAnswerDelayMs);
        return;
    }
    data.entries.erase(data.entries.begin() + index);
    SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    const auto remaining = static_cast<LRESULT>(data.entries.size());
    if (remaining > 0) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(std::min(index, remaining - 1)), 0);
    EnableChoices(dialog, remaining > 0);
    Speak(L"削除しました", kAnswerDelayMs);
}

void DeleteAllEntries(HWND dialog, DialogData& data) {
    if (MessageBoxW(dialog, data.dialog->deleteAllQuestion, L"削除確認", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    if (!data.dialog->deleteAll()) {
        Speak(L"削除できませんでした", kAnswerDelayMs);
        return;
    }
    data.entries.clear();
    // The focus leaves the button before the emptied list disables it.
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_PATH_LIST)), TRUE);
    FillList(dialog, data.entries, data.dialog->fileNamesOnly);
    Speak(L"削除しました", kAnswerDelayMs);
}

// OK takes the selected entry; nothing is chosen while the list is empty.
bool TakeSelectedEntry(HWND dialog, DialogData& data) {
    const auto index = SendDlgItemMessageW(dialog, IDC_PATH_LIST, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR || static_cast<size_t>(index) >= data.entries.size()) return false;
    data.chosen = data.entries[static_cast<size_t>(index)];
    return true;
}

}  // namespace

std::optional<PathEntry> ChooseFromPathList(HWND owner, const PathListDialog& dialog) {
    DialogData data{&dialog, {}, {}};
    DialogHandlers handlers;
    handlers.fill = [&data](HWND window) {
        data.entries = data.dialog->read().value_or(PathEntries());
        FillList(window, data.entries, data.dialog->fileNamesOnly);
    };
    handlers.accept = [&data](HWND window, int) { return TakeSelectedEntry(window, data); };
    handlers.deleteKey = [&data](HWND window) { DeleteSelectedEntry(window, data); };
    handlers.command = [&data](HWND window, int id) {
        if (id != IDC_PATH_LIST_DELETE_ALL || !data.dialog->deleteAllQuestion) return false;
        DeleteAllEntries(window, data);
        return true;
    };
    if (!RunDialog(owner, dialog.templateName, handlers)) return std::nullopt;
    return data.chosen;
}

bool ChooseFromHistory(HWND owner, std::wstring& path) {
    PathListDialog dialog{L"HistoryDialog", ReadHistoryFile, SaveHistory, L"全てのファイル履歴を削除してもよろしいですか？",
                          [] { return SaveHistory({}); }};
    const std::optional<PathEntry> chosen = ChooseFromPathList(owner, dialog);
    if (!chosen) return false;
    path = chosen->path;
    return true;
}
