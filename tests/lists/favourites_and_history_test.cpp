#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "core/editor_control.h"
#include "core/paths.h"
#include "core/safe_write.h"
#include "document/document_io.h"
#include "document/document_state.h"
#include "document/file_commands.h"
#include "lists/favourites.h"
#include "lists/file_history.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

PathEntry Entry(const std::wstring& path) {
    return {path, FileNameOf(path), 0};
}

std::string Line(const std::string& path, int caret) {
    return "FilePath=" + path + "|CurselPoint=" + std::to_string(caret) + "\r\n";
}

using PathLists = FileWindowTest;

TEST_F(PathLists, HistoryFormMalformedAndLegacyListsAreReadTheDialogDeletesAndOpensAndTheCaretGoesToItsEntry) {
    const std::string written = "\xEF\xBB\xBF" + Line("C:\\a\\one.txt", 5) + "junk line\r\n" + Line("C:\\b.txt", 0) +
                              "\r\n" + Line("C:\\after.txt", 1);
    EXPECT_EQ(FormatHistory(ParseHistory(written)), "\xEF\xBB\xBF" + Line("C:\\a\\one.txt", 5) + Line("C:\\b.txt", 0));

    // Malformed: characters Windows forbids in paths (such an entry names no file), too many lines.
    std::string bytes;
    for (const std::string path : {"C:\\a\" type waveaudio", "C:\\<a>", "C:\\a|b", "C:\\a\tb"}) bytes += Line(path, 2);
    for (int i = 0; i < 60; ++i) bytes += Line("C:\\f" + std::to_string(i), i);
    const FileHistory malformed = ParseHistory(bytes);
    ASSERT_EQ(malformed.size(), 50u);
    EXPECT_EQ(malformed[0].path, L"C:\\f0");
    EXPECT_EQ(ParseHistory("FilePath=C:\\x|CurselPoint=99999999999\r\n")[0].position, 2147483647L);

    // Paths that differ in case are different files. Moving up, keeping the position and
    // dropping the oldest are checked with the audio history, which shares them.
    FileHistory moved = {{L"C:\\a", L"a", 1}};
    MoveToTop(moved, L"C:\\A", kHistoryEntries);
    EXPECT_EQ(moved.size(), 2u);

    const ScratchFolder legacy(L"orinda_legacy_history");
    // "文書" in code page 932; a path longer than 260 characters is left out.
    WriteTestFile(legacy.File(L"history.log"), "[FilePath]\r\nFilePath0=C:\\\x95\xB6\x8F\x91\\a.txt\r\nFilePath1=C:\\" +
                                                   std::string(300, 'x') + "\r\nFilePath2=C:\\b.txt\r\n"
                                                   "FilePath3=C:\\\"quoted\"\r\n"
                                                   "[CurselPoint]\r\nCurselPoint0=12\r\nCurselPoint2=3\r\n");
    MigrateLegacyFileHistory(legacy.Path());
    // A later start keeps the files used since.
    AddToHistory(L"C:\\used since.txt");
    MigrateLegacyFileHistory(legacy.Path());
    const FileHistory converted = LoadHistory();
    ASSERT_EQ(converted.size(), 3u);
    EXPECT_EQ(converted[0].path, L"C:\\used since.txt");
    EXPECT_EQ(converted[1].path, L"C:\\文書\\a.txt");
    EXPECT_EQ(converted[1].position, 12);
    EXPECT_EQ(converted[2].path, L"C:\\b.txt");
    EXPECT_EQ(converted[2].position, 3);

    DeleteFileW(HistoryFilePath().c_str());
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"saved.txt"}) {
        WriteTestFile(File(name), "x");
        AddToHistory(File(name));
    }
    AnswerDialog(L"履歴一覧", [](HWND dialog) {
        const HWND list = GetDlgItem(dialog, 101);
        SendMessageW(list, LB_SETCURSEL, 2, 0);
        PressDeleteInList(list, 2);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    SendCommand(kCmdOpenFromHistory);
    const FileHistory history = LoadHistory();
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].path, File(L"b.txt"));
    EXPECT_EQ(history[1].path, File(L"saved.txt"));

    size_t keptAfterNo = 0;
    bool okEnabled = true;
    AnswerWith(L"削除確認", IDNO);
    AnswerDialog(L"履歴一覧", [&](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, 102, 0);
        keptAfterNo = LoadHistory().size();
        AnswerWith(L"削除確認", IDYES);
        SendMessageW(dialog, WM_COMMAND, 102, 0);
        okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendCommand(kCmdOpenFromHistory);
    EXPECT_EQ(keptAfterNo, 2u);
    EXPECT_FALSE(okEnabled);
    EXPECT_TRUE(LoadHistory().empty());

    // The caret goes to the entry of its own document.
    WriteTestFile(File(L"a.txt"), "0123456789");
    ASSERT_EQ(LoadDocument(File(L"a.txt")), ReadResult::kDone);
    AddToHistory(File(L"b.txt"));  // another instance opened b.txt since
    CurrentEditor().PlaceCaret(7);
    RecordCaretInHistory(DocumentPath());
    EXPECT_EQ(LoadHistory().at(0).position, 0);
    NewDocument();
    OpenChosenDocument(window_, File(L"a.txt"));
    EXPECT_EQ(CurrentEditor().GetSelection().start, 7);
}

TEST_F(PathLists, FavouritesAddEachPathOnceNewestFirstToAReadableListBelowFiftyConvertsLegacyOnesAndKeepsTheGone) {
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
