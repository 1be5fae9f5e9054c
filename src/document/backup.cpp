#include "document/backup.h"

#include "core/editor_control.h"
#include "core/outside_world.h"
#include "core/paths.h"
#include "document/document_io.h"
#include "lists/file_history.h"
#include "speech/speech.h"

namespace {

std::wstring g_backupFolder;
std::wstring g_backupBaseName;
std::wstring g_backupPath;
std::wstring g_temporaryCopyPath;
bool g_backupNameTaken = false;

constexpr int kMaxBackupNameTries = 1000;

bool CreateNewFile(const std::wstring& path) {
    if (!FitsPathBuffer(path)) return false;
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// Instances started within the same second share the time in their names:
// the first write claims the name by creating the file, a later instance
// takes the next free "_2", "_3", ...
void ClaimBackupName() {
    if (g_backupNameTaken) return;
    for (int attempt = 1; attempt <= kMaxBackupNameTries; ++attempt) {
        const std::wstring suffix = attempt == 1 ? L"" : L"_" + std::to_wstring(attempt);
        const std::wstring path = g_backupFolder + L"\\" + g_backupBaseName + suffix + L".txt";
        if (CreateNewFile(path)) {
            g_backupPath = path;
            g_backupNameTaken = true;
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

}  // namespace

std::wstring BackupNameOf(const SYSTEMTIME& time) {
    const auto twoDigits = [](WORD value) { return (value < 10 ? L"0" : L"") + std::to_wstring(value); };
    return std::to_wstring(time.wYear) + L"年" + twoDigits(time.wMonth) + L"月" + twoDigits(time.wDay) + L"日" +
           twoDigits(time.wHour) + L"時" + twoDigits(time.wMinute) + L"分" + twoDigits(time.wSecond) + L"秒";
}

void InitSafetyCopyPaths(const std::wstring& dataFolder) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    // Without a data folder there is nowhere to keep copies (never the drive's root).
    g_backupFolder = dataFolder.empty() ? std::wstring() : dataFolder + L"\\BackUp";
    g_backupBaseName = BackupNameOf(now);
    g_backupPath = g_backupFolder + L"\\" + g_backupBaseName + L".txt";
    g_backupNameTaken = false;
    g_temporaryCopyPath = dataFolder.empty() ? std::wstring() : dataFolder + L"\\Temp.txt";
}

const std::wstring& BackupPath() {
    return g_backupPath;
}

const std::wstring& TemporaryCopyPath() {
    return g_temporaryCopyPath;
}

void SaveBackupIfModified() {
    if (!CurrentEditor().IsModified() || g_backupFolder.empty()) return;
    const bool claimedNow = !g_backupNameTaken;
    ClaimBackupName();
    if (!g_backupNameTaken || SaveDocumentTo(g_backupPath, SaveAnswer::kSilent) || !claimedNow) return;
    // The empty file that claimed the name would pass for a backup.
    DeleteFileW(g_backupPath.c_str());
    g_backupNameTaken = false;
}

bool SaveTemporaryCopy() {
    if (!SaveDocumentTo(g_temporaryCopyPath, SaveAnswer::kSpoken)) return false;
    AddToHistory(g_temporaryCopyPath);
    RecordCaretInHistory(g_temporaryCopyPath);
    CurrentEditor().SetModified(false);
    return true;
}

void OpenBackupFolderCommand(HWND, LPARAM) {
    if (g_backupFolder.empty() || !Outside().shellOpen(g_backupFolder))
        Speak(L"バックアップフォルダを開けませんでした", kAnswerDelayMs);
}
