#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "audio/audio_history.h"
#include "core/file_io.h"
#include "core/window_text.h"
#include "support/test_support.h"

namespace {

using namespace testing_support;

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    ReadFileBytes(path, 1 << 20, bytes);
    return bytes;
}

class AudioHistory : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        DeleteFileW(AudioHistoryPath().c_str());
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        DeleteFileW(AudioHistoryPath().c_str());
    }
};

TEST_F(AudioHistory, ReopeningMovesUpAndTheTwentyFirstFileDropsTheOldest) {
    PathEntries full;
    for (int i = 0; i < 20; ++i) full.push_back({L"C:\\f" + std::to_wstring(i), L"", i * 1000});
    SaveAudioHistory(full);
    AddToAudioHistory(L"C:\\f5");
    PathEntries history = LoadAudioHistory();
    ASSERT_EQ(history.size(), 20u);
    EXPECT_EQ(history[0].path, L"C:\\f5");
    EXPECT_EQ(history[0].position, 5000);
    EXPECT_EQ(history[5].path, L"C:\\f4");
    EXPECT_EQ(history[6].path, L"C:\\f6");
    AddToAudioHistory(L"C:\\new.mp3");
    history = LoadAudioHistory();
    ASSERT_EQ(history.size(), 20u);
    EXPECT_EQ(history[0].fileName, L"new.mp3");
    EXPECT_EQ(history[19].path, L"C:\\f18");
}

TEST_F(AudioHistory, AnyAudioLogLoads) {
    // No mark, an empty point, invalid UTF-8, a path too long, 32 bits exceeded, too many lines.
    std::string bytes = "FilePath=C:\\a.mp3|Point=\r\nFilePath=C:\\\xFF.mp3|Point=3\r\nFilePath=C:\\" +
                        std::string(300, 'x') + "|Point=1\r\nFilePath=C:\\b.mp3|Point=99999999999\r\n";
    for (int i = 0; i < 30; ++i) bytes += "FilePath=C:\\n" + std::to_string(i) + "|Point=1\r\n";
    WriteBytes(AudioHistoryPath(), bytes);
    const PathEntries history = LoadAudioHistory();
    ASSERT_EQ(history.size(), 20u);
    EXPECT_EQ(history[0].path, L"C:\\a.mp3");
    EXPECT_EQ(history[0].position, 0);
    EXPECT_EQ(history[2].position, 2147483647L);
    EXPECT_EQ(history[3].path, L"C:\\n0");
}

TEST_F(AudioHistory, LegacyFileIsConvertedButNeverOverAnAudioLog) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring legacy = std::wstring(temp) + L"orinda_legacy_audio";
    CreateDirectoryW(legacy.c_str(), nullptr);
    // "音声" in code page 932.
    WriteBytes(legacy + L"\\Audio.log", "[FilePath]\r\nFilePath0=C:\\\x89\xB9\x90\xBA\\a.mp3\r\nFilePath1=C:\\b.wav\r\n"
                                        "[Point]\r\nPoint0=1500\r\n");
    MigrateLegacyAudioHistory(legacy);
    EXPECT_EQ(ReadBytes(AudioHistoryPath()),
              "\xEF\xBB\xBF" "FilePath=C:\\\xE9\x9F\xB3\xE5\xA3\xB0\\a.mp3|Point=1500\r\nFilePath=C:\\b.wav|Point=0\r\n");
    SaveAudioHistory({{L"C:\\mine.mp3", L"mine.mp3", 1}});
    MigrateLegacyAudioHistory(legacy);
    DeleteFileW((legacy + L"\\Audio.log").c_str());
    RemoveDirectoryW(legacy.c_str());
    ASSERT_EQ(LoadAudioHistory().size(), 1u);
}

TEST_F(AudioHistory, DialogListsNamesAndDeletes) {
    SaveAudioHistory({{L"C:\\a.mp3", L"a.mp3", 1}, {L"C:\\d\\b.wav", L"b.wav", 2}});
    std::vector<std::wstring> lines;
    LRESULT selected = -1;
    bool choosable = true;
    AnswerDialog(L"オーディオファイル履歴", [&](HWND dialog) {
        const HWND list = GetDlgItem(dialog, 101);
        lines = ListBoxItems(list);
        SendMessageW(list, LB_SETCURSEL, 1, 0);
        SendMessageW(dialog, WM_VKEYTOITEM, MAKEWPARAM(VK_DELETE, 1), reinterpret_cast<LPARAM>(list));
        selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
        SendMessageW(dialog, WM_VKEYTOITEM, MAKEWPARAM(VK_DELETE, 0), reinterpret_cast<LPARAM>(list));
        choosable = IsWindowEnabled(GetDlgItem(dialog, IDOK)) || IsWindowEnabled(GetDlgItem(dialog, 102));
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(ChooseFromAudioHistory(window_));
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"a.mp3", L"b.wav"}));
    EXPECT_EQ(selected, 0);
    EXPECT_FALSE(choosable);
    EXPECT_TRUE(LoadAudioHistory().empty());

    SaveAudioHistory({{L"C:\\a.mp3", L"a.mp3", 1}});
    std::wstring question;
    AnswerDialog(L"削除確認", [&question](HWND box) {
        question = WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDYES, 0);
    });
    AnswerDialog(L"オーディオファイル履歴", [](HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, 102, 0);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    ChooseFromAudioHistory(window_);
    EXPECT_EQ(question, L"最近開いたオーディオファイルの履歴を削除します。\nよろしいですか？");
    EXPECT_TRUE(LoadAudioHistory().empty());
}

}  // namespace
