#pragma once
// Favourites: BookMark.log in the data folder.
#include <string>

void MigrateLegacyFavourites(const std::wstring& legacyFolder);
