#include "support/instance_process.h"

#include "core/window_text.h"
#include "support/test_support.h"

namespace testing_support {

namespace {

// A visible window of a process with this class and, unless null, title.
HWND FindWindowOfProcess(DWORD processId, const wchar_t* className, const wchar_t* title) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, className, title)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

}  // namespace

std::wstring Program() {
    return ExecutableFolder() + L"\\OrindaTestInstance.exe";
}

Instance Start(const std::wstring& program, const std::wstring& argument, const wchar_t* folder,
               const std::wstring& titleStart) {
    Instance instance;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!argument.empty()) commandLine += L" \"" + argument + L"\"";
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                        &instance.process))
        return instance;
    // Started once it waits for input in its message loop, with its window up.
    WaitForInputIdle(instance.process.hProcess, 20000);
    PumpUntil(
        [&] {
            instance.window = FindWindowOfProcess(instance.process.dwProcessId, L"Orinda", nullptr);
            return instance.window && WindowText(instance.window).rfind(titleStart, 0) == 0;
        },
        20000);
    return instance;
}

bool WaitForExit(const Instance& instance) {
    return PumpUntil([&] { return WaitForSingleObject(instance.process.hProcess, 0) == WAIT_OBJECT_0; }, 10000);
}

void Close(Instance& instance) {
    if (instance.window) PostMessageW(instance.window, WM_CLOSE, 0, 0);
    if (!WaitForExit(instance)) TerminateProcess(instance.process.hProcess, 1);
    CloseHandle(instance.process.hProcess);
    CloseHandle(instance.process.hThread);
}

HWND WaitForDialog(const Instance& instance, const wchar_t* title) {
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindWindowOfProcess(instance.process.dwProcessId, L"#32770", title)) != nullptr; },
              10000);
    return found;
}

bool HandledSoFar(const Instance& instance) {
    return SendMessageTimeoutW(instance.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr) != 0;
}

void TypeUnsavedText(const Instance& instance) {
    SendMessageTimeoutW(FindWindowExW(instance.window, nullptr, L"RICHEDIT50W", nullptr), WM_CHAR, L'x', 0,
                        SMTO_NORMAL, 20000, nullptr);
}

}  // namespace testing_support
