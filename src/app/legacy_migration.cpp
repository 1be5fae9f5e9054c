#include "app/legacy_migration.h"

#include "audio/audio_history.h"
#include "core/data_folder.h"
#include "core/paths.h"
#include "lists/favourites.h"
#include "lists/file_history.h"
#include "lists/templates.h"
#include "search/search_history.h"

namespace {
const wchar_t kLegacyDataFolder[] = L"C:\\ProgramData\\Temmaku\\Orinda";
}  // namespace

void MigrateLegacyListsIfNeeded() {
    if (DataFolder().empty() || FileExists(DataFolder() + L"\\history.log") || !FolderExists(kLegacyDataFolder))
        return;
    MigrateLegacyFileHistory(kLegacyDataFolder);
    MigrateLegacyFavourites(kLegacyDataFolder);
    MigrateLegacySearchHistory(kLegacyDataFolder);
    MigrateLegacyAudioHistory(kLegacyDataFolder);
    MigrateLegacyTemplates(kLegacyDataFolder);
}
