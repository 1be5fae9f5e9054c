#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/commands.h"
#include "core/data_folder.h"
#include "core/editor_control.h"
#include "core/instance_requests.h"
#include "core/outside_world.h"
#include "core/paths.h"
#include "core/safe_write.h"
#include "document/backup.h"
#include "lists/file_history.h"
#include "speech/continuous_reading.h"
#include "support/instance_process.h"
#include "support/test_support.h"
#include "timer/sleep_timer.h"

using namespace testing_support;

namespace {

std::vector<std::wstring> g_power;
bool g_shutdownStarts = true;

class SleepTimer : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        g_power.clear();
        g_shutdownStarts = true;
        Outside().suspendSystem = [](bool hibernate) {
            g_power.push_back(hibernate ? L"hibernate" : L"sleep");
            return true;
        };
        // Whether the other instance's text was on disk when the shutdown came.
        Outside().shutDownSystem = [](bool force) {
            g_power.push_back(force ? L"forced shutdown" : L"shutdown");
            std::error_code noFolder;
            for (const auto& file : std::filesystem::directory_iterator(DataFolder() + L"\\BackUp", noFolder))
                if (FileBytes(file.path().wstring()) == "x") g_power.back() += L" after backup";
            return g_shutdownStarts;
        };
    }
    void TearDown() override {
        AnswerWith(L"お休みタイマーのキャンセル確認", IDYES);
        if (IsWindow(window_)) SendCommand(kCmdSleepTimerCancel);
        MainWindowTest::TearDown();
    }
    // Set through the dialog; the test then counts the seconds itself.
    void Set(int duration, int action) {
        AnswerDialog(L"お休みタイマー", [duration, action](HWND dialog) {
            SendDlgItemMessageW(dialog, 101, CB_SETCURSEL, duration, 0);
            SendDlgItemMessageW(dialog, 102, CB_SETCURSEL, action, 0);
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        SendCommand(kCmdSleepTimerSet);
        KillTimer(window_, kSleepTimerId);
    }
    void Tick(int seconds) {
        for (int second = 0; second < seconds && IsWindow(window_); ++second) SleepTimerTick(window_);
    }
    std::wstring State() {
        ClearSpeechLog();
        const double asked = fake::NowMs();
        SendCommand(kCmdSleepTimerState);
        PumpUntil([] { return !SpokenTexts().empty(); }, 2000);
        const std::wstring said = SpokenTexts().empty() ? L"" : SpokenTexts().back();
        EXPECT_GE(SpeechDelay(said, asked), 100);
        return said;
    }
};

TEST_F(SleepTimer, FiresOnTheTickThatFindsZeroWarnsOnlyWhileReadingAndARefusedResetKeepsTheCountdown) {
    Set(0, 1);
    EXPECT_TRUE(WaitForSpeech(L"お休みタイマーをセットしました", 2000));
    Tick(900);
    EXPECT_TRUE(g_power.empty());
    Tick(1);
    EXPECT_EQ(State(), L"お休みタイマーは実行されていません");
    Set(1, 2);
    Tick(1801);
    EXPECT_EQ(g_power, (std::vector<std::wstring>{L"sleep", L"hibernate"}));

    Set(0, 1);
    Tick(805);
    AnswerWith(L"お休みタイマーの再セット確認", IDNO);
    SendCommand(kCmdSleepTimerSet);
    AnswerWith(L"お休みタイマーの再セット確認", IDYES);
    AnswerWith(L"お休みタイマー", IDCANCEL);
    SendCommand(kCmdSleepTimerSet);
    EXPECT_EQ(State(), L"お休みタイマー実行中 1分35秒後にシステムをスリープに移行します");

    AnswerWith(L"お休みタイマーのキャンセル確認", IDYES);
    SendCommand(kCmdSleepTimerCancel);
    EXPECT_TRUE(WaitForSpeech(L"お休みタイマーをキャンセルしました", 2000));
    ClearSpeechLog();
    SendCommand(kCmdSleepTimerCancel);  // would wait for an answer if it asked
    EXPECT_TRUE(NothingHeard());

    Set(0, 0);
    ClearSpeechLog();
    Tick(871);
    EXPECT_TRUE(NothingHeard());

    AnswerWith(L"お休みタイマーの再セット確認", IDYES);
    Set(0, 3);
    // NVDA is still speaking the one line when the timer comes.
    SetEnvironmentVariableW(L"ORINDA_FAKE_NVDA_MS_PER_UNIT", L"1000000");
    SetEditorText(L"読み上げ中の文書");
    SendCommand(kCmdReadToEnd);
    ASSERT_TRUE(IsReading());
    Tick(870);
    EXPECT_TRUE(IsReading()) << "stopped before thirty seconds were left";
    Tick(1);
    EXPECT_FALSE(IsReading());
    const std::wstring warning = L"お休みタイマーにより、読み上げを停止しました\\n30秒後にシステムをシャットダウンします";
    EXPECT_TRUE(WaitForSpeech(warning, 2000));
    Tick(29);
    Settle();
    const auto spoken = SpokenTexts();
    EXPECT_EQ(std::count(spoken.begin(), spoken.end(), warning), 1);
}

TEST_F(SleepTimer, ExitLeavesTheTextInTempTxtAndClosesWithoutAQuestion) {
    AnswerWith(L"保存確認", IDCANCEL);  // keeps the window, should the question come
    Set(0, 0);
    CurrentEditor().ReplaceSelection(L"眠る前の文章");
    Tick(901);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(FileBytes(TemporaryCopyPath()), "眠る前の文章");
    EXPECT_EQ(LoadHistory().at(0).fileName, L"Temp.txt");
}

TEST_F(SleepTimer, ExitFallsBackToTheBackupAndStaysWithoutEither) {
    WriteFileSafely(TemporaryCopyPath(), "old");
    const HANDLE lock = CreateFileW(TemporaryCopyPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Set(0, 0);
    CurrentEditor().ReplaceSelection(L"unsaved");
    InitSafetyCopyPaths(L"");
    Tick(901);
    EXPECT_TRUE(WaitForSpeech(L"テキストを保存できないため、オリンダを終了しませんでした", 2000));

    InitSafetyCopyPaths(DataFolder());
    Set(0, 0);
    Tick(901);
    CloseHandle(lock);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(FileBytes(BackupPath()), "unsaved");
}

TEST_F(SleepTimer, AnExitWaitingBehindACloseNeverRunsAfterTheWindowWentOrTheUserKeptIt) {
    Set(0, 0);
    CurrentEditor().ReplaceSelection(L"unsaved");
    bool asked = false;
    const auto closeThenExitUnderADialog = [this, &asked](int answer) {
        AnswerWith(L"保存確認", answer, &asked);
        AnswerDialog(L"行移動", [this](HWND box) {
            SendMessageW(window_, InstanceMessage(), kCloseInstance, 0);
            Tick(901);
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        });
        SendCommand(kCmdJumpToLine);
    };
    closeThenExitUnderADialog(IDCANCEL);
    // Both wait for the same message: once asked, the exit had its turn.
    ASSERT_TRUE(PumpUntil([&asked] { return asked; }, 3000));
    EXPECT_TRUE(CurrentEditor().IsModified());

    Set(0, 0);
    closeThenExitUnderADialog(IDNO);
    EXPECT_TRUE(PumpUntil([this] { return !IsWindow(window_); }, 3000));
    EXPECT_FALSE(FileExists(TemporaryCopyPath()));
}

TEST_F(SleepTimer, ShutdownWaitsForTheOtherInstancesAndForcesOnlyWhenAllSavedTheirText) {
    Instance other = Start(Program());
    ASSERT_NE(other.window, nullptr);
    const HWND otherEditor = FindWindowExW(other.window, nullptr, L"RICHEDIT50W", nullptr);
    TypeUnsavedText(other);
    ASSERT_TRUE(PumpUntil([otherEditor] { return SendMessageW(otherEditor, EM_GETMODIFY, 0, 0) != 0; }, 2000));
    Set(0, 3);
    CurrentEditor().ReplaceSelection(L"mine");
    Tick(901);
    EXPECT_EQ(g_power, std::vector<std::wstring>{L"forced shutdown after backup"});
    EXPECT_EQ(FileBytes(TemporaryCopyPath()), "mine");

    // Its backup can no longer be written: Windows must ask it, not kill it.
    std::filesystem::remove_all(DataFolder() + L"\\BackUp");
    g_power.clear();
    g_shutdownStarts = false;
    Set(0, 3);
    CurrentEditor().ReplaceSelection(L"again");
    ClearSpeechLog();
    Tick(901);
    EXPECT_EQ(g_power, std::vector<std::wstring>{L"shutdown"});
    EXPECT_TRUE(WaitForSpeech(L"シャットダウンできませんでした", 2000));
    EXPECT_TRUE(CurrentEditor().IsModified());
    SendMessageW(otherEditor, EM_SETMODIFY, FALSE, 0);
    Close(other);
}

}  // namespace
