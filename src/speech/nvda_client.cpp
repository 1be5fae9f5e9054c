#include "speech/nvda_client.h"

#include <windows.h>

#include <atomic>

#include "core/system_library.h"

const wchar_t kNvdaLibraryName[] = L"nvdaControllerClient32.dll";
const wchar_t kNvdaLibraryNewName[] = L"nvdaControllerClient.dll";

namespace {

using TextFunction = unsigned long(__stdcall*)(const wchar_t*);
using PlainFunction = unsigned long(__stdcall*)();

// One set per loaded library, never changed or freed once published: a
// detached speech worker may still be calling through an older set.
struct NvdaFunctions {
    TextFunction speakText = nullptr;
    PlainFunction cancelSpeech = nullptr;
    PlainFunction isSpeaking = nullptr;
    TextFunction brailleMessage = nullptr;
    PlainFunction testIfRunning = nullptr;
};
const NvdaFunctions kNoNvda{};
std::atomic<const NvdaFunctions*> g_nvda{&kNoNvda};

constexpr unsigned kPollIntervalMs = 10;
constexpr unsigned long kSilent = 0;
constexpr unsigned long kSpeaking = 1;

template <typename Function>
Function Export(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The library stays loaded for the life of the process, as its entry points do.
bool Adopt(HMODULE library) {
    if (!library) {
        g_nvda = &kNoNvda;
        return false;
    }
    g_nvda = new NvdaFunctions{Export<TextFunction>(library, "nvdaController_speakText"),
                               Export<PlainFunction>(library, "nvdaController_cancelSpeech"),
                               Export<PlainFunction>(library, "nvdaController_isSpeaking"),
                               Export<TextFunction>(library, "nvdaController_brailleMessage"),
                               Export<PlainFunction>(library, "nvdaController_testIfRunning")};
    return true;
}

// Sleep in poll-sized slices so that a stop request is seen quickly; up to a
// deadline, so that late wake-ups on a busy machine do not add up.
bool SleepUnlessStopped(unsigned ms, const std::function<bool()>& stopRequested) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    while (GetTickCount64() < deadline) {
        if (stopRequested()) return false;
        Sleep(kPollIntervalMs);
    }
    return !stopRequested();
}

}  // namespace

bool LoadNvdaClient(const std::wstring& programFolder) {
    // By full path only: an unknown program folder must not turn into the
    // drive's root, nor a search of the path pick up a planted library.
    HMODULE library = LoadLibraryFrom(programFolder, kNvdaLibraryName);
    if (!library) library = LoadLibraryFrom(programFolder, kNvdaLibraryNewName);
    return Adopt(library);
}

bool LoadNvdaClientFrom(const std::wstring& libraryPath) {
    return Adopt(LoadLibraryW(libraryPath.c_str()));
}

bool NvdaClientLoaded() {
    return g_nvda.load() != &kNoNvda;
}

bool NvdaReportsRunning() {
    const NvdaFunctions& nvda = *g_nvda;
    return nvda.testIfRunning && nvda.testIfRunning() == 0;
}

bool NvdaAnswers() {
    const NvdaFunctions& nvda = *g_nvda;
    if (!nvda.speakText) return false;
    if (!nvda.isSpeaking) return true;
    const unsigned long state = nvda.isSpeaking();
    return state == kSilent || state == kSpeaking;
}

bool NvdaSpeak(const std::wstring& text) {
    const NvdaFunctions& nvda = *g_nvda;
    return nvda.speakText && nvda.speakText(text.c_str()) == 0;
}

void NvdaCancel() {
    const NvdaFunctions& nvda = *g_nvda;
    if (nvda.cancelSpeech) nvda.cancelSpeech();
}

void NvdaBraille(const std::wstring& text) {
    const NvdaFunctions& nvda = *g_nvda;
    if (nvda.brailleMessage) nvda.brailleMessage(text.c_str());
}

unsigned EstimatedSpeakingMs(const std::wstring& text) {
    // About 7 Japanese characters a second; Latin letters and digits go by
    // words and are quicker. A short pause closes every line.
    unsigned ms = 300;
    for (wchar_t unit : text) {
        if (IS_LOW_SURROGATE(unit)) continue;
        ms += unit < 0x80 ? 60 : 150;
    }
    return ms;
}

unsigned SpeakingWaitLimitMs(const std::wstring& text) {
    // Generous: a slow voice may take four times the estimate; past that
    // NVDA is taken to be stuck.
    return 10000 + 4 * EstimatedSpeakingMs(text);
}

SpeechWait WaitForNvdaSilence(const std::wstring& text, const std::function<bool()>& stopRequested) {
    const NvdaFunctions& nvda = *g_nvda;
    if (!nvda.speakText) return SpeechWait::kNoAnswer;
    if (!nvda.isSpeaking) {
        return SleepUnlessStopped(EstimatedSpeakingMs(text), stopRequested) ? SpeechWait::kSpoken
                                                                            : SpeechWait::kStopped;
    }
    const ULONGLONG deadline = GetTickCount64() + SpeakingWaitLimitMs(text);
    while (GetTickCount64() < deadline) {
        if (stopRequested()) return SpeechWait::kStopped;
        const unsigned long state = nvda.isSpeaking();
        if (state == kSilent) break;
        if (state != kSpeaking) return SpeechWait::kNoAnswer;
        Sleep(kPollIntervalMs);
    }
    return stopRequested() ? SpeechWait::kStopped : SpeechWait::kSpoken;
}
