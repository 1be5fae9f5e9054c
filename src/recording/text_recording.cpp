#include "recording/text_recording.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "core/data_folder.h"
#include "core/editor_control.h"
#include "core/outside_world.h"
#include "core/paths.h"
#include "core/settings.h"
#include "core/within_memory.h"
#include "recording/recording_settings.h"
#include "speech/speech.h"

namespace {

constexpr UINT kRecordingEndMessage = WM_APP + 1;
constexpr UINT_PTR kCancelTimerId = 1;
// After a cancel the worker answers within a poll; a voice engine that hangs
// must not keep the dialog (and the program) waiting beyond this.
constexpr UINT kCancelWaitMs = 3000;
constexpr DWORD kEncoderPollMs = 50;
constexpr DWORD kEncoderEndWaitMs = 5000;

void SpeakNoMemory() {
    Speak(L"メモリ確保に失敗しました", kAfterDialogDelayMs);
}

enum class Outcome { kRecorded, kFailed, kCancelled, kNoMemory };

// One recording, shared by the UI thread and its worker.
struct Recording {
    // Given by the UI thread before the worker starts.
    std::wstring text;
    std::wstring temporaryWave;
    std::wstring voice;
    VoiceParameters parameters;
    std::wstring folder;
    std::wstring encoder;  // empty: no MP3 conversion
    int bitRate = 64;

    // Once set, the output file is never made; a file already complete stays.
    std::atomic<bool> cancel{false};
    // Guards what follows. Never held across a step that may take long (a
    // move between drives, the encoder's start): the UI thread takes it to
    // cancel, and would freeze.
    std::mutex lock;
    bool finished = false;
    Outcome outcome = Outcome::kFailed;
    HWND dialog = nullptr;
};

Outcome Discard(const Recording& recording) {
    DeleteFileW(recording.temporaryWave.c_str());
    return Outcome::kCancelled;
}

// A copy to another drive stops at a cancel, and the system removes its part.
DWORD CALLBACK StopMoveOnCancel(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD, HANDLE,
                                HANDLE, LPVOID data) {
    return static_cast<const Recording*>(data)->cancel ? PROGRESS_CANCEL : PROGRESS_CONTINUE;
}

Outcome MoveToFolder(Recording& recording, const std::wstring& name) {
    if (recording.cancel) return Discard(recording);
    const std::wstring target = UniqueRecordingPath(recording.folder, name, L".wav");
    if (target.empty()) return Outcome::kFailed;
    // Never over an existing file: the name was free a moment ago.
    if (MoveFileWithProgressW(recording.temporaryWave.c_str(), target.c_str(), StopMoveOnCancel, &recording,
                              MOVEFILE_COPY_ALLOWED))
        return Outcome::kRecorded;
    return recording.cancel ? Discard(recording) : Outcome::kFailed;
}

Outcome WaitForEncoder(const Recording& recording, HANDLE process, const std::wstring& target) {
    while (WaitForSingleObject(process, kEncoderPollMs) == WAIT_TIMEOUT) {
        if (!recording.cancel) continue;
        // The encoder of this recording ends with it, and its unfinished file goes.
        TerminateProcess(process, 1);
        WaitForSingleObject(process, kEncoderEndWaitMs);
        DeleteFileW(target.c_str());
        return Discard(recording);
    }
    DWORD exitCode = 1;
    if (GetExitCodeProcess(process, &exitCode) && exitCode == 0 && FileExists(target)) return Outcome::kRecorded;
    DeleteFileW(target.c_str());
    return Outcome::kFailed;
}

// The temporary WAV file stays: nothing rendered is lost if the encoder fails.
Outcome ConvertToMp3(Recording& recording, const std::wstring& name) {
    const std::wstring target = UniqueRecordingPath(recording.folder, name, L".mp3");
    if (target.empty()) return Outcome::kFailed;
    const std::wstring parameters = L"\"" + recording.temporaryWave + L"\" -b " +
                                    std::to_wstring(recording.bitRate) + L" \"" + target + L"\"";
    if (recording.cancel) return Discard(recording);
    // A cancel while the encoder starts ends it as soon as it runs.
    const HANDLE process = Outside().startHidden(recording.encoder, parameters);
    if (!process) return recording.cancel ? Discard(recording) : Outcome::kFailed;
    const Outcome outcome = WaitForEncoder(recording, process, target);
    CloseHandle(process);
    return outcome;
}

Outcome Record(Recording& recording) {
    const bool rendered = Outside().renderToWave(recording.text, recording.temporaryWave, recording.voice,
                                                 recording.parameters, recording.cancel);
    if (recording.cancel) return Discard(recording);
    if (!rendered) return Outcome::kFailed;
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring name = RecordingName(now);
    return recording.encoder.empty() ? MoveToFolder(recording, name) : ConvertToMp3(recording, name);
}

void RecordingWorker(std::shared_ptr<Recording> recording) {
    Outcome outcome = Outcome::kNoMemory;
    // The voice takes copies of the whole text (its spoken form, the XML
    // escaping), which may not fit.
    if (!RunWithinMemory([&] { outcome = Record(*recording); }) && recording->cancel) outcome = Discard(*recording);
    std::lock_guard<std::mutex> lock(recording->lock);
    recording->finished = true;
    recording->outcome = outcome;
    if (recording->dialog) PostMessageW(recording->dialog, kRecordingEndMessage, 0, 0);
}

// A cancel after the worker has finished has nothing left to stop.
bool RequestCancel(Recording& recording) {
    std::lock_guard<std::mutex> lock(recording.lock);
    if (recording.finished) return false;
    recording.cancel = true;
    return true;
}

void AskToStop(HWND dialog, Recording& recording) {
    if (recording.cancel) return;
    if (MessageBoxW(dialog, L"現在テキストデータの録音中です\nこのまま録音作業を停止してもよろしいですか？",
                    L"テキスト録音の中断確認", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // The dialog closes when the worker has cleaned up.
    if (RequestCancel(recording)) SetTimer(dialog, kCancelTimerId, kCancelWaitMs, nullptr);
}

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* recording = reinterpret_cast<Recording*>(lParam);
        std::lock_guard<std::mutex> lock(recording->lock);
        recording->dialog = dialog;
        // The worker may have ended before the dialog was made.
        if (recording->finished) PostMessageW(dialog, kRecordingEndMessage, 0, 0);
        return TRUE;
    }
    auto* recording = reinterpret_cast<Recording*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!recording) return FALSE;
    switch (message) {
    case kRecordingEndMessage:
        EndDialog(dialog, IDOK);
        return TRUE;
    case WM_TIMER:
        if (wParam == kCancelTimerId) EndDialog(dialog, IDCANCEL);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDCANCEL) break;
        AskToStop(dialog, *recording);
        return TRUE;
    case WM_DESTROY: {
        // Also when the main window goes first: the worker then stops.
        KillTimer(dialog, kCancelTimerId);
        RequestCancel(*recording);
        std::lock_guard<std::mutex> lock(recording->lock);
        recording->dialog = nullptr;
        return TRUE;
    }
    }
    return FALSE;
}

void Announce(const Recording& recording, Outcome outcome) {
    if (outcome == Outcome::kNoMemory) {
        SpeakNoMemory();
    } else if (outcome == Outcome::kFailed) {
        Speak(L"録音に失敗しました", kAfterDialogDelayMs);
    } else if (outcome == Outcome::kRecorded) {
        Speak(L"テキスト録音が終了しました", kAfterDialogDelayMs);
        if (CurrentSettings().openFolderAfterRecording == 1) Outside().shellOpen(recording.folder);
    }
}

void RecordText(HWND mainWindow, std::wstring text) {
    const std::wstring temporaryWave = DataFolder() + L"\\Orinda.wav";
    if (DataFolder().empty() || !FitsPathBuffer(temporaryWave)) {
        Speak(L"録音に失敗しました", kAfterDialogDelayMs);
        return;
    }
    auto recording = std::make_shared<Recording>();
    recording->text = std::move(text);
    recording->temporaryWave = temporaryWave;
    recording->voice = RecordingVoice();
    recording->parameters = RecordingVoiceParameters();
    recording->folder = CurrentSettings().recordingFolder;
    if (IsEncoderPresent()) recording->encoder = EncoderPath();
    recording->bitRate = RecordingBitRate();
    try {
        std::thread(RecordingWorker, recording).detach();
    } catch (const std::system_error&) {
        Speak(L"録音に失敗しました", kAfterDialogDelayMs);
        return;
    }
    const INT_PTR shown = DialogBoxParamW(GetModuleHandleW(nullptr), L"RecDialog", mainWindow, ProgressDialogProc,
                                          reinterpret_cast<LPARAM>(recording.get()));
    Outcome outcome = Outcome::kCancelled;
    {
        std::lock_guard<std::mutex> lock(recording->lock);
        if (recording->finished) outcome = recording->outcome;
    }
    // Without its dialog the recording cannot be followed or cancelled: stop it.
    if (shown == -1 && RequestCancel(*recording)) outcome = Outcome::kFailed;
    // The hidden encoder may have taken the foreground.
    if (!recording->encoder.empty()) SetForegroundWindow(mainWindow);
    Announce(*recording, outcome);
}

bool ConfirmStart(HWND mainWindow, const wchar_t* question) {
    return MessageBoxW(mainWindow, question, L"開始確認", MB_YESNO) == IDYES;
}

}  // namespace

void RecordWholeTextCommand(HWND mainWindow, LPARAM) {
    const Editor editor = CurrentEditor();
    if (editor.IsEmpty()) {
        Speak(L"テキストがありません", kAnswerDelayMs);
        return;
    }
    if (!ConfirmStart(mainWindow, L"テキスト全文を録音します\n録音を開始してよろしいですか？")) return;
    std::wstring text;
    if (!RunWithinMemory([&] { text = editor.Text(); })) {
        SpeakNoMemory();
        return;
    }
    RecordText(mainWindow, std::move(text));
}

void RecordSelectionCommand(HWND mainWindow, LPARAM) {
    const Editor editor = CurrentEditor();
    const Selection selection = editor.GetSelection();
    if (selection.IsEmpty()) {
        Speak(L"範囲選択中のテキストがありません", kAnswerDelayMs);
        return;
    }
    if (!ConfirmStart(mainWindow, L"選択中のテキストを録音します\n録音を開始してよろしいですか？")) return;
    // Taken here and not by the worker, which must never wait for this thread.
    std::wstring text;
    if (!RunWithinMemory([&] { text = editor.TextRange(selection.start, selection.end); })) {
        SpeakNoMemory();
        return;
    }
    if (text.empty()) {
        Speak(L"録音するテキストがありません", kAfterDialogDelayMs);
        return;
    }
    RecordText(mainWindow, std::move(text));
}

void OpenRecordingFolderCommand(HWND, LPARAM) {
    if (!Outside().shellOpen(CurrentSettings().recordingFolder))
        Speak(L"保存先フォルダを開けませんでした", kAnswerDelayMs);
}

std::wstring RecordingName(const SYSTEMTIME& time) {
    return std::to_wstring(time.wYear) + L"年" + std::to_wstring(time.wMonth) + L"月" + std::to_wstring(time.wDay) +
           L"日" + std::to_wstring(time.wHour) + L"時" + std::to_wstring(time.wMinute) + L"分" +
           std::to_wstring(time.wSecond) + L"秒";
}

std::wstring UniqueRecordingPath(const std::wstring& folder, const std::wstring& name, const std::wstring& extension) {
    for (int number = 1;; ++number) {
        const std::wstring suffix = number == 1 ? L"" : L" (" + std::to_wstring(number) + L")";
        const std::wstring path = folder + L"\\" + name + suffix + extension;
        if (!FitsPathBuffer(path)) return {};
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
    }
}
