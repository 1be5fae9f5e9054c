#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "core/profile.h"
#include "speech/sapi_voice.h"
#include "support/test_support.h"

// Tests keep settings and lists of their own. The stand-in speech libraries log into a file of this run; NVDA "speaks"
// quickly so that reading tests stay short.
int main(int argc, char** argv) {
    UseTestProfile();
    testing_support::InstallOutsideStandIns();
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring log = std::wstring(temp) + L"orinda-speech-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    SetEnvironmentVariableW(L"ORINDA_FAKE_SPEECH_LOG", log.c_str());
    testing_support::ResetFakeSpeech();
    SetDllDirectoryW(L"");
    RegisterMainWindowClass(GetModuleHandleW(nullptr));
    InstallSapiVoices();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
