#pragma once
// Search terms remembered in Find.log in the data folder: six lists of ten,
// newest first, shared by the four search dialogs and by every instance.
#include <array>
#include <string>

// The fields and the stored entries hold at most this many units.
constexpr size_t kMaxSearchTermUnits = 512;
constexpr int kSearchHistoryLength = 10;

enum class SearchHistoryKind {
    FindTerms = 0,
    ReplaceTerms = 1,
    Replacements = 2,
    RegexFindPatterns = 3,
    RegexReplacePatterns = 4,
    RegexReplacements = 5,
};
constexpr int kSearchHistoryKinds = 6;

// Index 0 is the newest; an empty entry ends the list.
using SearchHistory = std::array<std::wstring, kSearchHistoryLength>;

// At most kMaxSearchTermUnits units, never ending in half a surrogate pair.
std::wstring LimitSearchTerm(const std::wstring& term);

// Puts the term at the front: an equal entry (case-sensitive) moves there,
// otherwise the oldest entry drops out.
void MoveToFront(SearchHistory& history, const std::wstring& term);

// The form a term is written in so that the INI functions, which trim blanks
// and strip one pair of surrounding quotes on reading, give it back exactly.
std::wstring IniValueFor(const std::wstring& term);

// Missing file, section or key: empty entries.
SearchHistory LoadSearchHistory(SearchHistoryKind kind);
// Creates Find.log as UTF-16 (byte-order mark only) when it is missing.
bool SaveSearchHistory(SearchHistoryKind kind, const SearchHistory& history);
// Reread, add and write back, so that the last writer among instances wins.
void AddToSearchHistory(SearchHistoryKind kind, const std::wstring& term);
void ClearSearchHistory(SearchHistoryKind kind);

// Converts the legacy folder's ANSI Find.log into a new UTF-16 Find.log.
void MigrateLegacySearchHistory(const std::wstring& legacyFolder);
