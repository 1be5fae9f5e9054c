#include "speech/continuous_reading.h"

#include <atomic>
#include <memory>
#include <utility>

#include "core/editor.h"
#include "speech/nvda_client.h"
#include "speech/pctalker_client.h"
#include "speech/speech.h"

namespace {

// Sent by the worker to a window of the UI thread, so that the check for a
// stop and the caret move happen together, never after StopReading.
constexpr UINT kMoveCaretMessage = WM_APP + 1;
// Its LPARAM says how the reading ended.
constexpr UINT kFinishMessage = WM_APP + 2;
constexpr LPARAM kReadToTheEnd = 0;
constexpr LPARAM kNvdaDidNotAnswer = 1;

// A new reading waits this long for a stopped worker to leave; a worker that
// does not (stuck inside a screen reader) keeps the new reading from starting.
constexpr unsigned kPreviousWorkerWaitMs = 500;

// Each reading has its own number; a stop moves on to the next number, which
// tells the worker that it has been stopped.
std::atomic<unsigned> g_readingNumber{0};
std::atomic<bool> g_reading{false};
HWND g_stepWindow = nullptr;
HWND g_editor = nullptr;
HANDLE g_worker = nullptr;
void (*g_whenReadingEnds)() = nullptr;

struct ReadingJob {
    HWND editor;
    unsigned readingNumber;
    int engine;
};

bool IsCurrent(unsigned readingNumber) {
    return g_reading && g_readingNumber == readingNumber;
}

void EndReading() {
    g_reading = false;
    if (const auto action = std::exchange(g_whenReadingEnds, nullptr)) action();
}

LRESULT CALLBACK StepWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMoveCaretMessage) {
        if (IsCurrent(static_cast<unsigned>(wParam))) {
            const Editor editor(g_editor);
            editor.PlaceCaret(editor.LineStart(static_cast<long>(lParam)));
        }
        return 0;
    }
    if (message == kFinishMessage) {
        if (IsCurrent(static_cast<unsigned>(wParam))) {
            // Without NVDA nothing would be heard: the caret stays on the line it could not read.
            if (lParam == kReadToTheEnd) Speak(L"終わり", kAnswerDelayMs);
            EndReading();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// While the UI thread waits for the worker it still answers messages sent to
// it: the worker may be inside a screen reader's call, and the screen reader
// may be waiting for one of this thread's windows to answer.
void AnswerSentMessages() {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

bool EnsureStepWindow() {
    if (g_stepWindow) return true;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = StepWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"OrindaReadingSteps";
    if (!RegisterClassW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    g_stepWindow = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   windowClass.hInstance, nullptr);
    return g_stepWindow != nullptr;
}

// Speak one line and wait until it has been spoken. No lock is held across
// the screen reader's calls: a screen reader that blocks must not block the
// UI thread's stop with it.
SpeechWait SpeakLine(const ReadingJob& job, const std::wstring& text) {
    const auto stopped = [&job] { return !IsCurrent(job.readingNumber); };
    if (stopped()) return SpeechWait::kStopped;
    if (job.engine == kPcTalker) {
        if (PcTalkerRunning()) PcTalkerSpeak(text);
        return WaitForPcTalkerSilence(text, stopped) ? SpeechWait::kSpoken : SpeechWait::kStopped;
    }
    // Lines of two characters or fewer are passed over silently.
    if (text.size() <= 2) return SpeechWait::kSpoken;
    if (!NvdaSpeak(text)) return SpeechWait::kNoAnswer;
    // A stop that came while NVDA was taking the line: the line is not heard.
    if (stopped()) {
        NvdaCancel();
        return SpeechWait::kStopped;
    }
    return WaitForNvdaSilence(text, stopped);
}

DWORD WINAPI ReadingWorker(void* parameter) {
    const std::unique_ptr<ReadingJob> job(static_cast<ReadingJob*>(parameter));
    const auto finish = [&job](LPARAM how) {
        SendMessageW(g_stepWindow, kFinishMessage, job->readingNumber, how);
        return 0;
    };
    // NVDA not running would let the reading race through every line unheard.
    if (job->engine == kNvda && !NvdaAnswers()) return finish(kNvdaDidNotAnswer);
    const Editor editor(job->editor);
    long line = editor.LineFromPosition(editor.GetSelection().start);
    const long lineCount = editor.LineCount();
    while (line < lineCount) {
        // The caret's line is looked up afresh: the user may have moved it.
        const long caretLine = editor.LineFromPosition(editor.GetSelection().start);
        const SpeechWait spoken = SpeakLine(*job, editor.LineText(caretLine, kMaxReadLineUnits));
        if (spoken == SpeechWait::kStopped) return 0;
        if (spoken == SpeechWait::kNoAnswer) return finish(kNvdaDidNotAnswer);
        ++line;
        if (line < lineCount) SendMessageW(g_stepWindow, kMoveCaretMessage, job->readingNumber, line);
        if (!IsCurrent(job->readingNumber)) return 0;
    }
    return finish(kReadToTheEnd);
}

}  // namespace

bool IsReading() {
    return g_reading;
}

void StartContinuousReading(HWND editorControl) {
    const int engine = SpeechEngine();
    if (g_reading || (engine != kPcTalker && engine != kNvda) || !EnsureStepWindow()) return;
    // One worker at a time, so that every worker is joined before the
    // speech libraries can go.
    if (!WaitForReadingWorker(kPreviousWorkerWaitMs)) return;

    auto job = std::make_unique<ReadingJob>();
    job->editor = editorControl;
    job->engine = engine;
    job->readingNumber = ++g_readingNumber;
    g_reading = true;
    g_editor = editorControl;
    g_worker = CreateThread(nullptr, 0, ReadingWorker, job.get(), 0, nullptr);
    if (!g_worker) {
        g_reading = false;
        return;
    }
    job.release();
}

void StopReading() {
    if (!g_reading) return;
    ++g_readingNumber;
    g_reading = false;
    const Editor editor(g_editor);
    const long line = editor.LineFromPosition(editor.GetSelection().start);
    editor.PlaceCaret(editor.LineStart(line > 0 ? line - 1 : 0));
    EndReading();
}

void RunWhenReadingEnds(void (*action)()) {
    g_whenReadingEnds = action;
}

bool WaitForReadingWorker(unsigned timeoutMs) {
    if (!g_worker) return true;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        const DWORD result = MsgWaitForMultipleObjects(1, &g_worker, FALSE, static_cast<DWORD>(deadline - now),
                                                       QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0) break;
        if (result != WAIT_OBJECT_0 + 1) return false;
        AnswerSentMessages();
    }
    CloseHandle(g_worker);
    g_worker = nullptr;
    return true;
}
