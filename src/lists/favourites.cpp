#include "lists/favourites.h"

#include <algorithm>
#include <optional>

#include "core/data_folder.h"
#include "core/paths.h"
#include "lists/path_list_dialog.h"
#include "speech/speech.h"

namespace {

// A list without positions: each line is "FilePath=%s".
const wchar_t kNoPositionKey[] = L"";

}  // namespace

std::optional<Favourites> ReadFavouritesFile() {
    return ReadPathList(FavouritesFilePath(), kNoPositionKey, kFavouriteEntries);
}

std::wstring FavouritesFilePath() {
    return DataFolder().empty() ? std::wstring() : DataFolder() + L"\\BookMark.log";
}

Favourites LoadFavourites() {
    return ReadFavouritesFile().value_or(Favourites());
}

bool SaveFavourites(const Favourites& favourites) {
    return WritePathList(FavouritesFilePath(), favourites, kNoPositionKey, kFavouriteEntries);
}

void AddToFavourites(const std::wstring& path) {
    if (path.empty()) {
        Speak(L"ファイルはロードされていません", kAnswerDelayMs);
        return;
    }
    std::optional<Favourites> favourites = ReadFavouritesFile();
    // Written over a list that could not be read, the other 49 would be lost.
    if (!favourites) {
        Speak(L"お気に入りの登録に失敗しました", kAnswerDelayMs);
        return;
    }
    if (favourites->size() >= kFavouriteEntries) {
        Speak(L"お気に入り文書は上限の50件まで登録されています", kAnswerDelayMs);
        return;
    }
    const std::wstring fileName = FileNameOf(path);
    if (std::any_of(favourites->begin(), favourites->end(),
                    [&path](const PathEntry& entry) { return entry.path == path; })) {
        Speak(fileName + L"はすでにお気に入りに登録されています", kAnswerDelayMs);
        return;
    }
    favourites->insert(favourites->begin(), PathEntry{path, fileName, 0});
    if (SaveFavourites(*favourites)) Speak(fileName + L"をお気に入りに登録しました", kAnswerDelayMs);
    else Speak(L"お気に入りの登録に失敗しました", kAnswerDelayMs);
}

bool ChooseFromFavourites(HWND owner, std::wstring& path) {
    PathListDialog dialog{L"BookMarkDialog", ReadFavouritesFile, SaveFavourites};
    const std::optional<PathEntry> chosen = ChooseFromPathList(owner, dialog);
    if (!chosen) return false;
    path = chosen->path;
    return true;
}

void MigrateLegacyFavourites(const std::wstring& legacyFolder) {
    const std::wstring legacyFile = legacyFolder + L"\\BookMark.log";
    if (FavouritesFilePath().empty() || FileExists(FavouritesFilePath()) || !FileExists(legacyFile)) return;
    SaveFavourites(ReadLegacyPathList(legacyFile, L"", kFavouriteEntries));
}
