#include "speech/continuous_reading.h"

#include <atomic>
#include <memory>
#include <mutex>

#include "core/editor.h"
#include "speech/nvda_client.h"
#include "speech/pctalker_client.h"
#include "speech/speech.h"

namespace {

// Sent by the worker to a window of the UI thread, so that the check for a
// stop and the caret move happen together, never after StopReading.
constexpr UINT kMoveCaretMessage = WM_APP + 1;
constexpr UINT kFinishMessage = WM_APP + 2;

std::mutex g_lock;
// Each reading has its own number; a stop moves on to the next number, which
// tells the worker that it has been stopped.
std::atomic<unsigned> g_readingNumber{0};
std::atomic<bool> g_reading{false};
HWND g_stepWindow = nullptr;
HWND g_editor = nullptr;
HANDLE g_worker = nullptr;

struct ReadingJob {
    HWND editor;
    unsigned readingNumber;
    int engine;
};

bool IsCurrent(unsigned readingNumber) {
    return g_reading && g_readingNumber == readingNumber;
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
            Speak(L"終わり", kAnswerDelayMs);
            g_reading = false;
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

// Speak one line and wait until it has been spoken. Returns false when the
// reading was stopped meanwhile.
bool SpeakLine(const ReadingJob& job, const std::wstring& text) {
    const auto stopped = [&job] { return !IsCurrent(job.readingNumber); };
    {
        // Under the lock a stop cannot slip in between the check and the call.
        std::lock_guard<std::mutex> lock(g_lock);
        if (stopped()) return false;
        if (job.engine == kPcTalker) {
            if (PcTalkerRunning()) PcTalkerSpeak(text);
        } else {
            // Lines of two characters or fewer are passed over silently.
            if (text.size() <= 2) return true;
            NvdaSpeak(text);
        }
    }
    return job.engine == kPcTalker ? WaitForPcTalkerSilence(text, stopped) : WaitForNvdaSilence(text, stopped);
}

DWORD WINAPI ReadingWorker(void* parameter) {
    const std::unique_ptr<ReadingJob> job(static_cast<ReadingJob*>(parameter));
    const Editor editor(job->editor);
    long line = editor.LineFromPosition(editor.GetSelection().start);
    const long lineCount = editor.LineCount();
    while (line < lineCount) {
        // The caret's line is looked up afresh: the user may have moved it.
        const long caretLine = editor.LineFromPosition(editor.GetSelection().start);
        if (!SpeakLine(*job, editor.LineText(caretLine, kMaxReadLineUnits))) return 0;
        ++line;
        if (line < lineCount) SendMessageW(g_stepWindow, kMoveCaretMessage, job->readingNumber, line);
        if (!IsCurrent(job->readingNumber)) return 0;
    }
    SendMessageW(g_stepWindow, kFinishMessage, job->readingNumber, 0);
    return 0;
}

}  // namespace

bool IsReading() {
    return g_reading;
}

void StartContinuousReading(HWND editorControl) {
    const int engine = SpeechEngine();
    if (g_reading || (engine != kPcTalker && engine != kNvda) || !EnsureStepWindow()) return;

    auto job = std::make_unique<ReadingJob>();
    job->editor = editorControl;
    job->engine = engine;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        job->readingNumber = ++g_readingNumber;
        g_reading = true;
    }
    g_editor = editorControl;
    HANDLE worker = CreateThread(nullptr, 0, ReadingWorker, job.get(), 0, nullptr);
    if (!worker) {
        g_reading = false;
        return;
    }
    job.release();
    if (g_worker) CloseHandle(g_worker);
    g_worker = worker;
}

void StopReading() {
    {
        std::unique_lock<std::mutex> lock(g_lock, std::try_to_lock);
        while (!lock.owns_lock()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
            AnswerSentMessages();
            lock.try_lock();
        }
        if (!g_reading) return;
        ++g_readingNumber;
        g_reading = false;
    }
    const Editor editor(g_editor);
    const long line = editor.LineFromPosition(editor.GetSelection().start);
    editor.PlaceCaret(editor.LineStart(line > 0 ? line - 1 : 0));
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
