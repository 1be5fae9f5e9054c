#include "core/data_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "core/paths.h"
#include "core/profile.h"

namespace {

std::wstring g_dataFolder;
const wchar_t kBackupFolderName[] = L"BackUp";

bool CreateFolder(const std::wstring& path) {
    if (!FitsPathBuffer(path)) return false;
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

bool PrepareDataFolder() {
    g_dataFolder.clear();
    const std::wstring localAppData = SpecialFolder(CSIDL_LOCAL_APPDATA);
    if (localAppData.empty()) return false;
    const std::wstring folder = localAppData + L"\\" + DataFolderBelowAppData();
    CreateFolder(FolderOf(folder));
    if (!CreateFolder(folder)) return false;
    CreateFolder(folder + L"\\Template");
    CreateFolder(folder + L"\\" + kBackupFolderName);
    if (!SetCurrentDirectoryW(folder.c_str())) return false;

    wchar_t current[kPathBufferUnits] = {};
    const DWORD length = GetCurrentDirectoryW(kPathBufferUnits, current);
    if (length == 0 || length >= kPathBufferUnits) return false;
    g_dataFolder = current;
    return true;
}

const std::wstring& DataFolder() {
    return g_dataFolder;
}

std::wstring BackupFolder() {
    return g_dataFolder.empty() ? std::wstring() : g_dataFolder + L"\\" + kBackupFolderName;
}
