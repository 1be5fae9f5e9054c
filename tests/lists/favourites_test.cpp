#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "core/paths.h"
#include "core/safe_write.h"
#include "document/document_state.h"
#include "lists/favourites.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

PathEntry Entry(const std::wstring& path) {
    return {path, FileNameOf(path), 0};
}

using FavouritesTest = FileWindowTest;

TEST_F(FavouritesTest, AddsEachPathOnceNewestFirstToAReadableListBelowFiftyConvertsLegacyOnesAndKeepsTheGone) {
    SendCommand(kCmdAddToFavourites);
    EXPECT_TRUE(WaitForSpeech(L"ファイルはロードされていません", 2000));
    EXPECT_FALSE(FileExists(FavouritesFilePath()));

    SetDocumentPath(L"C:\\文書\\a.txt");
    const double added = fake::NowMs();
    SendCommand(kCmdAddToFavourites);
    EXPECT_GE(SpeechDelay(L"a.txtをお気に入りに登録しました", added), 100);
    SendCommand(kCmdAddToFavourites);
    EXPECT_TRUE(WaitForSpeech(L"a.txtはすでにお気に入りに登録されています", 2000));
    SetDocumentPath(L"C:\\文書\\A.txt");
    SendCommand(kCmdAddToFavourites);
    EXPECT_EQ(FileBytes(FavouritesFilePath()), "\xEF\xBB\xBF" "FilePath=C:\\\xE6\x96\x87\xE6\x9B\xB8\\A.txt\r\n"
                                               "FilePath=C:\\\xE6\x96\x87\xE6\x9B\xB8\\a.txt\r\n");

    // A list that cannot be read now is not written over, and the user hears so.
    const HANDLE lock = CreateFileW(FavouritesFilePath().c_str(), GENERIC_READ, FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    SetDocumentPath(L"C:\\b.txt");
    SendCommand(kCmdAddToFavourites);
    EXPECT_TRUE(WaitForSpeech(L"お気に入りの登録に失敗しました", 2000));
    CloseHandle(lock);

    // A malformed list: no mark, invalid UTF-8, 60 entries.
    std::string bytes = "FilePath=C:\\\xFF.txt\r\n";
    for (int i = 0; i < 60; ++i) bytes += "FilePath=C:\\f" + std::to_string(i) + ".txt\r\n";
    ASSERT_TRUE(WriteFileSafely(FavouritesFilePath(), bytes));
    const Favourites favourites = LoadFavourites();
    ASSERT_EQ(favourites.size(), 50u);
    EXPECT_EQ(favourites[0].path, L"C:\\\xFFFD.txt");

    SetDocumentPath(L"C:\\new.txt");
    SendCommand(kCmdAddToFavourites);
    EXPECT_TRUE(WaitForSpeech(L"お気に入り文書は上限の50件まで登録されています", 2000));
    EXPECT_EQ(FileBytes(FavouritesFilePath()), bytes);

    DeleteFileW(FavouritesFilePath().c_str());
    const ScratchFolder legacy(L"orinda-legacy-favourites");
    // The list ends at the first missing number.
    ASSERT_TRUE(WriteFileSafely(legacy.File(L"BookMark.log"), "[FilePath]\r\nFilePath0=C:\\\x95\xB6\x8F\x91\\a.txt\r\n"
                                                               "FilePath1=C:\\b.txt\r\nFilePath3=C:\\d.txt\r\n"));
    MigrateLegacyFavourites(legacy.Path());
    const Favourites converted = LoadFavourites();
    ASSERT_EQ(converted.size(), 2u);
    EXPECT_EQ(converted[1].path, L"C:\\b.txt");

    ASSERT_TRUE(SaveFavourites({Entry(L"C:\\kept.txt")}));
    MigrateLegacyFavourites(legacy.Path());
    EXPECT_EQ(LoadFavourites().size(), 1u);

    // OK on the first line: its file is gone.
    const std::wstring gone = File(L"orinda-favourite-gone.txt");
    ASSERT_TRUE(SaveFavourites({Entry(gone), Entry(L"C:\\b.txt"), Entry(L"C:\\a.txt")}));
    std::vector<std::wstring> lines;
    AnswerDialog(L"お気に入り一覧", [&lines](HWND dialog) {
        lines = ListBoxItems(GetDlgItem(dialog, 101));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    SendCommand(kCmdFavourites);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"orinda-favourite-gone.txt - " + gone);
    EXPECT_TRUE(WaitForSpeech(L"ファイルを開けませんでした", 2000));
    EXPECT_EQ(DocumentPath(), L"C:\\new.txt");
    EXPECT_EQ(LoadFavourites().at(0).path, gone);
}

}  // namespace
