#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/commands.h"
#include "core/data_folder.h"
#include "core/editor_control.h"
#include "core/outside_world.h"
#include "document/backup.h"
#include "core/file_io.h"
#include "core/safe_write.h"
#include "lists/file_history.h"
#include "speech/continuous_reading.h"
#include "support/instance_process.h"
#include "support/test_support.h"
#include "timer/sleep_timer.h"

using namespace testing_support;

namespace {

int g_suspends = 0;
bool g_hibernated = false;
int g_shutdowns = 0;
bool g_otherBackupOnDiskAtShutdown = false;

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    ReadFileBytes(path, 1 << 20, bytes);
    return bytes;
}

std::wstring BackupFolder() {
    return DataFolder() + L"\\BackUp";
}

// Whether a backup file in the data folder holds exactly these bytes.
bool BackupHolds(const std::string& bytes) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((BackupFolder() + L"\\*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool holds = false;
    do holds = holds || ReadBytes(BackupFolder() + L"\\" + found.cFileName) == bytes;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return holds;
}

class SleepTimer : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        saved_ = Outside();
        g_suspends = 0;
        g_shutdowns = 0;
        Outside().suspendSystem = [](bool hibernate) {
            ++g_suspends;
            g_hibernated = hibernate;
            return true;
        };
        Outside().shutDownSystem = [] {
            ++g_shutdowns;
            g_otherBackupOnDiskAtShutdown = BackupHolds("x");
            return true;
        };
        DeleteFileW(HistoryFilePath().c_str());
    }
    void TearDown() override {
        if (IsWindow(window_)) {
            AnswerDialog(L"お休みタイマーのキャンセル確認", [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
            Command(kCmdSleepTimerCancel);
        }
        MainWindowTest::TearDown();
        Outside() = saved_;
        DeleteFileW(TemporaryCopyPath().c_str());
        DeleteFileW(HistoryFilePath().c_str());
    }
    void Command(WORD id) { SendMessageW(window_, WM_COMMAND, id, 0); }
    // Set through the dialog; the test then counts the seconds itself.
    void Set(int duration, int action) {
        AnswerDialog(L"お休みタイマー", [duration, action](HWND dialog) {
            SendDlgItemMessageW(dialog, 101, CB_SETCURSEL, duration, 0);
            SendDlgItemMessageW(dialog, 102, CB_SETCURSEL, action, 0);
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        Command(kCmdSleepTimerSet);
        KillTimer(window_, kSleepTimerId);
    }
    void Tick(int seconds) {
        for (int second = 0; second < seconds && IsWindow(window_); ++second) SleepTimerTick(window_);
    }
    std::wstring StateAfterAltZero() {
        ClearSpeechLog();
        Command(kCmdSleepTimerState);
        PumpUntil([] { return !SpokenTexts().empty(); }, 2000);
        return SpokenTexts().empty() ? L"" : SpokenTexts().back();
    }
    OutsideWorld saved_{};
};

TEST_F(SleepTimer, SleepAndHibernationComeOnTheTickThatFindsZero) {
    Set(0, 1);
    EXPECT_TRUE(WaitForSpeech(L"お休みタイマーをセットしました", 2000));
    Tick(900);
    EXPECT_EQ(g_suspends, 0);
    Tick(1);
    EXPECT_EQ(g_suspends, 1);
    EXPECT_FALSE(g_hibernated);
    EXPECT_EQ(StateAfterAltZero(), L"お休みタイマーは実行されていません");

    Set(1, 2);
    Tick(1801);
    EXPECT_EQ(g_suspends, 2);
    EXPECT_TRUE(g_hibernated);
}

TEST_F(SleepTimer, ReportsTheTimeLeftAndKeepsItThroughARefusedReset) {
    Set(0, 1);
    Tick(805);
    EXPECT_EQ(StateAfterAltZero(), L"お休みタイマー実行中 1分35秒後にシステムをスリープに移行します");

    AnswerDialog(L"お休みタイマーの再セット確認", [](HWND box) { PostMessageW(box, WM_COMMAND, IDNO, 0); });
    Command(kCmdSleepTimerSet);
    AnswerDialog(L"お休みタイマーの再セット確認", [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
    AnswerDialog(L"お休みタイマー", [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    Command(kCmdSleepTimerSet);
    EXPECT_EQ(StateAfterAltZero(), L"お休みタイマー実行中 1分35秒後にシステムをスリープに移行します");

    AnswerDialog(L"お休みタイマーのキャンセル確認", [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
    Command(kCmdSleepTimerCancel);
    EXPECT_TRUE(WaitForSpeech(L"お休みタイマーをキャンセルしました", 2000));
    bool asked = false;
    AnswerDialog(L"お休みタイマーのキャンセル確認", [&asked](HWND box) {
        asked = true;
        PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    ClearSpeechLog();
    Command(kCmdSleepTimerCancel);
    PumpMessages(300);
    EXPECT_FALSE(asked);
    EXPECT_TRUE(SpokenTexts().empty());
}

TEST_F(SleepTimer, WarnsOnceAtThirtySecondsOnlyWhileReading) {
    Set(0, 0);
    ClearSpeechLog();
    Tick(871);
    PumpMessages(300);
    EXPECT_TRUE(SpokenTexts().empty());

    AnswerDialog(L"お休みタイマーの再セット確認", [](HWND box) { PostMessageW(box, WM_COMMAND, IDYES, 0); });
    Set(0, 3);
    std::wstring text;
    for (int line = 0; line < 300; ++line) text += L"眠くなるまで読む行\r\n";
    SetEditorText(text);
    Command(kCmdReadToEnd);
    ASSERT_TRUE(IsReading());
    Tick(871);
    EXPECT_FALSE(IsReading());
    const std::wstring warning = L"お休みタイマーにより、読み上げを停止しました\\n30秒後にシステムをシャットダウンします";
    EXPECT_TRUE(WaitForSpeech(warning, 2000));
    Tick(29);
    PumpMessages(300);
    const auto spoken = SpokenTexts();
    EXPECT_EQ(std::count(spoken.begin(), spoken.end(), warning), 1);
    EXPECT_EQ(g_shutdowns, 0);
}

TEST_F(SleepTimer, ExitLeavesTheTextInTempTxtAndClosesWithoutAQuestion) {
    bool asked = false;
    AnswerDialog(L"保存確認", [&asked](HWND box) {
        asked = true;
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    Set(0, 0);
    CurrentEditor().ReplaceSelection(L"眠る前の文章");
    Tick(901);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_FALSE(asked);
    EXPECT_EQ(ReadBytes(TemporaryCopyPath()), "眠る前の文章");
    const FileHistory history = LoadHistory();
    ASSERT_FALSE(history.empty());
    EXPECT_EQ(history[0].fileName, L"Temp.txt");
}

TEST_F(SleepTimer, ExitGoesToTheBackupWhenTempTxtIsLockedAndStaysWithoutEither) {
    WriteFileSafely(TemporaryCopyPath(), "old");
    const HANDLE lock = CreateFileW(TemporaryCopyPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Set(0, 0);
    CurrentEditor().ReplaceSelection(L"unsaved");
    InitSafetyCopyPaths(L"");
    Tick(901);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_TRUE(CurrentEditor().IsModified());
    EXPECT_TRUE(WaitForSpeech(L"テキストを保存できないため、オリンダを終了しませんでした", 2000));

    InitSafetyCopyPaths(DataFolder());
    Set(0, 0);
    Tick(901);
    CloseHandle(lock);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(ReadBytes(BackupPath()), "unsaved");
    DeleteFileW(BackupPath().c_str());
}

TEST_F(SleepTimer, ShutdownComesOnlyAfterTheOtherInstancesSavedTheirText) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((BackupFolder() + L"\\*.txt").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do DeleteFileW((BackupFolder() + L"\\" + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    Instance other = Start(Program());
    ASSERT_NE(other.window, nullptr);
    const HWND otherEditor = FindWindowExW(other.window, nullptr, L"RICHEDIT50W", nullptr);
    SendMessageW(otherEditor, WM_CHAR, L'x', 0);

    Set(0, 3);
    CurrentEditor().ReplaceSelection(L"mine");
    Tick(901);
    EXPECT_EQ(g_shutdowns, 1);
    EXPECT_TRUE(g_otherBackupOnDiskAtShutdown);
    EXPECT_EQ(ReadBytes(TemporaryCopyPath()), "mine");
    SendMessageW(otherEditor, EM_SETMODIFY, FALSE, 0);
    Close(other);
}

}  // namespace
