#include "lists/file_history.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <climits>
#include <optional>

#include "app/data_folder.h"
#include "app/editor_control.h"
#include "app/paths.h"
#include "document/safe_write.h"
#include "resources/lists_ids.h"
#include "speech/speech.h"

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";
const wchar_t kPathKey[] = L"FilePath=";
const wchar_t kCaretKey[] = L"|CurselPoint=";
// Larger than any history file this program writes; a bigger one is read
// only this far instead of exhausting memory.
constexpr size_t kMaxHistoryFileBytes = 16u << 20;

std::wstring Utf8ToWide(const std::string& bytes, size_t start) {
    if (bytes.size() <= start) return {};
    const int count = static_cast<int>(bytes.size() - start);
    std::wstring text(static_cast<size_t>(count), L'\0');
    const int units = MultiByteToWideChar(CP_UTF8, 0, bytes.data() + start, count, text.data(), count);
    text.resize(units > 0 ? static_cast<size_t>(units) : 0);
    return text;
}

std::string WideToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int units = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), units, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// Leading decimal digits; 0 when there are none, capped at the largest
// position rather than wrapping.
long LeadingNumber(const std::wstring& text, size_t from) {
    long long value = 0;
    for (size_t i = from; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > LONG_MAX) return LONG_MAX;
    }
    return static_cast<long>(value);
}

bool ParseLine(const std::wstring& line, HistoryEntry& entry) {
    const size_t pathKey = line.find(kPathKey);
    if (pathKey == std::wstring::npos) return false;
    const size_t pathStart = pathKey + wcslen(kPathKey);
    const size_t caretKey = line.find(kCaretKey, pathStart);
    if (caretKey == std::wstring::npos) return false;
    entry.path = line.substr(pathStart, caretKey - pathStart);
    // An empty path would end the list when written; a longer one cannot be
    // opened through a path buffer and must not be cut into another path.
    if (entry.path.empty() || !FitsPathBuffer(entry.path)) return false;
    entry.fileName = FileNameOf(entry.path);
    entry.caret = LeadingNumber(line, caretKey + wcslen(kCaretKey));
    return true;
}

}  // namespace

FileHistory ParseHistory(const std::string& bytes) {
    const bool hasMark = bytes.compare(0, 3, kUtf8Mark) == 0;
    const std::wstring text = Utf8ToWide(bytes, hasMark ? 3 : 0);
    FileHistory history;
    size_t start = 0;
    while (start < text.size() && history.size() < kHistoryEntries) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        if (end == start) break;
        HistoryEntry entry;
        if (ParseLine(text.substr(start, end - start), entry)) history.push_back(entry);
        start = end + 2;
    }
    return history;
}

std::string FormatHistory(const FileHistory& history) {
    std::string bytes = kUtf8Mark;
    for (size_t i = 0; i < history.size() && i < kHistoryEntries && !history[i].path.empty(); ++i)
        bytes += WideToUtf8(std::wstring(kPathKey) + history[i].path + kCaretKey + std::to_wstring(history[i].caret) +
                            L"\r\n");
    return bytes;
}

void MoveToTop(FileHistory& history, const std::wstring& path) {
    HistoryEntry top{path, FileNameOf(path), 0};
    const auto found = std::find_if(history.rbegin(), history.rend(),
                                    [&path](const HistoryEntry& entry) { return entry.path == path; });
    if (found != history.rend()) {
        top.caret = found->caret;
        history.erase(std::next(found).base());
    }
    history.insert(history.begin(), top);
    if (history.size() > kHistoryEntries) history.resize(kHistoryEntries);
}

std::wstring HistoryFilePath() {
    // Without a data folder there is no history (never one at the drive's root).
    return DataFolder().empty() ? std::wstring() : DataFolder() + L"\\history.log";
}

namespace {

// Empty when there is no history file yet; nothing when the file is there but
// cannot be read now (another instance may be replacing it), so that no
// change is written over entries that were never seen.
std::optional<FileHistory> ReadHistoryFile() {
    const std::wstring path = HistoryFilePath();
    std::string bytes;
    if (ReadFileBytes(path, kMaxHistoryFileBytes, bytes)) return ParseHistory(bytes);
    const bool missing = GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
                         (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND);
    return missing ? std::optional<FileHistory>(FileHistory()) : std::nullopt;
}

}  // namespace

FileHistory LoadHistory() {
    return ReadHistoryFile().value_or(FileHistory());
}

void SaveHistory(const FileHistory& history) {
    WriteFileSafely(HistoryFilePath(), FormatHistory(history));
}

void AddToHistory(const std::wstring& path) {
    if (path.empty() || !FitsPathBuffer(path)) return;
    std::optional<FileHistory> history = ReadHistoryFile();
    if (!history) return;
    MoveToTop(*history, path);
    SaveHistory(*history);
}

void RecordCaretInHistory(const std::wstring& path) {
    std::optional<FileHistory> history = ReadHistoryFile();
    if (!history) return;
    const auto entry = std::find_if(history->begin(), history->end(),
                                    [&path](const HistoryEntry& candidate) { return candidate.path == path; });
    if (!path.empty() && entry != history->end()) entry->caret = CurrentEditor().GetSelection().start;
    SaveHistory(*history);
}

long RememberedCaret(const std::wstring& path) {
    const FileHistory history = LoadHistory();
    const auto found = std::find_if(history.rbegin(), history.rend(),
                                    [&path](const HistoryEntry& entry) { return entry.path == path; });
    return found == history.rend() ? -1 : found->caret;
}

namespace {

struct HistoryDialogData {
    FileHistory history;
    std::wstring chosenPath;
};

void EnableChoices(HWND dialog, bool any) {
    EnableWindow(GetDlgItem(dialog, IDOK), any);
    EnableWindow(GetDlgItem(dialog, IDC_HISTORY_DELETE_ALL), any);
}

void FillHistoryList(HWND dialog, const FileHistory& history) {
    const HWND list = GetDlgItem(dialog, IDC_HISTORY_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const HistoryEntry& entry : history) {
        const std::wstring line = entry.fileName + L" - " + entry.path;
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    EnableChoices(dialog, !history.empty());
}

void DeleteSelectedEntry(HWND dialog, HistoryDialogData& data) {
    const HWND list = GetDlgItem(dialog, IDC_HISTORY_LIST);
    const auto index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR || static_cast<size_t>(index) >= data.history.size()) return;
    data.history.erase(data.history.begin() + index);
    SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    const auto remaining = static_cast<LRESULT>(data.history.size());
    if (remaining > 0) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(std::min(index, remaining - 1)), 0);
    EnableChoices(dialog, remaining > 0);
    SaveHistory(data.history);
    Speak(L"削除しました", 100);
}

void DeleteAllEntries(HWND dialog, HistoryDialogData& data) {
    if (MessageBoxW(dialog, L"全てのファイル履歴を削除してもよろしいですか？", L"削除確認",
                    MB_YESNO | MB_ICONQUESTION) == IDYES) {
        data.history.clear();
        // The focus leaves the button before the emptied list disables it.
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_HISTORY_LIST)), TRUE);
        FillHistoryList(dialog, data.history);
        SaveHistory(data.history);
        Speak(L"削除しました", 100);
    }
}

INT_PTR CALLBACK HistoryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<HistoryDialogData*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        data = reinterpret_cast<HistoryDialogData*>(lParam);
        data->history = LoadHistory();
        FillHistoryList(dialog, data->history);
        return TRUE;
    case WM_VKEYTOITEM:
        if (LOWORD(wParam) == VK_DELETE) {
            DeleteSelectedEntry(dialog, *data);
            return -2;
        }
        return -1;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            const auto index = SendDlgItemMessageW(dialog, IDC_HISTORY_LIST, LB_GETCURSEL, 0, 0);
            if (index == LB_ERR || static_cast<size_t>(index) >= data->history.size()) return TRUE;
            data->chosenPath = data->history[static_cast<size_t>(index)].path;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_HISTORY_DELETE_ALL:
            DeleteAllEntries(dialog, *data);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

bool ChooseFromHistory(HWND owner, std::wstring& path) {
    HistoryDialogData data;
    if (DialogBoxParamW(GetModuleHandleW(nullptr), L"HistoryDialog", owner, HistoryDialogProc,
                        reinterpret_cast<LPARAM>(&data)) != IDOK)
        return false;
    path = data.chosenPath;
    return true;
}

void MigrateLegacyFileHistory(const std::wstring& legacyFolder) {
    const std::wstring legacyFile = legacyFolder + L"\\history.log";
    if (!FileExists(legacyFile)) return;
    FileHistory history;
    for (size_t i = 0; i < kHistoryEntries; ++i) {
        // A buffer larger than a path, so that an over-long value is seen and
        // skipped instead of being cut.
        wchar_t path[4 * kPathBufferUnits] = {};
        const std::wstring pathKey = L"FilePath" + std::to_wstring(i);
        const std::wstring caretKey = L"CurselPoint" + std::to_wstring(i);
        GetPrivateProfileStringW(L"FilePath", pathKey.c_str(), L"", path, ARRAYSIZE(path), legacyFile.c_str());
        if (path[0] == L'\0') break;
        const UINT caret = GetPrivateProfileIntW(L"CurselPoint", caretKey.c_str(), 0, legacyFile.c_str());
        const std::wstring entryPath = path;
        if (FitsPathBuffer(entryPath))
            history.push_back({entryPath, FileNameOf(entryPath), static_cast<long>(std::min<UINT>(caret, LONG_MAX))});
    }
    SaveHistory(history);
}
