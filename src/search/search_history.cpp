#include "search/search_history.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <cwctype>

#include "core/data_folder.h"
#include "core/paths.h"
#include "core/text_units.h"

namespace {

const wchar_t kFindLogName[] = L"Find.log";
// Bytes of one legacy (ANSI) entry, with its terminating NUL.
constexpr DWORD kLegacyEntryBytes = 128;

std::wstring SectionName(SearchHistoryKind kind) {
    return L"Find" + std::to_wstring(static_cast<int>(kind));
}

std::wstring KeyName(int index) {
    return L"FindString" + std::to_wstring(index);
}

std::wstring FindLogPath() {
    const std::wstring& folder = DataFolder();
    if (folder.empty()) return {};
    std::wstring path = folder + L"\\" + kFindLogName;
    return FitsPathBuffer(path) ? path : std::wstring();
}

// The byte-order mark makes the INI functions write the file in UTF-16.
bool CreateUtf16File(const std::wstring& path, DWORD disposition) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const BYTE mark[] = {0xFF, 0xFE};
    DWORD written = 0;
    const bool ok = WriteFile(file, mark, sizeof mark, &written, nullptr) && written == sizeof mark;
    CloseHandle(file);
    return ok;
}

bool IsTrimmedOnReading(wchar_t c) {
    return c < 0x20 || c == 0x7F || c == 0x3000 || std::iswspace(c);
}

bool IsQuote(wchar_t c) {
    return c == L'"' || c == L'\'';
}

bool WriteHistory(const std::wstring& path, SearchHistoryKind kind, const SearchHistory& history) {
    const std::wstring section = SectionName(kind);
    bool ok = true;
    for (int index = 0; index < kSearchHistoryLength; ++index) {
        ok = WritePrivateProfileStringW(section.c_str(), KeyName(index).c_str(), IniValueFor(history[index]).c_str(),
                                        path.c_str()) &&
             ok;
    }
    return ok;
}

}  // namespace

std::wstring LimitSearchTerm(const std::wstring& term) {
    return std::wstring(CutToUnits(term, kMaxSearchTermUnits));
}

void MoveToFront(SearchHistory& history, const std::wstring& term) {
    auto found = std::find(history.begin(), history.end(), term);
    if (found == history.end()) found = history.end() - 1;
    std::rotate(history.begin(), found, found + 1);
    history[0] = term;
}

std::wstring IniValueFor(const std::wstring& term) {
    if (term.empty()) return term;
    const wchar_t first = term.front();
    const wchar_t last = term.back();
    const bool needsQuotes = IsTrimmedOnReading(first) || IsTrimmedOnReading(last) || IsQuote(first) || IsQuote(last);
    return needsQuotes ? L"\"" + term + L"\"" : term;
}

SearchHistory LoadSearchHistory(SearchHistoryKind kind) {
    SearchHistory history;
    const std::wstring path = FindLogPath();
    if (path.empty()) return history;
    const std::wstring section = SectionName(kind);
    wchar_t value[kMaxSearchTermUnits + 1];
    for (int index = 0; index < kSearchHistoryLength; ++index) {
        const DWORD length = GetPrivateProfileStringW(section.c_str(), KeyName(index).c_str(), L"", value,
                                                      static_cast<DWORD>(std::size(value)), path.c_str());
        history[index] = LimitSearchTerm(std::wstring(value, std::min<DWORD>(length, kMaxSearchTermUnits)));
    }
    return history;
}

bool SaveSearchHistory(SearchHistoryKind kind, const SearchHistory& history) {
    const std::wstring path = FindLogPath();
    if (path.empty()) return false;
    if (!FileExists(path) && !CreateUtf16File(path, CREATE_NEW) && !FileExists(path)) return false;
    return WriteHistory(path, kind, history);
}

void AddToSearchHistory(SearchHistoryKind kind, const std::wstring& term) {
    SearchHistory history = LoadSearchHistory(kind);
    MoveToFront(history, LimitSearchTerm(term));
    SaveSearchHistory(kind, history);
}

void ClearSearchHistory(SearchHistoryKind kind) {
    SaveSearchHistory(kind, SearchHistory{});
}

void MigrateLegacySearchHistory(const std::wstring& legacyFolder) {
    const std::wstring legacyPath = legacyFolder + L"\\" + kFindLogName;
    const std::wstring path = FindLogPath();
    // Once converted (or begun anew here), the list here is the user's own.
    if (path.empty() || FileExists(path) || !FitsPathBuffer(legacyPath) || !FileExists(legacyPath)) return;
    char ansiPath[kPathBufferUnits * 2] = {};
    if (!WideCharToMultiByte(CP_ACP, 0, legacyPath.c_str(), -1, ansiPath, sizeof ansiPath, nullptr, nullptr)) return;
    if (!CreateUtf16File(path, CREATE_NEW)) return;
    for (int kind = 0; kind < kSearchHistoryKinds; ++kind) {
        const std::string section = "Find" + std::to_string(kind);
        SearchHistory history;
        for (int index = 0; index < kSearchHistoryLength; ++index) {
            const std::string key = "FindString" + std::to_string(index);
            char value[kLegacyEntryBytes];
            const DWORD bytes =
                GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, kLegacyEntryBytes, ansiPath);
            if (bytes == 0) continue;
            wchar_t wide[kLegacyEntryBytes];
            const int units = MultiByteToWideChar(CP_ACP, 0, value, static_cast<int>(bytes), wide, kLegacyEntryBytes);
            if (units > 0) history[index].assign(wide, static_cast<size_t>(units));
        }
        WriteHistory(path, static_cast<SearchHistoryKind>(kind), history);
    }
}
