#include "speech/speech_settings_dialog.h"

#include <iterator>
#include <vector>

#include "core/choice_dialog.h"
#include "core/settings.h"
#include "resources/resource_ids.h"
#include "speech/screen_readers.h"
#include "speech/speech.h"

namespace {

// Listed in the order of their engine numbers.
const wchar_t* const kEngineNames[] = {L"音声なし", L"PCTalker", L"NVDA"};

}  // namespace

void ShowSpeechSettings(HWND mainWindow, LPARAM) {
    int engine = SpeechEngine();
    if (!ChooseFromDropDown(mainWindow, L"ORSpeechDialog", IDC_ENGINE_COMBO,
                            std::vector<const wchar_t*>(std::begin(kEngineNames), std::end(kEngineNames)), engine))
        return;
    // Takes effect with the next message, and is kept for the next start.
    SetSpeechEngine(engine);
    SaveSettings(kSpeechDialogValues);
    RetryChosenLibrary();
    ExplainMissingLibrary(mainWindow, false);
}
