#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

using namespace testing_support;

namespace {

struct Instance {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

std::wstring Title(HWND window) {
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    return title;
}

// A visible window of a process with this class and, unless null, title.
struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (processId == search->processId && std::wstring(className) == search->className && IsWindowVisible(window) &&
        (!search->title || Title(window) == search->title)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
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
            WindowSearch search{instance.process.dwProcessId, L"Orinda", nullptr, nullptr};
            EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
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

// The dialog or message box with this title that the instance shows.
HWND WaitForDialog(const Instance& instance, const wchar_t* title) {
    WindowSearch search{instance.process.dwProcessId, L"#32770", title, nullptr};
    PumpUntil([&search] { return !EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search)); }, 10000);
    return search.found;
}

// An instance that another one started, found by its title.
Instance Adopt(const wchar_t* title) {
    Instance instance;
    PumpUntil([&] { return (instance.window = FindWindowW(L"Orinda", title)) != nullptr; }, 20000);
    if (!instance.window) return instance;
    GetWindowThreadProcessId(instance.window, &instance.process.dwProcessId);
    instance.process.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE,
                                            instance.process.dwProcessId);
    return instance;
}

void BringToFront(const Instance& instance) {
    SetForegroundWindow(instance.window);
    PumpUntil([&instance] { return GetForegroundWindow() == instance.window; }, 2000);
}

void TypeUnsavedText(const Instance& instance) {
    PostMessageW(FindWindowExW(instance.window, nullptr, L"RICHEDIT50W", nullptr), WM_CHAR, L'x', 0);
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

TEST(Instances, TheSwitchListsTheOthersFrontMostFirstAndRestoresTheChosenOne) {
    Instance first = Start(Program());
    Instance second = Start(Program());
    Instance third = Start(Program());
    ASSERT_TRUE(first.window && second.window && third.window);
    for (const Instance* instance : {&first, &second, &third}) BringToFront(*instance);
    ShowWindow(second.window, SW_MINIMIZE);
    PostMessageW(first.window, WM_COMMAND, 544, 0);
    const HWND dialog = WaitForDialog(first, L"オリンダのウィンドウ切り替え");
    ASSERT_NE(dialog, nullptr);
    const HWND list = GetDlgItem(dialog, 101);
    EXPECT_EQ(ListBoxItems(list), (std::vector<std::wstring>{L"無題3 - オリンダ", L"無題2 - オリンダ"}));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&second] { return !IsIconic(second.window); }, 5000));
    Close(first);
    Close(second);
    Close(third);
}

TEST(Instances, OneMoreStartsUntitledAndCloseAllAsksEachWhereOneMayStay) {
    Instance first = Start(Program());
    ASSERT_TRUE(first.window);
    PostMessageW(first.window, WM_COMMAND, 573, 0);
    Instance second = Adopt(L"無題2 - オリンダ");
    ASSERT_TRUE(second.window && second.process.hProcess);
    Instance third = Start(Program());
    ASSERT_TRUE(third.window);
    TypeUnsavedText(first);
    TypeUnsavedText(second);
    PumpMessages(200);

    PostMessageW(first.window, WM_COMMAND, 574, 0);
    const HWND firstQuestion = WaitForDialog(first, L"保存確認");
    const HWND secondQuestion = WaitForDialog(second, L"保存確認");
    ASSERT_TRUE(firstQuestion && secondQuestion);
    PostMessageW(firstQuestion, WM_COMMAND, IDNO, 0);
    PostMessageW(secondQuestion, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitForExit(first));
    EXPECT_TRUE(WaitForExit(third));
    PumpMessages(500);
    EXPECT_TRUE(IsWindow(second.window));

    PostMessageW(second.window, WM_CLOSE, 0, 0);
    if (const HWND question = WaitForDialog(second, L"保存確認")) PostMessageW(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(WaitForExit(second));
    Close(first);
    Close(second);
    Close(third);
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
