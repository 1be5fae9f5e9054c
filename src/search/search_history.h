#pragma once
// Search terms remembered in Find.log in the data folder.
#include <string>

void MigrateLegacySearchHistory(const std::wstring& legacyFolder);
