#include "app/data_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "app/paths.h"
#include "audio/audio_history.h"
#include "lists/favourites.h"
#include "lists/file_history.h"
#include "lists/templates.h"
#include "search/search_history.h"

namespace {

std::wstring g_dataFolder;

const wchar_t kLegacyDataFolder[] = L"C:\\ProgramData\\Temmaku\\Orinda";

bool CreateFolder(const std::wstring& path) {
    if (!FitsPathBuffer(path)) return false;
    return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

bool PrepareDataFolder() {
    g_dataFolder.clear();
    const std::wstring localAppData = SpecialFolder(CSIDL_LOCAL_APPDATA);
    if (localAppData.empty()) return false;
    const std::wstring maker = localAppData + L"\\Temmaku";
    const std::wstring folder = maker + L"\\Orinda";
    CreateFolder(maker);
    if (!CreateFolder(folder)) return false;
    CreateFolder(folder + L"\\Template");
    CreateFolder(folder + L"\\BackUp");
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

void MigrateLegacyListsIfNeeded() {
    if (g_dataFolder.empty() || FileExists(g_dataFolder + L"\\history.log") || !FolderExists(kLegacyDataFolder))
        return;
    MigrateLegacyFileHistory(kLegacyDataFolder);
    MigrateLegacyFavourites(kLegacyDataFolder);
    MigrateLegacySearchHistory(kLegacyDataFolder);
    MigrateLegacyAudioHistory(kLegacyDataFolder);
    MigrateLegacyTemplates(kLegacyDataFolder);
}
