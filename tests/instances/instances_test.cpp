#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

using namespace testing_support;

namespace {

struct Instance {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (processId == search->processId && std::wstring(className) == L"Orinda" && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring Title(HWND window) {
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    return title;
}

// Start the program and wait until its window shows a title that begins
// with `titleStart`.
Instance Start(const std::wstring& program, const std::wstring& argument = L"", const wchar_t* folder = nullptr,
               const std::wstring& titleStart = L"無題") {
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
            WindowSearch search{instance.process.dwProcessId, nullptr};
            EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
            instance.window = search.found;
            return search.found && Title(search.found).rfind(titleStart, 0) == 0;
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

// A folder of this name in the temporary folder, made if needed.
std::wstring TemporaryFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring Program() {
    return ExecutableFolder() + L"\\OrindaTestInstance.exe";
}

TEST(Instances, UntitledNumbersFollowTheHighestShown) {
    Instance first = Start(Program());
    Instance second = Start(Program());
    ASSERT_TRUE(first.window && second.window);
    EXPECT_EQ(Title(first.window), L"無題1 - オリンダ");
    EXPECT_EQ(Title(second.window), L"無題2 - オリンダ");

    Close(first);
    EXPECT_FALSE(IsWindow(first.window));
    EXPECT_EQ(Title(second.window), L"無題2 - オリンダ");
    Instance third = Start(Program());
    ASSERT_TRUE(third.window);
    PumpMessages(1000);
    EXPECT_EQ(Title(third.window), L"無題3 - オリンダ");
    Close(second);
    Close(third);
}

TEST(Instances, TheCloseRequestReachesEveryInstance) {
    Instance first = Start(Program());
    Instance second = Start(Program());
    ASSERT_TRUE(first.window && second.window);
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"OrindaSleep"), 1, 0);
    EXPECT_TRUE(WaitForExit(first));
    EXPECT_TRUE(WaitForExit(second));
    Close(first);
    Close(second);
}

TEST(Instances, CtrlSevenIsAnsweredThroughNvda) {
    DeleteSettingsKey();
    WriteSettingNumber(L"Option16", 2);

    Instance instance = Start(Program());
    ASSERT_TRUE(instance.window);
    ClearSpeechLog();
    SetForegroundWindow(instance.window);
    ASSERT_TRUE(PumpUntil([&instance] { return GetForegroundWindow() == instance.window; }, 2000));
    PressKeys({VK_CONTROL, '7'});
    EXPECT_TRUE(WaitForSpeech(L"1行1文字", 3000));
    Close(instance);
    DeleteSettingsKey();
}

TEST(Instances, AFileNamedRelativeToTheCurrentFolderIsOpened) {
    const std::wstring folder = TemporaryFolder(L"orinda-relative");
    const std::wstring file = folder + L"\\note.txt";
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(handle, "text", 4, &written, nullptr);
    CloseHandle(handle);

    Instance instance = Start(Program(), L"note.txt", folder.c_str(), L"note.txt");
    ASSERT_NE(instance.window, nullptr);
    EXPECT_EQ(Title(instance.window), L"note.txt - オリンダ");
    Close(instance);
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(Instances, StartsWithoutAnySpeechLibrary) {
    const std::wstring folder = TemporaryFolder(L"orinda-without-speech");
    const std::wstring program = folder + L"\\OrindaTestInstance.exe";
    ASSERT_TRUE(CopyFileW(Program().c_str(), program.c_str(), FALSE));

    Instance instance = Start(program);
    ASSERT_NE(instance.window, nullptr);
    PostMessageW(instance.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForExit(instance));
    DWORD exitCode = 1;
    GetExitCodeProcess(instance.process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    Close(instance);
    DeleteFileW(program.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
