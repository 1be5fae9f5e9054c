#include "speech/pctalker_client.h"

#include <windows.h>

#include "core/system_library.h"
#include "speech/nvda_client.h"

namespace {

using StatusFunction = int (*)();
using ReadFunction = int(__cdecl*)(const wchar_t*, int, int, int);

HMODULE g_library = nullptr;
StatusFunction g_status = nullptr;
StatusFunction g_speakingStatus = nullptr;
ReadFunction g_read = nullptr;

constexpr unsigned kPollIntervalMs = 100;

template <typename Function>
Function Export(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(g_library, name)));
}

}  // namespace

bool LoadPcTalker(const std::wstring& programFolder) {
    if (g_library) return true;
    constexpr wchar_t kLibraryName[] = L"PCTKUSR.dll";
    g_library = LoadLibraryFrom(programFolder, kLibraryName);
    if (!g_library) g_library = LoadSystemLibrary(kLibraryName);
    if (!g_library) return false;
    g_status = Export<StatusFunction>("PCTKStatus");
    g_speakingStatus = Export<StatusFunction>("PCTKGetVStatus");
    g_read = Export<ReadFunction>("PCTKPReadExW");
    return true;
}

bool PcTalkerLoaded() {
    return g_library != nullptr;
}

void UnloadPcTalker() {
    if (g_library) FreeLibrary(g_library);
    g_library = nullptr;
    g_status = nullptr;
    g_speakingStatus = nullptr;
    g_read = nullptr;
}

bool PcTalkerRunning() {
    return g_status && g_status() != 0;
}

void PcTalkerSpeak(const std::wstring& text) {
    if (g_read) g_read(text.c_str(), 5, 1, 0);
}

bool WaitForPcTalkerSilence(const std::wstring& text, const std::function<bool()>& stopRequested) {
    const ULONGLONG deadline = GetTickCount64() + SpeakingWaitLimitMs(text);
    do {
        Sleep(kPollIntervalMs);
        if (stopRequested()) return false;
    } while (g_speakingStatus && g_speakingStatus() != 0 && GetTickCount64() < deadline);
    return true;
}
