#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/data_folder.h"
#include "search/search_history.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

SearchHistory Numbered(int count) {
    SearchHistory history;
    for (int i = 0; i < count; ++i) history[i] = L"t" + std::to_wstring(i);
    return history;
}

TEST(FindLog, KeepsTermsNewestFirstGivesBackExactlyWhatItStoredAndMigratesTheLegacyAnsiFileOnce) {
    // An equal term moves to the front; a new one drops the oldest.
    SearchHistory history = Numbered(10);
    MoveToFront(history, L"t4");
    EXPECT_EQ(history, (SearchHistory{L"t4", L"t0", L"t1", L"t2", L"t3", L"t5", L"t6", L"t7", L"t8", L"t9"}));
    history = Numbered(10);
    MoveToFront(history, L"T0");  // compared case-sensitively: a new term
    EXPECT_EQ(history, (SearchHistory{L"T0", L"t0", L"t1", L"t2", L"t3", L"t4", L"t5", L"t6", L"t7", L"t8"}));

    ClearDataFolder();
    const SearchHistory terms{L" abc ", L"\"x\"", L"'y'", L"\"", L"a=b;c", L"検索語句", L"\tz", L"x'",
                              std::wstring(512, L'\u3042'), L""};
    ASSERT_TRUE(SaveSearchHistory(SearchHistoryKind::RegexReplacements, terms));
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::RegexReplacements), terms);
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::FindTerms), SearchHistory{});

    const std::string bytes = FileBytes(DataFolder() + L"\\Find.log");
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE"));
    const std::string section("[\0F\0i\0n\0d\0\x35\0]\0", 14);
    EXPECT_NE(bytes.find(section), std::string::npos);

    ClearDataFolder();
    const ScratchFolder legacy(L"orinda-legacy-find");
    // 検索 in Shift_JIS (code page 932).
    WriteTestFile(legacy.File(L"Find.log"),
                  "[Find0]\r\nFindString0=\x8C\x9F\x8D\xF5\r\nFindString1=abc\r\n[Find4]\r\nFindString0=^x$\r\n");
    MigrateLegacySearchHistory(legacy.Path());

    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::FindTerms), (SearchHistory{L"検索", L"abc"}));
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::RegexReplacePatterns)[0], L"^x$");

    // A later start keeps the terms used since.
    AddToSearchHistory(SearchHistoryKind::FindTerms, L"mine");
    MigrateLegacySearchHistory(legacy.Path());
    EXPECT_EQ(LoadSearchHistory(SearchHistoryKind::FindTerms)[0], L"mine");
}

}  // namespace
