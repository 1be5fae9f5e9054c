#include "timer/sleep_timer.h"

#include <iterator>
#include <string>

#include "core/editor_control.h"
#include "core/input_dialog.h"
#include "core/instance_requests.h"
#include "core/outside_world.h"
#include "document/backup.h"
#include "resources/timer_ids.h"
#include "speech/continuous_reading.h"
#include "speech/speech.h"

namespace {

constexpr int kIdle = -1;
constexpr int kWarningSeconds = 30;
constexpr UINT kTickMs = 1000;

enum SleepAction : int { kExit = 0, kSleep = 1, kHibernate = 2, kShutdown = 3 };

struct Duration {
    const wchar_t* name;
    int seconds;
};

const Duration kDurations[] = {{L"15分", 900},   {L"30分", 1800},  {L"45分", 2700},
                               {L"60分", 3600},  {L"75分", 4500},  {L"90分", 5400},
                               {L"120分", 7200}, {L"150分", 9000}, {L"180分", 10800}};

// Indexed by SleepAction.
const wchar_t* const kActionNames[] = {L"オリンダを終了", L"スリープ", L"休止状態", L"シャットダウン"};
const wchar_t* const kStateEndings[] = {L"オリンダを終了します", L"システムをスリープに移行します",
                                        L"システムを休止状態に移行します", L"システムをシャットダウンします"};
const wchar_t* const kWarnings[] = {
    L"お休みタイマーにより読み上げを停止しました\n30秒後にオリンダを終了します",
    L"お休みタイマーにより読み上げを停止しました\n30秒後にシステムがスリープ状態に移行します",
    L"お休みタイマーにより、読み上げを停止しました\n30秒後にシステムが休止状態に移行します",
    L"お休みタイマーにより、読み上げを停止しました\n30秒後にシステムをシャットダウンします",
};

int g_countdown = kIdle;
int g_action = kExit;
// An exit or shutdown that came due while a dialog was open, until it runs;
// setting or cancelling the timer meanwhile drops it.
int g_dueAction = kIdle;

struct SleepChoice {
    int duration = 0;
    int action = 0;
};

void FillSleepDialog(HWND dialog, SleepChoice&) {
    const HWND durations = GetDlgItem(dialog, IDC_SLEEP_DURATION);
    for (const Duration& duration : kDurations)
        SendMessageW(durations, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(duration.name));
    SendMessageW(durations, CB_SETCURSEL, 0, 0);
    const HWND actions = GetDlgItem(dialog, IDC_SLEEP_ACTION);
    for (const wchar_t* name : kActionNames) SendMessageW(actions, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(actions, CB_SETCURSEL, 0, 0);
}

void ReadSleepDialog(HWND dialog, SleepChoice& choice) {
    choice.duration = static_cast<int>(SendDlgItemMessageW(dialog, IDC_SLEEP_DURATION, CB_GETCURSEL, 0, 0));
    choice.action = static_cast<int>(SendDlgItemMessageW(dialog, IDC_SLEEP_ACTION, CB_GETCURSEL, 0, 0));
}

// Returns whether a new countdown runs.
bool SetTimerThroughDialog(HWND mainWindow) {
    SleepChoice choice;
    if (!RunInputDialog(mainWindow, L"SleepDialog", choice, FillSleepDialog, ReadSleepDialog)) return false;
    if (choice.duration < 0 || choice.duration >= static_cast<int>(std::size(kDurations)) || choice.action < 0 ||
        choice.action >= static_cast<int>(std::size(kActionNames)))
        return false;
    g_dueAction = kIdle;
    if (!SetTimer(mainWindow, kSleepTimerId, kTickMs, nullptr)) {
        g_countdown = kIdle;
        Speak(L"お休みタイマーをセットできませんでした", kAnswerDelayMs);
        return false;
    }
    g_countdown = kDurations[choice.duration].seconds;
    g_action = choice.action;
    return true;
}

// The program leaves on its own only with the text on disk: in the
// temporary copy, or else in this instance's backup.
bool KeepTextOnDisk() {
    if (SaveTemporaryCopy()) return true;
    if (!SaveBackupIfModified()) return false;
    CurrentEditor().SetModified(false);
    return true;
}

void RunDueAction() {
    const int action = g_dueAction;
    if (action == kIdle) return;
    g_dueAction = kIdle;
    // The others save first, so that a forced shutdown finds their text on
    // disk; one that did not confirm is asked by Windows, never killed.
    const bool othersSaved = action == kShutdown && AskOtherInstancesForBackups();
    const bool modified = CurrentEditor().IsModified();
    if (!KeepTextOnDisk()) {
        Speak(action == kExit ? L"テキストを保存できないため、オリンダを終了しませんでした"
                              : L"テキストを保存できないため、シャットダウンしませんでした",
              kAnswerDelayMs);
        return;
    }
    if (action == kExit) {
        RequestClose();
        return;
    }
    if (Outside().shutDownSystem(othersSaved)) return;
    // The program goes on: its text stays guarded by the save question.
    CurrentEditor().SetModified(modified);
    Speak(L"シャットダウンできませんでした", kAnswerDelayMs);
}

void CarryOut(int action) {
    if (action == kSleep || action == kHibernate) {
        Outside().suspendSystem(action == kHibernate);
        return;
    }
    // Never under an open dialog: its command still works on the window.
    g_dueAction = action;
    WhenNoDialogIsOpen(RunDueAction);
}

}  // namespace

void SleepTimerTick(HWND mainWindow) {
    if (g_countdown == kIdle) {
        KillTimer(mainWindow, kSleepTimerId);
        return;
    }
    if (g_countdown == 0) {
        KillTimer(mainWindow, kSleepTimerId);
        g_countdown = kIdle;
        CarryOut(g_action);
        return;
    }
    if (g_countdown == kWarningSeconds && IsReading()) {
        StopReading();
        Speak(kWarnings[g_action], kAnswerDelayMs);
    }
    --g_countdown;
}

void SetSleepTimerCommand(HWND mainWindow, LPARAM) {
    SetForegroundWindow(mainWindow);
    if (g_countdown == kIdle) {
        if (SetTimerThroughDialog(mainWindow)) Speak(L"お休みタイマーをセットしました", kAnswerDelayMs);
        return;
    }
    if (MessageBoxW(mainWindow, L"既にお休みタイマーがセットされています\nお休みタイマーをセットし直しますか？",
                    L"お休みタイマーの再セット確認", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (SetTimerThroughDialog(mainWindow)) Speak(L"お休みタイマーをセットし直しました", kAnswerDelayMs);
}

void CancelSleepTimerCommand(HWND mainWindow, LPARAM) {
    if (g_countdown == kIdle) return;
    if (MessageBoxW(mainWindow, L"お休みタイマーをキャンセルしてもよろしいですか？", L"お休みタイマーのキャンセル確認",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    g_countdown = kIdle;
    g_dueAction = kIdle;
    KillTimer(mainWindow, kSleepTimerId);
    Speak(L"お休みタイマーをキャンセルしました", kAnswerDelayMs);
}

void ReadSleepTimerState(HWND, LPARAM) {
    if (g_countdown == kIdle) {
        Speak(L"お休みタイマーは実行されていません", kAnswerDelayMs);
        return;
    }
    Speak(L"お休みタイマー実行中 " + std::to_wstring(g_countdown / 60) + L"分" + std::to_wstring(g_countdown % 60) +
              L"秒後に" + kStateEndings[g_action],
          kAnswerDelayMs);
}
