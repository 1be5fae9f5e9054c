#include "speech/speech_settings_dialog.h"

#include <iterator>

#include "app/input_dialog.h"
#include "app/settings.h"
#include "resources/resource_ids.h"
#include "speech/speech.h"

namespace {

// Listed in the order of their engine numbers.
const wchar_t* const kEngineNames[] = {L"音声なし", L"PCTalker", L"NVDA"};

struct SpeechDialogData {
    int engine;
};

void FillEngineList(HWND dialog, SpeechDialogData& data) {
    const HWND combo = GetDlgItem(dialog, IDC_ENGINE_COMBO);
    for (const wchar_t* name : kEngineNames) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    // A stored value outside the list selects nothing.
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(data.engine), 0);
}

void ReadEngineChoice(HWND dialog, SpeechDialogData& data) {
    data.engine = static_cast<int>(SendDlgItemMessageW(dialog, IDC_ENGINE_COMBO, CB_GETCURSEL, 0, 0));
}

}  // namespace

void ShowSpeechSettings(HWND mainWindow, LPARAM) {
    SpeechDialogData data{SpeechEngine()};
    if (!RunInputDialog(mainWindow, L"ORSpeechDialog", data, FillEngineList, ReadEngineChoice)) return;
    // Takes effect with the next message, and is kept for the next start.
    SetSpeechEngine(data.engine);
    SaveSettings(kSpeechDialogValues);
}
