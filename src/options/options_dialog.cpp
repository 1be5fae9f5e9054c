#include "options/options_dialog.h"

#include <imm.h>

#include <string>

#include "core/editor_control.h"
#include "core/input_dialog.h"
#include "core/outside_world.h"
#include "core/paths.h"
#include "core/settings.h"
#include "options/send_to_shortcut.h"
#include "resources/options_ids.h"
#include "speech/speech.h"

namespace {

struct Switch {
    int controlId;
    int Settings::*field;
};

const Switch kSwitches[] = {
    {IDC_OPTION_UPDATE_CHECK, &Settings::checkUpdatesAtStart},
    {IDC_OPTION_HISTORY_CARET, &Settings::restoreCaretFromHistory},
    {IDC_OPTION_WORD_WRAP, &Settings::wordWrap},
    {IDC_OPTION_IME_AT_START, &Settings::inputMethodInEditor},
    {IDC_OPTION_IME_IN_SEARCH, &Settings::inputMethodInSearchDialogs},
    {IDC_OPTION_KEYPAD_PLAYER, &Settings::autoEnableKeypadPlayer},
    {IDC_OPTION_AUTO_PLAY, &Settings::autoPlayOpenedAudio},
};

struct OptionsDialogData {
    HWND mainWindow;
    // A folder chosen with 参照, taken only by OK; it dies with the dialog.
    std::wstring pendingFolder;
    std::wstring shortcutPath;
};

const wchar_t kCreateShortcutLabel[] = L"送るメニューにショートカットを作成";
const wchar_t kDeleteShortcutLabel[] = L"送るメニューからショートカットを削除";

void ShowShortcutState(HWND dialog, const std::wstring& shortcutPath) {
    SetDlgItemTextW(dialog, IDC_OPTION_SEND_TO,
                    FileExists(shortcutPath) ? kDeleteShortcutLabel : kCreateShortcutLabel);
}

void FillOptions(HWND dialog, OptionsDialogData& data) {
    const Settings& settings = CurrentSettings();
    for (const Switch& entry : kSwitches)
        CheckDlgButton(dialog, entry.controlId, settings.*entry.field == 1 ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(dialog, IDC_OPTION_FOLDER, settings.newDocumentFolder.c_str());
    data.shortcutPath = SendToShortcutPath();
    ShowShortcutState(dialog, data.shortcutPath);
    EnableWindow(GetDlgItem(dialog, IDC_OPTION_SEND_TO), !data.shortcutPath.empty());
}

void ChooseFolder(HWND dialog, OptionsDialogData& data) {
    const std::wstring& current =
        data.pendingFolder.empty() ? CurrentSettings().newDocumentFolder : data.pendingFolder;
    std::wstring chosen;
    if (!Outside().browseForFolder(dialog, L"フォルダ選択", current, chosen)) return;
    data.pendingFolder = chosen;
    SetDlgItemTextW(dialog, IDC_OPTION_FOLDER, chosen.c_str());
}

void OpenInputMethodProperties(const OptionsDialogData& data) {
    if (!ImmConfigureIMEW(GetKeyboardLayout(0), data.mainWindow, IME_CONFIG_GENERAL, nullptr))
        Speak(L"IMEのプロパティを開けませんでした", kAnswerDelayMs);
}

void Inform(HWND dialog, bool done, const wchar_t* doneText, const wchar_t* failedText) {
    MessageBoxW(dialog, done ? doneText : failedText, done ? L"完了" : L"エラー", MB_OK | MB_ICONINFORMATION);
}

void ToggleShortcut(HWND dialog, const OptionsDialogData& data) {
    const std::wstring& path = data.shortcutPath;
    if (FileExists(path)) {
        if (MessageBoxW(dialog, L"送るメニューからショートカットを削除します。\nよろしいですか？", L"削除確認",
                        MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        const bool deleted = DeleteFileW(path.c_str()) != 0;
        ShowShortcutState(dialog, path);
        Inform(dialog, deleted, L"送るメニューからショートカットを削除しました。",
               L"送るメニューからショートカットを削除できませんでした。");
        return;
    }
    if (MessageBoxW(dialog, L"送るメニューにショートカットを作成します。\nよろしいですか？", L"作成確認",
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    const bool created = CreateProgramShortcut(path);
    ShowShortcutState(dialog, path);
    Inform(dialog, created, L"送るメニューにショートカットを作成しました。",
           L"送るメニューにショートカットを作成できませんでした。");
}

void StoreOptions(HWND dialog, const OptionsDialogData& data) {
    Settings& settings = CurrentSettings();
    for (const Switch& entry : kSwitches)
        settings.*entry.field = IsDlgButtonChecked(dialog, entry.controlId) == BST_CHECKED ? 1 : 0;
    if (!data.pendingFolder.empty()) settings.newDocumentFolder = data.pendingFolder;
    SaveSettings(kOptionsDialogValues);
}

bool OnOptionsButton(HWND dialog, OptionsDialogData& data, int id) {
    switch (id) {
    case IDC_OPTION_IME_PROPERTIES:
        OpenInputMethodProperties(data);
        return true;
    case IDC_OPTION_BROWSE:
        ChooseFolder(dialog, data);
        return true;
    case IDC_OPTION_SEND_TO:
        ToggleShortcut(dialog, data);
        return true;
    }
    for (const Switch& entry : kSwitches) {
        if (entry.controlId != id) continue;
        CheckDlgButton(dialog, id, IsDlgButtonChecked(dialog, id) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        return true;
    }
    return false;
}

}  // namespace

void ShowOptionsDialog(HWND mainWindow, LPARAM) {
    OptionsDialogData data{mainWindow, {}, {}};
    DialogHandlers handlers;
    handlers.fill = [&data](HWND dialog) { FillOptions(dialog, data); };
    handlers.accept = [&data](HWND dialog, int) {
        StoreOptions(dialog, data);
        return true;
    };
    handlers.command = [&data](HWND dialog, int id) { return OnOptionsButton(dialog, data, id); };
    RunDialog(mainWindow, L"OROptionDialog", handlers);
    CurrentEditor().SetWordWrap(CurrentSettings().wordWrap == 1);
}
