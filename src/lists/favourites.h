#pragma once
// Favourites: up to 50 documents the user marked for reopening, newest
// first, in BookMark.log of the data folder. Every change rereads the file
// and rewrites it whole, so that all instances share one list.
#include <windows.h>

#include <optional>
#include <string>

#include "lists/list_file.h"

constexpr size_t kFavouriteEntries = 50;

using Favourites = PathEntries;  // at most kFavouriteEntries, newest first

std::wstring FavouritesFilePath();
// Empty when there is no BookMark.log yet; nothing when it cannot be read now.
std::optional<Favourites> ReadFavouritesFile();
// Empty when the file is missing or cannot be read.
Favourites LoadFavourites();
bool SaveFavourites(const Favourites& favourites);

// Put the document at `path` (empty: untitled) at the top of the favourites
// and say how it went. Nothing is written when BookMark.log exists but cannot
// be read.
void AddToFavourites(const std::wstring& path);

// "BookMarkDialog": returns whether the user chose a favourite.
bool ChooseFromFavourites(HWND owner, std::wstring& path);

// Converts the older version's list unless this data folder has one already.
void MigrateLegacyFavourites(const std::wstring& legacyFolder);
