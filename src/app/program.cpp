#include "app/program.h"

#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "app/main_window.h"
#include "app/startup_steps.h"
#include "core/paths.h"
#include "core/system_library.h"
#include "document/recovery.h"
#include "speech/sapi_voice.h"
#include "speech/speech.h"

namespace {

constexpr ULONGLONG kLastAnswerWaitMs = 1000;

struct StartRequest {
    std::wstring file;
    std::wstring recoveryCopy;
};

// The file named on the command line, as a full path, made here because the
// window makes the data folder the current directory before it loads the
// file. Never cut: a path too long for the program is refused by the load.
// Empty when the name cannot be resolved, so that no file of the data
// folder is opened in its place. An instance started to bring back a
// recovery copy is given the copy instead.
StartRequest ReadCommandLine() {
    StartRequest request;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return request;
    if (count > 2 && std::wstring(arguments[1]) == kRecoverOption) request.recoveryCopy = arguments[2];
    else if (count > 1 && arguments[1][0] != L'\0') request.file = FullPathOf(arguments[1]);
    LocalFree(arguments);
    return request;
}

int RunMainWindow(HINSTANCE instance) {
    if (!RegisterMainWindowClass(instance)) return -1;
    MarkStartupStep("window class");
    const StartRequest request = ReadCommandLine();
    const HWND window = CreateMainWindow(instance, request.file);
    if (!window) return -1;
    if (!request.recoveryCopy.empty()) RecoverCopy(request.recoveryCopy);
    else OfferRecoveryCopy(window, !request.file.empty());
    const HACCEL accelerators = LoadAcceleratorsW(instance, L"ORA");
    MarkStartupStep("accelerators");

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (accelerators && TranslateAcceleratorW(window, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The last answer (such as "保存しました" after the save question) may
    // still be waiting out its delay: let it reach the screen reader before
    // the process ends.
    const ULONGLONG deadline = GetTickCount64() + kLastAnswerWaitMs;
    while (IsSpeechWaiting() && GetTickCount64() < deadline) Sleep(10);
    return static_cast<int>(message.wParam);
}

}  // namespace

int RunProgram(HINSTANCE instance) {
    RestrictLibrarySearch();
    // Some of the handlers the shell starts for a file or folder need COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    MarkStartupStep("COM");
    InstallSapiVoices();
    const int exitCode = RunMainWindow(instance);
    if (SUCCEEDED(com)) CoUninitialize();
    return exitCode;
}
