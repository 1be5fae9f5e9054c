#include <gtest/gtest.h>

#include <string>

#include "lists/file_history.h"

namespace {

std::string Line(const std::string& path, int caret) {
    return "FilePath=" + path + "|CurselPoint=" + std::to_string(caret) + "\r\n";
}

TEST(HistoryFile, ParsesTheWrittenFormAndStopsAtABlankLine) {
    const std::string bytes = "\xEF\xBB\xBF" + Line("C:\\a\\one.txt", 5) + "junk line\r\n" + Line("C:\\b.txt", 0) +
                              "\r\n" + Line("C:\\after.txt", 1);
    const FileHistory history = ParseHistory(bytes);
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].path, L"C:\\a\\one.txt");
    EXPECT_EQ(history[0].fileName, L"one.txt");
    EXPECT_EQ(history[0].position, 5);
    EXPECT_EQ(FormatHistory(history), "\xEF\xBB\xBF" + Line("C:\\a\\one.txt", 5) + Line("C:\\b.txt", 0));
}

TEST(HistoryFile, MalformedFilesLoadSafely) {
    // No mark, invalid UTF-8, a megabyte line, an over-long path, too many lines.
    std::string bytes = Line("C:\\\xFF\xFE.txt", 3) + std::string(1 << 20, 'x') + "\r\n" +
                        Line("C:\\" + std::string(300, 'p') + ".txt", 1) + "FilePath=C:\\n.txt|CurselPoint=zz\r\n";
    for (int i = 0; i < 60; ++i) bytes += Line("C:\\f" + std::to_string(i), i);
    const FileHistory history = ParseHistory(bytes);
    ASSERT_EQ(history.size(), kHistoryEntries);
    EXPECT_EQ(history[1].path, L"C:\\n.txt");
    EXPECT_EQ(history[1].position, 0);
    EXPECT_EQ(history[2].path, L"C:\\f0");
    for (const HistoryEntry& entry : history) EXPECT_LE(entry.path.size(), 260u);
    EXPECT_EQ(ParseHistory("FilePath=C:\\x|CurselPoint=99999999999\r\n")[0].position, 2147483647L);
}

TEST(HistoryList, MovesToTopKeepsCaretLimitsAndIsCaseSensitive) {
    FileHistory history = {{L"C:\\a", L"a", 1}, {L"C:\\b", L"b", 2}, {L"C:\\c", L"c", 3}};
    MoveToTop(history, L"C:\\c", kHistoryEntries);
    EXPECT_EQ(history[0].path, L"C:\\c");
    EXPECT_EQ(history[0].position, 3);
    EXPECT_EQ(history[1].path, L"C:\\a");
    MoveToTop(history, L"C:\\A", kHistoryEntries);
    EXPECT_EQ(history.size(), 4u);
    EXPECT_EQ(history[0].position, 0);
    for (int i = 0; i < 60; ++i) MoveToTop(history, L"C:\\n" + std::to_wstring(i), kHistoryEntries);
    EXPECT_EQ(history.size(), kHistoryEntries);
    EXPECT_EQ(history[0].path, L"C:\\n59");
    EXPECT_EQ(history.back().path, L"C:\\n10");
}

}  // namespace
