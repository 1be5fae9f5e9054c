#include "app/instance_requests.h"

#include <algorithm>
#include <vector>

#include "app/main_window.h"
#include "core/app_window.h"
#include "core/window_titles.h"

namespace {

constexpr UINT kRunWaitingActions = WM_APP + 20;
// A save of a large text can take a while; a hung instance must not stop
// the shutdown for ever.
constexpr UINT kBackupAnswerWaitMs = 15000;

std::vector<void (*)()> g_waitingActions;

// A modal dialog or message box disables the main window while it is open.
bool DialogIsOpen() {
    return !IsWindowEnabled(MainWindow());
}

void CloseMainWindow() {
    SendMessageW(MainWindow(), WM_CLOSE, 0, 0);
}

}  // namespace

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

void AskOtherInstancesForBackups() {
    for (const HWND window : OtherInstanceWindows(MainWindow())) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, InstanceMessage(), 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kBackupAnswerWaitMs,
                            &result);
    }
}

bool HandleInstanceRequestMessage(HWND window, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_ENABLE:
        // The dialog is still ending and its command still running: the
        // actions run from the message loop.
        if (wParam && !g_waitingActions.empty()) PostMessageW(window, kRunWaitingActions, 0, 0);
        return false;
    case kRunWaitingActions: {
        // Another dialog may have opened meanwhile; its end brings us back.
        if (DialogIsOpen()) return true;
        const auto actions = std::move(g_waitingActions);
        g_waitingActions.clear();
        for (const auto action : actions) action();
        return true;
    }
    case WM_DESTROY:
        g_waitingActions.clear();
        return false;
    default:
        return false;
    }
}
