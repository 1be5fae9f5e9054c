// Stand-in for NVDA's controller client library. NVDA "speaks" a text for a
// time that grows with its length (ORINDA_FAKE_NVDA_MS_PER_UNIT, default 80 ms
// a unit); ORINDA_FAKE_NVDA_NOT_RUNNING=1 makes every call fail as the real
// library does when NVDA is not running (nvdaController_testIfRunning says
// so too); ORINDA_FAKE_NVDA_BLOCK_MS makes speakText return only after that
// long, as a hung NVDA would; ORINDA_FAKE_NVDA_SPEAK_SENDS="<window> <command>"
// makes speakText send that window the command first, as a user's key
// arriving meanwhile would.
#include <windows.h>

#include <atomic>
#include <cwchar>

#include "fake_log.h"

namespace {

constexpr unsigned long kNotRunning = 1717;  // RPC_S_UNKNOWN_IF
std::atomic<double> g_speakingUntil{0};

bool NotRunning() {
    return fake::EnvironmentNumber(L"ORINDA_FAKE_NVDA_NOT_RUNNING", 0) != 0;
}

void SendTheCommandAsked() {
    wchar_t value[64] = {};
    if (!GetEnvironmentVariableW(L"ORINDA_FAKE_NVDA_SPEAK_SENDS", value, 64)) return;
    wchar_t* rest = nullptr;
    const auto window = reinterpret_cast<HWND>(static_cast<INT_PTR>(wcstoll(value, &rest, 10)));
    SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(wcstol(rest, nullptr, 10)), 0);
}

}  // namespace

extern "C" {

__declspec(dllexport) unsigned long __stdcall nvdaController_speakText(const wchar_t* text) {
    fake::Log("speakText", text);
    SendTheCommandAsked();
    Sleep(static_cast<DWORD>(fake::EnvironmentNumber(L"ORINDA_FAKE_NVDA_BLOCK_MS", 0)));
    if (NotRunning()) return kNotRunning;
    const double perUnit = fake::EnvironmentNumber(L"ORINDA_FAKE_NVDA_MS_PER_UNIT", 80);
    g_speakingUntil = fake::NowMs() + perUnit * static_cast<double>(wcslen(text));
    return 0;
}

__declspec(dllexport) unsigned long __stdcall nvdaController_cancelSpeech() {
    fake::Log("cancelSpeech", L"");
    if (NotRunning()) return kNotRunning;
    g_speakingUntil = 0;
    return 0;
}

__declspec(dllexport) unsigned long __stdcall nvdaController_brailleMessage(const wchar_t* text) {
    fake::Log("brailleMessage", text);
    return NotRunning() ? kNotRunning : 0;
}

__declspec(dllexport) unsigned long __stdcall nvdaController_testIfRunning() {
    return NotRunning() ? kNotRunning : 0;
}

#ifndef FAKE_WITHOUT_IS_SPEAKING
__declspec(dllexport) unsigned long __stdcall nvdaController_isSpeaking() {
    if (NotRunning()) return kNotRunning;
    return fake::NowMs() < g_speakingUntil ? 1 : 0;
}
#endif

}  // extern "C"
