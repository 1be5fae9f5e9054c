#include "speech/nvda_client.h"

#include <windows.h>

const wchar_t kNvdaLibraryName[] = L"nvdaControllerClient32.dll";

namespace {

using TextFunction = unsigned long(__stdcall*)(const wchar_t*);
using PlainFunction = unsigned long(__stdcall*)();

// Replaced only while no speech worker runs (start-up, tests).
struct NvdaFunctions {
    TextFunction speakText = nullptr;
    PlainFunction cancelSpeech = nullptr;
    PlainFunction isSpeaking = nullptr;
    TextFunction brailleMessage = nullptr;
} g_nvda;

constexpr unsigned kPollIntervalMs = 10;
constexpr unsigned long kSilent = 0;
constexpr unsigned long kSpeaking = 1;

template <typename Function>
Function Export(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

bool Adopt(HMODULE library) {
    if (!library) return false;
    g_nvda.speakText = Export<TextFunction>(library, "nvdaController_speakText");
    g_nvda.cancelSpeech = Export<PlainFunction>(library, "nvdaController_cancelSpeech");
    g_nvda.isSpeaking = Export<PlainFunction>(library, "nvdaController_isSpeaking");
    g_nvda.brailleMessage = Export<TextFunction>(library, "nvdaController_brailleMessage");
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
    // An unknown program folder must not turn into the drive's root.
    HMODULE library = nullptr;
    if (!programFolder.empty()) library = LoadLibraryW((programFolder + L"\\" + kNvdaLibraryName).c_str());
    if (!library) library = LoadLibraryW(kNvdaLibraryName);
    if (!Adopt(library)) {
        g_nvda = NvdaFunctions{};
        return false;
    }
    return true;
}

bool LoadNvdaClientFrom(const std::wstring& libraryPath) {
    if (!Adopt(LoadLibraryW(libraryPath.c_str()))) {
        g_nvda = NvdaFunctions{};
        return false;
    }
    return true;
}

void NvdaSpeak(const std::wstring& text) {
    if (g_nvda.speakText) g_nvda.speakText(text.c_str());
}

void NvdaCancel() {
    if (g_nvda.cancelSpeech) g_nvda.cancelSpeech();
}

void NvdaBraille(const std::wstring& text) {
    if (g_nvda.brailleMessage) g_nvda.brailleMessage(text.c_str());
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

bool WaitForNvdaSilence(const std::wstring& text, const std::function<bool()>& stopRequested) {
    if (!g_nvda.speakText) return !stopRequested();
    // Read once: the poll below must not see the entry point change under it.
    const PlainFunction isSpeaking = g_nvda.isSpeaking;
    if (!isSpeaking) return SleepUnlessStopped(EstimatedSpeakingMs(text), stopRequested);

    const ULONGLONG deadline = GetTickCount64() + SpeakingWaitLimitMs(text);
    while (GetTickCount64() < deadline) {
        if (stopRequested()) return false;
        if (isSpeaking() != kSpeaking) break;  // silent, or NVDA reports an error
        Sleep(kPollIntervalMs);
    }
    return !stopRequested();
}
