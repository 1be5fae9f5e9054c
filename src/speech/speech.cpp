#include "speech/speech.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>

#include "core/caret_position.h"
#include "core/settings.h"
#include "core/text_units.h"
#include "speech/nvda_client.h"
#include "speech/pctalker_client.h"
#include "speech/screen_readers.h"

namespace {

std::mutex g_messageLock;
std::wstring g_currentMessage;
// Counts messages so that a worker whose message has been replaced leaves
// the speaking to the newer worker instead of saying the same text twice.
std::atomic<unsigned> g_messageNumber{0};
std::atomic<bool> g_braille{false};
// The number of the message a worker last took to hand to NVDA.
std::atomic<unsigned> g_takenMessage{0};
// How long a progress cue may hold its caller for the worker to take it.
constexpr DWORD kCueHandOverMs = 100;
// Workers that have neither handed their message to NVDA nor been replaced.
std::atomic<int> g_waitingWorkers{0};

void NvdaSpeechWorker(unsigned delayMs, unsigned messageNumber) {
    Sleep(delayMs);
    const auto superseded = [messageNumber] { return g_messageNumber.load() != messageNumber; };
    std::wstring text;
    {
        // The text is taken with its number, so that it is always this worker's own.
        std::lock_guard<std::mutex> lock(g_messageLock);
        if (superseded()) {
            --g_waitingWorkers;
            return;
        }
        text = g_currentMessage;
        g_takenMessage = messageNumber;
    }
    NvdaCancel();
    NvdaSpeak(text);
    --g_waitingWorkers;
    WaitForNvdaSilence(text, superseded);
}

void SpeakWithNvda(const std::wstring& text, unsigned delayMs) {
    unsigned messageNumber;
    {
        std::lock_guard<std::mutex> lock(g_messageLock);
        g_currentMessage = LimitMessage(text);
        messageNumber = ++g_messageNumber;
    }
    if (g_braille) NvdaBraille(text);
    ++g_waitingWorkers;
    try {
        std::thread(NvdaSpeechWorker, delayMs, messageNumber).detach();
    } catch (const std::system_error&) {
        // No thread could be had (out of resources): this message goes unspoken
        // rather than taking the program down.
        --g_waitingWorkers;
    }
}

void SpeakWithPcTalker(const std::wstring& text, unsigned delayMs) {
    if (!PcTalkerRunning()) return;
    PcTalkerSpeak(text);
    Sleep(delayMs);
}

}  // namespace

std::wstring LimitMessage(const std::wstring& text) {
    return std::wstring(CutToUnits(text, kMaxMessageUnits));
}

int SpeechEngine() {
    return CurrentSettings().speechEngine;
}

void SetSpeechEngine(int engine) {
    CurrentSettings().speechEngine = engine;
    // The start loads PC-Talker's library only when it is the engine.
    if (engine == kPcTalker) LoadPcTalker(SpeechLibraryFolder());
}

void Speak(const std::wstring& text, unsigned delayMs) {
    switch (SpeechEngine()) {
    case kPcTalker: SpeakWithPcTalker(text, delayMs); break;
    case kNvda: SpeakWithNvda(text, delayMs); break;
    default: break;
    }
}

bool IsBrailleOn() {
    return g_braille;
}

void ToggleBraille() {
    if (g_braille) {
        g_braille = false;
        Speak(L"点字表示オフ", kAnswerDelayMs);
        // The display still learns that braille has been turned off.
        if (SpeechEngine() == kNvda) NvdaBraille(L"点字表示オフ");
    } else {
        g_braille = true;
        Speak(L"点字表示オン", kAnswerDelayMs);
    }
}

void SpeakProgressCue(const wchar_t* cue) {
    // Queued here with no delay: NVDA's worker thread speaks it while this
    // thread is busy with the work. A cue the worker has not taken yet would
    // be replaced by the answer at the work's end and never heard, so the
    // caller waits for the hand-over, briefly.
    Speak(cue, kAtOnce);
    if (SpeechEngine() != kNvda) return;
    const unsigned number = g_messageNumber;
    const DWORD start = GetTickCount();
    while (g_takenMessage != number && GetTickCount() - start < kCueHandOverMs) Sleep(1);
}

bool IsSpeechWaiting() {
    return g_waitingWorkers > 0;
}

void SpeakCaretPosition(const Editor& editor) {
    Speak(FormatCaretPosition(editor), kAnswerDelayMs);
}
