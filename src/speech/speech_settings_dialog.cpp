#include "speech/speech_settings_dialog.h"

#include <iterator>

#include "app/settings.h"
#include "resources/resource_ids.h"
#include "speech/speech.h"

namespace {

// Listed in the order of their engine numbers.
const wchar_t* const kEngineNames[] = {L"音声なし", L"PCTalker", L"NVDA"};

struct SpeechDialogData {
    int engine;
};

INT_PTR CALLBACK SpeechDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        const auto* data = reinterpret_cast<SpeechDialogData*>(lParam);
        const HWND combo = GetDlgItem(dialog, IDC_ENGINE_COMBO);
        for (const wchar_t* name : kEngineNames)
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        // A stored value outside the list selects nothing.
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(data->engine), 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* data = reinterpret_cast<SpeechDialogData*>(GetWindowLongPtrW(dialog, DWLP_USER));
            data->engine = static_cast<int>(SendDlgItemMessageW(dialog, IDC_ENGINE_COMBO, CB_GETCURSEL, 0, 0));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

void ShowSpeechSettings(HWND mainWindow, LPARAM) {
    SpeechDialogData data{SpeechEngine()};
    if (DialogBoxParamW(GetModuleHandleW(nullptr), L"ORSpeechDialog", mainWindow, SpeechDialogProc,
                        reinterpret_cast<LPARAM>(&data)) != IDOK)
        return;
    // Takes effect with the next message, and is kept for the next start.
    SetSpeechEngine(data.engine);
    SaveSettings(kSpeechDialogValues);
}
