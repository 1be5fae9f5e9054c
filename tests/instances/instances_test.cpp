#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/instance_process.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

// A folder of this name in the temporary folder, made if needed.
std::wstring TemporaryFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
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
