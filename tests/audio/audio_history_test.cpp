#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/audio_history.h"
#include "support/test_support.h"

namespace {

using namespace testing_support;
using Strings = std::vector<std::wstring>;

Strings Paths(const PathEntries& entries) {
    Strings paths;
    for (const PathEntry& entry : entries) paths.push_back(entry.path + L"|" + std::to_wstring(entry.position));
    return paths;
}

using AudioHistory = MainWindowTest;

TEST_F(AudioHistory, LegacyFileIsConvertedNoAudioLogIsWrittenOverUnreadAnyLoadsUpToTwentyAndTheDialogDeletesAsStored) {
    const ScratchFolder legacy(L"orinda_legacy_audio");
    WriteTestFile(legacy.File(L"Audio.log"),
                  "[FilePath]\r\nFilePath0=C:\\a.mp3\r\nFilePath1=C:\\b\r\n[Point]\r\nPoint0=1500\r\n");
    MigrateLegacyAudioHistory(legacy.Path());
    EXPECT_EQ(Paths(LoadAudioHistory()), (Strings{L"C:\\a.mp3|1500", L"C:\\b|0"}));
    SaveAudioHistory({{L"C:\\mine", L"mine", 1}});
    // Another instance reads it without sharing reads: a write would still go through.
    const HANDLE lock = CreateFileW(AudioHistoryPath().c_str(), GENERIC_READ, FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    MigrateLegacyAudioHistory(legacy.Path());
    CloseHandle(lock);
    EXPECT_EQ(Paths(LoadAudioHistory()), Strings{L"C:\\mine|1"});

    // No mark, an empty point, a path too long, more than 20 lines.
    std::string bytes = "FilePath=C:\\a|Point=\r\nFilePath=C:\\" + std::string(300, 'x') + "|Point=1\r\n";
    for (int i = 1; i < 30; ++i) bytes += "FilePath=C:\\f" + std::to_string(i) + "|Point=" + std::to_string(i) + "\r\n";
    WriteTestFile(AudioHistoryPath(), bytes);
    AddToAudioHistory(L"C:\\f5");
    Strings paths = Paths(LoadAudioHistory());
    ASSERT_EQ(paths.size(), 20u);
    EXPECT_EQ(Strings(paths.begin(), paths.begin() + 7),
              (Strings{L"C:\\f5|5", L"C:\\a|0", L"C:\\f1|1", L"C:\\f2|2", L"C:\\f3|3", L"C:\\f4|4", L"C:\\f6|6"}));
    AddToAudioHistory(L"C:\\new");
    paths = Paths(LoadAudioHistory());
    EXPECT_EQ(paths.front(), L"C:\\new|0");
    EXPECT_EQ(paths.back(), L"C:\\f18|18");

    // The dialog lists names and deletes from the list as stored now.
    SaveAudioHistory({{L"C:\\a.mp3", L"a.mp3", 1}, {L"C:\\d\\b.wav", L"b.wav", 2}});
    Strings lines;
    bool choosable = true;
    AnswerDialog(L"オーディオファイル履歴", [&](HWND dialog) {
        const HWND list = GetDlgItem(dialog, 101);
        lines = ListBoxItems(list);
        AddToAudioHistory(L"C:\\other.mp3");  // another instance, meanwhile
        SendMessageW(list, LB_SETCURSEL, 1, 0);
        PressDeleteInList(list, 1);
        PressDeleteInList(list, 0);
        choosable = IsWindowEnabled(GetDlgItem(dialog, IDOK)) || IsWindowEnabled(GetDlgItem(dialog, 102));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(ChooseFromAudioHistory(window_));
    EXPECT_EQ(lines, (Strings{L"a.mp3", L"b.wav"}));
    EXPECT_FALSE(choosable);
    EXPECT_EQ(Paths(LoadAudioHistory()), Strings{L"C:\\other.mp3|0"});
    EXPECT_TRUE(WaitForSpeech(L"削除しました", 2000));

    // Audio.log cannot be read now: nothing is deleted, and the user hears so.
    SaveAudioHistory({{L"C:\\a.mp3", L"a.mp3", 1}});
    ClearSpeechLog();
    size_t linesLeft = 0;
    bool refused = false;
    AnswerDialog(L"オーディオファイル履歴", [&](HWND dialog) {
        const HANDLE lock = CreateFileW(AudioHistoryPath().c_str(), GENERIC_READ, FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
        SetFocus(GetDlgItem(dialog, 101));
        PressKeys({VK_DELETE});
        refused = WaitForSpeech(L"削除できませんでした", 2000);
        CloseHandle(lock);
        linesLeft = ListBoxItems(GetDlgItem(dialog, 101)).size();
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    ChooseFromAudioHistory(window_);
    EXPECT_TRUE(refused);
    EXPECT_EQ(linesLeft, 1u);
    EXPECT_EQ(LoadAudioHistory().size(), 1u);

    std::wstring question;
    AnswerDialog(L"削除確認", [&question](HWND box) {
        question = DialogItemText(box, 0xFFFF);
        PostMessageW(box, WM_COMMAND, IDYES, 0);
    });
    AnswerDialog(L"オーディオファイル履歴", [](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, 102, 0);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    ChooseFromAudioHistory(window_);
    EXPECT_EQ(question, L"最近開いたオーディオファイルの履歴を削除します。\nよろしいですか？");
    EXPECT_EQ(GetFileAttributesW(AudioHistoryPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
