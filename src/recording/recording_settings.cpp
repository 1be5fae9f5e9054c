#include "recording/recording_settings.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "core/input_dialog.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/window_text.h"
#include "resources/recording_ids.h"
#include "speech/sapi_voice.h"
#include "speech/speech.h"

namespace {

std::wstring g_encoderPath;
// Chosen when first needed: listing the voices is no work for the start.
std::optional<std::wstring> g_recordingVoice;

constexpr int kPercentSteps = 21;
const wchar_t* const kBitRateNames[] = {L"64Kbps", L"128Kbps", L"160Kbps"};
const int kBitRates[] = {64, 128, 160};
const int kPercentCombos[] = {IDC_REC_VOLUME, IDC_REC_RATE, IDC_REC_PITCH};

// Each list shows 0% to 100%; the entry's place is the stored index.
VoiceParameters ParametersOfIndexes(int volume, int rate, int pitch) {
    return VoiceParameters{volume * 5, rate - 10, pitch - 10};
}

struct RecordingDialogData {
    std::wstring folder;
    std::wstring pendingFolder;  // picked with the browse button, kept only by OK
    std::wstring voiceName;
    int voiceIndex;
    int volume;
    int rate;
    int pitch;
    int bitRate;
    bool openFolder;
};

int Selected(HWND dialog, int comboId) {
    return static_cast<int>(SendDlgItemMessageW(dialog, comboId, CB_GETCURSEL, 0, 0));
}

void Select(HWND dialog, int comboId, int index) {
    // An index outside the list selects nothing.
    SendDlgItemMessageW(dialog, comboId, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// A drop-down list's text is its selected entry, whole however long; empty
// without one.
std::wstring SelectedText(HWND dialog, int comboId) {
    return WindowText(GetDlgItem(dialog, comboId));
}

void FillRecordingDialog(HWND dialog, RecordingDialogData& data) {
    FillVoiceList(GetDlgItem(dialog, IDC_REC_VOICE));
    for (const int comboId : kPercentCombos)
        for (int step = 0; step < kPercentSteps; ++step)
            SendDlgItemMessageW(dialog, comboId, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>((std::to_wstring(step * 5) + L"%").c_str()));
    for (const wchar_t* name : kBitRateNames)
        SendDlgItemMessageW(dialog, IDC_REC_BIT_RATE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    Select(dialog, IDC_REC_VOICE, data.voiceIndex);
    Select(dialog, IDC_REC_VOLUME, data.volume);
    Select(dialog, IDC_REC_RATE, data.rate);
    Select(dialog, IDC_REC_PITCH, data.pitch);
    Select(dialog, IDC_REC_BIT_RATE, data.bitRate);
    SetDlgItemTextW(dialog, IDC_REC_FOLDER, data.folder.c_str());
    EnableWindow(GetDlgItem(dialog, IDC_REC_BIT_RATE), IsEncoderPresent());
    CheckDlgButton(dialog, IDC_REC_OPEN_FOLDER, data.openFolder ? BST_CHECKED : BST_UNCHECKED);
}

void ReadRecordingDialog(HWND dialog, RecordingDialogData& data) {
    data.voiceName = SelectedText(dialog, IDC_REC_VOICE);
    // Without any voice the first place is kept, not "none": a voice
    // installed later is then the one used.
    data.voiceIndex = std::max(0, Selected(dialog, IDC_REC_VOICE));
    data.volume = Selected(dialog, IDC_REC_VOLUME);
    data.rate = Selected(dialog, IDC_REC_RATE);
    data.pitch = Selected(dialog, IDC_REC_PITCH);
    // Without the encoder the bit rate cannot be changed and is kept as stored.
    if (IsWindowEnabled(GetDlgItem(dialog, IDC_REC_BIT_RATE))) data.bitRate = Selected(dialog, IDC_REC_BIT_RATE);
    data.openFolder = IsDlgButtonChecked(dialog, IDC_REC_OPEN_FOLDER) == BST_CHECKED;
}

bool RecordingDialogCommand(HWND dialog, int id, RecordingDialogData& data) {
    switch (id) {
    case IDC_REC_BROWSE: {
        const std::wstring& shown = data.pendingFolder.empty() ? data.folder : data.pendingFolder;
        std::wstring chosen;
        if (Outside().browseForFolder(dialog, L"フォルダ選択", shown, chosen)) {
            data.pendingFolder = chosen;
            SetDlgItemTextW(dialog, IDC_REC_FOLDER, chosen.c_str());
        }
        return true;
    }
    case IDC_REC_OPEN_FOLDER:
        CheckDlgButton(dialog, IDC_REC_OPEN_FOLDER,
                       IsDlgButtonChecked(dialog, IDC_REC_OPEN_FOLDER) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        return true;
    case IDC_REC_TEST:
        if (SendDlgItemMessageW(dialog, IDC_REC_VOICE, CB_GETCOUNT, 0, 0) <= 0) {
            Speak(L"音声がインストールされていません", kAnswerDelayMs);
            return true;
        }
        Outside().speakTest(L"これはテスト音声です", SelectedText(dialog, IDC_REC_VOICE),
                            ParametersOfIndexes(Selected(dialog, IDC_REC_VOLUME), Selected(dialog, IDC_REC_RATE),
                                                Selected(dialog, IDC_REC_PITCH)));
        return true;
    }
    return false;
}

}  // namespace

void SetEncoderPath(const std::wstring& path) {
    g_encoderPath = path;
}

const std::wstring& EncoderPath() {
    return g_encoderPath;
}

bool IsEncoderPresent() {
    if (g_encoderPath.empty() || !FitsPathBuffer(g_encoderPath)) return false;
    const HANDLE file = CreateFileW(g_encoderPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

void ChooseRecordingVoiceWhenNeeded() {
    g_recordingVoice.reset();
}

const std::wstring& RecordingVoice() {
    if (!g_recordingVoice) {
        const std::vector<std::wstring> names = Outside().voiceNames();
        const int index = CurrentSettings().recordingVoice;
        g_recordingVoice =
            index >= 0 && index < static_cast<int>(names.size()) ? names[static_cast<size_t>(index)] : L"";
    }
    return *g_recordingVoice;
}

VoiceParameters RecordingVoiceParameters() {
    const Settings& settings = CurrentSettings();
    return ParametersOfIndexes(settings.recordingVolume, settings.recordingSpeed, settings.recordingPitch);
}

int RecordingBitRate() {
    const int index = CurrentSettings().recordingBitRate;
    return index >= 0 && index < static_cast<int>(std::size(kBitRates)) ? kBitRates[index] : kBitRates[0];
}

void ShowRecordingSettings(HWND mainWindow, LPARAM) {
    Settings& settings = CurrentSettings();
    RecordingDialogData data{settings.recordingFolder, {}, RecordingVoice(), settings.recordingVoice,
                             settings.recordingVolume, settings.recordingSpeed, settings.recordingPitch,
                             settings.recordingBitRate, settings.openFolderAfterRecording == 1};
    DialogHandlers handlers;
    handlers.fill = [&data](HWND dialog) { FillRecordingDialog(dialog, data); };
    handlers.accept = [&data](HWND dialog, int) {
        ReadRecordingDialog(dialog, data);
        return true;
    };
    handlers.command = [&data](HWND dialog, int id) { return RecordingDialogCommand(dialog, id, data); };
    if (!RunDialog(mainWindow, L"RecTextDialog", handlers)) return;
    g_recordingVoice = data.voiceName;
    settings.recordingVoice = data.voiceIndex;
    settings.recordingVolume = data.volume;
    settings.recordingSpeed = data.rate;
    settings.recordingPitch = data.pitch;
    settings.recordingBitRate = data.bitRate;
    if (!data.pendingFolder.empty()) settings.recordingFolder = data.pendingFolder;
    settings.openFolderAfterRecording = data.openFolder ? 1 : 0;
    SaveSettings(kRecordingDialogValues);
}
