#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <string>

#include "core/data_folder.h"
#include "support/instance_process.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

int CopiesLeft() {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((DataFolder() + L"\\Recovery\\*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do ++count;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

HWND EditorOf(const Instance& instance) {
    return FindWindowExW(instance.window, nullptr, L"RICHEDIT50W", nullptr);
}

// Another process's control answers only WM_GETTEXT itself.
std::wstring EditorText(const Instance& instance) {
    wchar_t text[16] = {};
    SendMessageW(EditorOf(instance), WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text));
    return text;
}

// Start returns once the instance waits for input: by then a question at
// start would be showing.
bool AskedAtStart() {
    return FindWindowW(L"#32770", L"復元確認") != nullptr;
}

TEST(RecoveryInstances, AKilledInstancesTextComesBackAndNothingIsOfferedForARunningOrClosedOne) {
    ClearDataFolder();
    Instance killed = Start(Program());
    ASSERT_TRUE(killed.window);
    TypeUnsavedText(killed);
    ASSERT_TRUE(PumpUntil([] { return CopiesLeft() == 1; }, 20000));
    Instance beside = Start(Program());
    ASSERT_TRUE(beside.window);
    EXPECT_FALSE(AskedAtStart());
    Close(beside);

    TerminateProcess(killed.process.hProcess, 1);
    ASSERT_TRUE(WaitForExit(killed));
    Close(killed);
    Instance restarted = Start(Program());
    ASSERT_TRUE(restarted.window);
    const HWND question = WaitForDialog(restarted, L"復元確認");
    ASSERT_TRUE(question);
    EXPECT_EQ(DialogItemText(question, 0xFFFF), L"保存されずに終了したテキストがあります。\n復元しますか？");
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    // The text arrives in a fresh editor control.
    EXPECT_TRUE(PumpUntil([&restarted] { return EditorText(restarted) == L"x"; }, 10000));
    EXPECT_NE(SendMessageW(EditorOf(restarted), EM_GETMODIFY, 0, 0), 0);

    PostMessageW(restarted.window, WM_CLOSE, 0, 0);
    if (const HWND saveQuestion = WaitForDialog(restarted, L"保存確認"))
        PostMessageW(saveQuestion, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(WaitForExit(restarted));
    Close(restarted);
    EXPECT_EQ(CopiesLeft(), 0);
    Instance again = Start(Program());
    ASSERT_TRUE(again.window);
    EXPECT_FALSE(AskedAtStart());
    Close(again);
}

}  // namespace
