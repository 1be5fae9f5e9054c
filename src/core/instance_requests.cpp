#include "core/instance_requests.h"

#include <algorithm>
#include <vector>

#include "core/app_window.h"
#include "core/window_titles.h"

namespace {

constexpr UINT kRunWaitingActions = WM_APP + 20;
// An instance busy with a long replace-all answers late, but it answers; a
// hung one must not stop the shutdown for ever. At night a minute in all is
// no burden.
constexpr ULONGLONG kBackupAnswersWaitMs = 60000;
// How an instance answers the backup request when its text is on disk.
constexpr LRESULT kBackupConfirmed = 1;

std::vector<void (*)()> g_waitingActions;

// A modal dialog or message box disables the main window while it is open.
bool DialogIsOpen() {
    return !IsWindowEnabled(MainWindow());
}

void CloseMainWindow() {
    SendMessageW(MainWindow(), WM_CLOSE, 0, 0);
    // Still here: the user kept the window at the save question, and nothing
    // that waited behind this close may close it after all.
    if (MainWindow()) g_waitingActions.clear();
}

}  // namespace

UINT InstanceMessage() {
    static const UINT message = RegisterWindowMessageW(L"OrindaSleep");
    return message;
}

void WhenNoDialogIsOpen(void (*action)()) {
    if (!MainWindow()) return;
    if (!DialogIsOpen()) {
        action();
        return;
    }
    if (std::find(g_waitingActions.begin(), g_waitingActions.end(), action) == g_waitingActions.end())
        g_waitingActions.push_back(action);
}

void RequestClose() {
    WhenNoDialogIsOpen(CloseMainWindow);
}

bool AskOtherInstancesForBackups() {
    const ULONGLONG deadline = GetTickCount64() + kBackupAnswersWaitMs;
    bool allConfirmed = true;
    for (const HWND window : OtherInstanceWindows(MainWindow())) {
        const ULONGLONG now = GetTickCount64();
        DWORD_PTR answer = 0;
        // Not SMTO_ABORTIFHUNG: it gives up at once on an instance that has
        // been busy for a few seconds.
        const bool answered = now < deadline && SendMessageTimeoutW(window, InstanceMessage(), kSaveBackup, 0,
                                                                    SMTO_NORMAL, static_cast<UINT>(deadline - now),
                                                                    &answer);
        if (!answered || answer != kBackupConfirmed) allConfirmed = false;
    }
    return allConfirmed;
}

LRESULT BackupAnswer(bool saved) {
    return saved ? kBackupConfirmed : 0;
}

bool HandleInstanceRequestMessage(HWND window, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_ENABLE:
        // The dialog is still ending and its command still running: the
        // actions run from the message loop.
        if (wParam && !g_waitingActions.empty()) PostMessageW(window, kRunWaitingActions, 0, 0);
        return false;
    case kRunWaitingActions:
        // Taken one at a time from the list itself, so that a close that
        // destroys the window (WM_DESTROY empties the list) or that the user
        // refused ends them. Another dialog may open meanwhile; its end
        // brings us back.
        while (!g_waitingActions.empty() && !DialogIsOpen()) {
            const auto action = g_waitingActions.front();
            g_waitingActions.erase(g_waitingActions.begin());
            action();
        }
        return true;
    case WM_DESTROY:
        g_waitingActions.clear();
        return false;
    default:
        return false;
    }
}
