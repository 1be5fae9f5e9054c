#include "app/instance_commands.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "core/input_dialog.h"
#include "core/outside_world.h"
#include "core/paths.h"
#include "core/text_units.h"
#include "core/window_text.h"
#include "core/window_titles.h"
#include "resources/instances_ids.h"
#include "speech/speech.h"

namespace {

constexpr size_t kMaxListedWindows = 30;
constexpr size_t kMaxTitleUnits = 511;

struct WindowList {
    HWND ownWindow;
    std::vector<HWND> windows;
    HWND chosen = nullptr;
};

// The other instances, front-most first.
std::vector<HWND> ListedInstances(HWND ownWindow) {
    std::vector<HWND> windows = OtherInstanceWindows(ownWindow);
    if (windows.size() > kMaxListedWindows) windows.resize(kMaxListedWindows);
    return windows;
}

void FillWindowList(HWND dialog, const WindowList& data) {
    const HWND list = GetDlgItem(dialog, IDC_WINDOW_LIST);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const HWND window : data.windows) {
        const std::wstring title(CutToUnits(WindowText(window), kMaxTitleUnits));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, 0, 0);
}

// A window closed since the list was made may have left its handle to
// another window: only a window that is still an instance is chosen.
bool TakeChosenWindow(HWND dialog, WindowList& data) {
    const LRESULT index = SendDlgItemMessageW(dialog, IDC_WINDOW_LIST, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR || static_cast<size_t>(index) >= data.windows.size()) return false;
    const HWND chosen = data.windows[static_cast<size_t>(index)];
    const std::vector<HWND> current = ListedInstances(data.ownWindow);
    if (std::find(current.begin(), current.end(), chosen) != current.end()) {
        data.chosen = chosen;
        return true;
    }
    // The list then shows the instances as they are now; with none left the
    // dialog ends with nothing chosen.
    data.windows = current;
    if (current.empty()) return true;
    FillWindowList(dialog, data);
    return false;
}

void SpeakNoOtherInstance() {
    Speak(L"別のオリンダは起動されていません", kAtOnce);
}

}  // namespace

void SwitchInstanceCommand(HWND mainWindow, LPARAM) {
    WindowList data{mainWindow, ListedInstances(mainWindow)};
    if (data.windows.empty()) {
        SpeakNoOtherInstance();
        return;
    }
    DialogHandlers handlers;
    handlers.fill = [&data](HWND dialog) { FillWindowList(dialog, data); };
    handlers.accept = [&data](HWND dialog, int) { return TakeChosenWindow(dialog, data); };
    if (!RunDialog(mainWindow, L"WindowDialog", handlers)) return;
    if (!data.chosen) {
        SpeakNoOtherInstance();
        return;
    }
    if (IsIconic(data.chosen)) OpenIcon(data.chosen);
    else SetForegroundWindow(data.chosen);
}

void StartInstanceCommand(HWND, LPARAM) {
    // By its full path: a bare file name may find another program on the
    // search path, and a renamed program file would start nothing.
    const std::wstring program = ProgramFilePath();
    if (!program.empty()) Outside().shellOpen(program);
}

void CloseAllInstancesCommand(HWND, LPARAM) {
    // This instance receives it too, once this command has returned.
    PostMessageW(HWND_BROADCAST, InstanceMessage(), kCloseInstance, 0);
}
