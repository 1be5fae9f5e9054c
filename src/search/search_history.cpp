#include "search/search_history.h"

// Search terms are not remembered yet: there is nothing to convert.
void MigrateLegacySearchHistory(const std::wstring&) {}
