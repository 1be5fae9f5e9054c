#include "lists/favourites.h"

// Favourites are not kept yet: there is nothing to convert.
void MigrateLegacyFavourites(const std::wstring&) {}
