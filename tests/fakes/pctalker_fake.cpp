// Stand-in for PC-Talker's user library. It runs unless
// ORINDA_FAKE_PCTALKER_RUNNING=0, and speaks for 20 ms a unit;
// ORINDA_FAKE_PCTALKER_BROKEN=1 makes it refuse to load, as a broken or
// foreign library would.
#include <windows.h>

#include <atomic>
#include <cwchar>
#include <string>

#include "fake_log.h"

namespace {
std::atomic<double> g_speakingUntil{0};
}

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    return reason != DLL_PROCESS_ATTACH || fake::EnvironmentNumber(L"ORINDA_FAKE_PCTALKER_BROKEN", 0) == 0;
}

__declspec(dllexport) int PCTKStatus() {
    return fake::EnvironmentNumber(L"ORINDA_FAKE_PCTALKER_RUNNING", 1) != 0 ? 1 : 0;
}

__declspec(dllexport) int PCTKGetVStatus() {
    return fake::NowMs() < g_speakingUntil ? 1 : 0;
}

__declspec(dllexport) int __cdecl PCTKPReadExW(const wchar_t* text, int a, int b, int c) {
    const std::wstring arguments =
        std::wstring(text) + L" [" + std::to_wstring(a) + L"," + std::to_wstring(b) + L"," + std::to_wstring(c) + L"]";
    fake::Log("PCTKPReadExW", arguments.c_str());
    g_speakingUntil = fake::NowMs() + 20.0 * static_cast<double>(wcslen(text));
    return 0;
}

}  // extern "C"
